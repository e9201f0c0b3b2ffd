// "输入个人信息和尺寸名": instead of reading a workbook, the user types the
// measurement items and the number of persons; OK builds an empty
// body-measurement table of persons + 1 rows to be filled in by hand, as
// one undo step. At most 10,000 persons. Enter in the name field adds the
// name, as "增加" does, and Enter in the list does nothing: only Enter in
// the other fields presses OK.
#pragma once

#include <QDialog>
#include <QStringList>

class CVEKView;
class QLineEdit;
class QListWidget;

class CSizeInputDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 345;
    static constexpr int IDC_ITEM_LIST = 1129;
    static constexpr int IDC_ITEM_NAME = 1130;
    static constexpr int IDC_ADD = 1131;
    static constexpr int IDC_PERSONS = 1132;
    static constexpr int IDC_COLUMNS = 1133;
    static constexpr int IDC_DELETE = 1135;
    static constexpr int kMaxPersons = 10000;

    explicit CSizeInputDlg(CVEKView* view);

    void OnAdd();
    void OnDelete();
    void accept() override;

    QStringList Items() const;
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* PersonsEdit() const { return m_persons; }
    QLineEdit* ColumnsEdit() const { return m_columns; }
    QListWidget* ItemList() const { return m_list; }

private:
    void ShowColumnCount();
    void Refuse(int stringId, QLineEdit* field);

    CVEKView* m_view;
    QLineEdit* m_name;
    QLineEdit* m_persons;
    QLineEdit* m_columns;
    QListWidget* m_list;
};
