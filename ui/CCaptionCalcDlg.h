// The base of the tools' numeric prompts. Each prompt carries a "计算器"
// button beside its edit field (the window manager owns the title bar, so
// the button cannot sit there) and the calculator command (ID_CALCULATOR)
// with the shortcut F9; both open the calculator on the number in the edit
// box that has the focus and write its result back into that box as if it
// had been typed, so the prompt's preview follows. With the focus on
// anything but an edit box they do nothing.
//
// The base also reads typed lengths for its prompts: a text that is no
// length in the work unit, a length beyond the largest a drawing holds, or
// one below what the field allows is refused with a message, the focus and
// the whole text on the field, and the dialog stays open.
#pragma once

#include "platform/Types.h"

#include <QDialog>

class QAction;
class QLineEdit;
class QPushButton;

class CCaptionCalcDlg : public QDialog {
    Q_OBJECT
public:
    // Every prompt opens beside this screen point, the gap away from it and
    // inside the bounds (screen coordinates).
    static constexpr CPoint kAnchor{400, 400};
    static constexpr CRect kAnchorBounds{0, 0, 800, 600};
    static constexpr int kAnchorGap = 10;

    CCaptionCalcDlg(int templateId, QWidget* parent = nullptr);
    ~CCaptionCalcDlg() override;

    int GetTemplateId() const { return m_nTemplateId; }
    // Runs the prompt modally: QDialog::Accepted or Rejected.
    int DoModal() { return exec(); }

    // The calculator on the focused edit box (see above).
    void RunCalculator();
    // The number last carried to or from the calculator (page units).
    int GetLastValue() const { return m_nLastValue; }

    QPushButton* CalculatorButton() const { return m_calcButton; }
    QAction* CalculatorAction() const { return m_calcAction; }
    int UnitsPerMM() const { return m_nUnitsPerMM; }

    // What a length field accepts.
    enum class LengthRule {
        Positive,  // greater than 0
        Signed,    // any sign, 0 included
    };
    // The length of the field's text in the work unit, or false when it is
    // refused; with `tell` the refusal is shown (message, focus, selection).
    bool ReadLengthField(QLineEdit* field, LengthRule rule, int& value, bool tell);

protected:
    void SetUnitsPerMM(int upm) { m_nUnitsPerMM = upm > 0 ? upm : 100; }
    // The calculator button, the first time a prompt shows: the prompt
    // lays out its own fields and places the button beside them.
    virtual void OnInitDialog() {}
    void showEvent(QShowEvent* event) override;

    QPushButton* m_calcButton = nullptr;
    QAction* m_calcAction = nullptr;

private:
    int m_nTemplateId;
    int m_nUnitsPerMM = 100;
    int m_nLastValue = 0;
    bool m_initialised = false;
};
