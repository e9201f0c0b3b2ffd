// The line-fill parameters dialog ("线填充参数"): the angle of the fill lines
// in degrees and their spacing in the work unit. The caller sets the
// members, runs DoModal and reads them back after OK. OK refuses an angle
// that is no number between -360 and 360 and a spacing below one page
// unit (text that is no length among them) with a message, the focus on
// the field, the dialog staying open. The angle shown is taken back
// unchanged even when it lies beyond a turn.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

class CLineFillParamDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 219;
    static constexpr double kMaxAngle = 360.0;
    // "请输入一个大于0的数!": a spacing of no length.
    static constexpr int kMessageSpacing = 36079;
    // "角度必须在-360到360之间!": an angle out of range or no number.
    static constexpr int kMessageAngle = 36142;

    explicit CLineFillParamDlg(QWidget* parent = nullptr);
    ~CLineFillParamDlg() override;

    // Fills the fields from the members, then runs the dialog modally.
    int DoModal();
    // The fields from the members (what DoModal does first).
    void InitDialog();

    double m_dAngle = 0.0;
    // Page units.
    int m_nSpacing = 0;
    int m_nUnitsPerMM = 100;

    QLineEdit* AngleEdit() const { return m_angle; }
    QLineEdit* SpacingEdit() const { return m_spacing; }
    QLabel* UnitLabel() const { return m_unit; }

    // The angle as the dialog shows it: the shortest text that reads back
    // as the same number.
    static QString AngleText(double angle);

public Q_SLOTS:
    void accept() override;

private:
    void Refuse(QLineEdit* edit, int messageId);

    QLineEdit* m_angle = nullptr;
    QLineEdit* m_spacing = nullptr;
    QLabel* m_unit = nullptr;
    QString m_shownAngle;
};
