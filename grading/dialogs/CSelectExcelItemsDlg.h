// "选择Excel表中用于归号的项": the user chooses which columns of the
// workbook are measurement items; OK builds the body-measurement table of
// the chosen columns, in the order of choosing, as one undo step.
//
// An item is chosen when it is clicked or activated (double click, Enter),
// not when the keyboard merely moves over it; choosing it again does
// nothing. Enter in either list leaves the dialog open, so the keyboard
// can choose one item after another. "删除" takes the selected chosen item
// back.
#pragma once

#include "grading/CMeasureSheet.h"

#include <QDialog>

#include <vector>

class CItemChooser;
class CVEKView;
class QLabel;
class QListWidget;

class CSelectExcelItemsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 355;
    static constexpr int IDC_ALL_ITEMS = 1168;
    static constexpr int IDC_CHOSEN_ITEMS = 1169;
    static constexpr int IDC_DELETE = 1170;

    explicit CSelectExcelItemsDlg(CVEKView* view);

    void SetSheet(const CMeasureSheet& sheet);
    const CMeasureSheet& GetSheet() const { return m_sheet; }

    // The 0-based workbook columns of the chosen items, in the order of
    // choosing.
    std::vector<int> ChosenColumns() const;
    // Chooses the item at the row of the all-items list.
    void ChooseItem(int row);
    void OnDelete();
    // The chosen columns into the selected table and the table onto the
    // pages; refused with a message while nothing is chosen.
    void accept() override;

    QListWidget* AllItemsList() const;
    QListWidget* ChosenItemsList() const;

private:
    CVEKView* m_view;
    CMeasureSheet m_sheet;
    CItemChooser* m_chooser;
    QLabel* m_skipped;
};
