// The calculator (dialog 131): an arithmetic expression typed or clicked
// together, its result shown live beside it in the work unit, and on OK
// handed back as a length. It opens with the prompt's length written in
// the work unit. An expression that is not valid, or whose result is no
// finite length a drawing can hold, shows "? " and OK does nothing.
#pragma once

#include "platform/Types.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class CCalculatorDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 131;

    // `upm`: units per millimetre of the open document.
    explicit CCalculatorDlg(int upm, QWidget* parent = nullptr);
    ~CCalculatorDlg() override;

    // The result, if any; FALSE for an invalid expression.
    BOOL Evaluate(double& result) const;

    // Set before the dialog shows; the result after OK (page units).
    int m_nValue = 0;

    QLineEdit* ExpressionEdit() const { return m_expression; }
    QLabel* ResultLabel() const { return m_result; }
    // The button of a control id (1029-1046, 1002, 1022, 1), or null.
    QPushButton* Button(int id) const;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    // Replaces the selection with `text`, caret after it.
    void Insert(const QString& text);
    void Backspace();
    void Clear();
    // The live result; false when there is none to hand back.
    bool UpdateResult();

    int m_nUnitsPerMM;
    bool m_initialised = false;
    QLineEdit* m_expression = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_inchMark = nullptr;
    QPushButton* m_ok = nullptr;
    QList<QPair<int, QPushButton*>> m_buttons;
};
