// The point-position prompt: for a point captured on a curve, the user
// types where on the curve it goes, as a length from the reference end (in
// the work unit) or as a ratio of the curve's whole length; a check box
// measures from the other end instead. Each change moves the tool's point
// there (through the tool's mouse move), so the capture follows the typed
// value; OK takes the point. The calculator button works on the edit box
// that has the focus.
#pragma once

#include "ui/CCaptionCalcDlg.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CVectorTool;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class CPointOnCurveDlg : public CCaptionCalcDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 136;

    // `outline` is the curve's computed outline, `length` the length from
    // the reference end at `referenceEnd` to the captured point.
    CPointOnCurveDlg(CVectorTool& tool, const CPointList& outline, int length,
                     const CPoint& referenceEnd, QWidget* parent = nullptr);
    ~CPointOnCurveDlg() override;

    // Runs the prompt modally; TRUE when the user accepted. The tool
    // table gives it to the views as their tools' point-position prompt.
    static BOOL Run(CVectorTool& tool, const CPointList& outline, int length,
                    const CPoint& referenceEnd);

    // The length from the reference end (page units) and the ratio.
    int GetLength() const { return m_length; }
    double GetRatio() const;
    // The point at the current length along the curve.
    CPoint GetPoint() const;

    QLineEdit* LengthEdit() const { return m_lengthEdit; }
    QLineEdit* RatioEdit() const { return m_ratioEdit; }
    QRadioButton* RatioButton() const { return m_ratioButton; }
    QRadioButton* LengthButton() const { return m_lengthButton; }
    QCheckBox* OtherEndBox() const { return m_otherEnd; }

public Q_SLOTS:
    void accept() override;

protected:
    // The edit of the mode takes the focus with its whole text selected.
    void OnInitDialog() override;

private:
    void OnLengthEdited();
    void OnRatioEdited();
    void OnModeChanged();
    // Enables the edit of the chosen mode and remembers the mode.
    void ApplyMode();
    void FocusModeEdit();
    void OnOtherEndToggled(bool checked);
    void ShowValues();
    void MoveToolPoint();

    CVectorTool& m_tool;
    CPointList m_outline;
    double m_total = 0.0;
    int m_length = 0;
    // Whether the reference end is the outline's first point.
    bool m_fromFirst = true;
    int m_bRatioMode = 0;
    bool m_updating = false;

    QRadioButton* m_lengthButton = nullptr;
    QRadioButton* m_ratioButton = nullptr;
    QLineEdit* m_lengthEdit = nullptr;
    QLineEdit* m_ratioEdit = nullptr;
    QLabel* m_unit = nullptr;
    QCheckBox* m_otherEnd = nullptr;
};
