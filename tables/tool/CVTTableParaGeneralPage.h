// "表格" (dialog 106), the first page of the table property sheet: the
// widths of the table's border (outer) lines and of its inner lines, in
// the work unit, and the line colour. Leaving the page, or OK, checks the
// widths: each must read as a length, the border may be 0, the inner
// lines must be wider than 0.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <QWidget>

class CTableColorCombo;
class QLabel;
class QLineEdit;

class CVTTableParaGeneralPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int IDD = 106;
    static constexpr int IDC_BORDER_WIDTH = 1089;
    static constexpr int IDC_INNER_WIDTH = 1090;
    static constexpr int IDC_BORDER_UNIT = 1091;
    static constexpr int IDC_INNER_UNIT = 1092;
    static constexpr int IDC_LINE_COLOR = 1097;
    static constexpr int IDS_BORDER_NEGATIVE = 36059;
    static constexpr int IDS_INNER_NOT_POSITIVE = 36060;

    explicit CVTTableParaGeneralPage(QWidget* parent = nullptr);

    // The values shown; a width the user leaves alone reads back exactly
    // as it was set, however coarsely the precision shows it.
    void SetBorderWidth(int width);
    void SetInnerWidth(int width);
    void SetLineColor(COLORREF colour);
    int GetBorderWidth() const;
    int GetInnerWidth() const;
    COLORREF GetLineColor() const;

    // The kill-active check: empty when the page may be left, else the
    // message and the field it is about.
    QString Check(QLineEdit*& field) const;

    QLineEdit* BorderEdit() const { return m_border; }
    QLineEdit* InnerEdit() const { return m_inner; }
    CTableColorCombo* ColorCombo() const { return m_colour; }

private:
    int Read(const QLineEdit* edit, const QString& shown, int value) const;

    QLineEdit* m_border = nullptr;
    QLineEdit* m_inner = nullptr;
    CTableColorCombo* m_colour = nullptr;
    QString m_borderShown;
    QString m_innerShown;
    int m_borderWidth = 0;
    int m_innerWidth = 0;
};
