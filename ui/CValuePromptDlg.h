// A prompt for one length (edit 1028 with the value in the work unit,
// static 1023 with the unit). It opens with its value formatted in the
// work unit without trailing zeros; every edit that reads as an allowed
// length becomes the value and runs OnValueChanged (the prompts move their
// tool's preview there); OK takes the value, or refuses the text with a
// message and keeps the dialog open.
#pragma once

#include "ui/CCaptionCalcDlg.h"

class QLabel;
class QLineEdit;

class CValuePromptDlg : public CCaptionCalcDlg {
    Q_OBJECT
public:
    static constexpr int IDC_VALUE = 1028;
    static constexpr int IDC_UNIT = 1023;

    // The template gives the caption, the label before the edit and the
    // button texts.
    explicit CValuePromptDlg(int templateId, QWidget* parent = nullptr);
    ~CValuePromptDlg() override;

    // The length in page units: set before the prompt opens, the answer
    // after OK.
    int m_nValue = 0;

    QLineEdit* ValueEdit() const { return m_valueEdit; }
    QLabel* UnitLabel() const { return m_unitLabel; }

public Q_SLOTS:
    void accept() override;

protected:
    void OnInitDialog() override;
    // After each accepted change of the value.
    virtual void OnValueChanged() {}
    // Which lengths the prompt takes; a size or radius must be positive.
    virtual LengthRule ValueRule() const { return LengthRule::Positive; }

private:
    void OnValueEdited();

    QLineEdit* m_valueEdit = nullptr;
    QLabel* m_unitLabel = nullptr;
};
