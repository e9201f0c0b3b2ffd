// "设置归号依据的信息": a base value and an interval for every basis item;
// OK grades the persons of the body-measurement table (from the current
// page on) and writes the result tables, as one undo step, after asking
// whether to save the result file. The rows of prompts and edits scroll
// when there are more basis items than the dialog shows.
#pragma once

#include "grading/CGradingRun.h"

#include <QDialog>

#include <string>
#include <vector>

class CVEKView;
class QLabel;
class QLineEdit;
class QScrollArea;
class QVBoxLayout;

class CGradingBasisDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 347;

    explicit CGradingBasisDlg(CVEKView* view);

    // GBK item names, in the order chosen; makes the prompts and edits.
    void SetBasisItems(const std::vector<std::string>& items);
    int BasisCount() const { return int(m_items.size()); }
    // Edit i < N holds the base value of item i, edit N + i its interval.
    QLineEdit* Edit(int i) const;
    QLabel* Prompt(int i) const;
    QScrollArea* ScrollArea() const { return m_scroll; }

    // Validates, grades, asks about the result file, writes the tables.
    void accept() override;

    // The save question and the file's path; an empty path skips the file.
    QString AskResultFile();

private:
    bool ReadBasis(std::vector<CGradingBasis>& basis);
    void RunGrading(const std::vector<CGradingBasis>& basis);

    CVEKView* m_view;
    std::vector<std::string> m_items;
    std::vector<QLabel*> m_prompts;
    std::vector<QLineEdit*> m_edits;
    QScrollArea* m_scroll;
    QWidget* m_rows;
};
