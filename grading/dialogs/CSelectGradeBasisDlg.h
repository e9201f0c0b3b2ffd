// "选择归号依据": the user chooses the basis items of the grading (height,
// chest girth...) among the header items of the tables on the current
// page; OK checks that the body-measurement table can be graded by them
// and opens the grading-basis dialog.
//
// An item is chosen when it is clicked or activated, not when the keyboard
// merely moves over it. Enter in either list leaves the dialog open, so the
// keyboard can choose one item after another.
#pragma once

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class CItemChooser;
class CVEKView;
class QListWidget;

class CSelectGradeBasisDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 346;
    static constexpr int IDC_ALL_ITEMS = 1143;
    static constexpr int IDC_BASIS_ITEMS = 1144;
    static constexpr int IDC_DELETE = 1145;

    explicit CSelectGradeBasisDlg(CVEKView* view);

    // GBK item names, in order.
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> BasisItems() const;

    void ChooseItem(int row);
    void OnDelete();
    void accept() override;

    QListWidget* AllItemsList() const;
    QListWidget* BasisList() const;

private:
    CVEKView* m_view;
    std::vector<std::string> m_items;
    CItemChooser* m_chooser;
};
