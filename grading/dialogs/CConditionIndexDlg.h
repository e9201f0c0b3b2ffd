// "条件索引": narrows the persons of the body-measurement table to those
// whose item A reads a given text, and sets apart as special bodies the
// persons whose X - Y lies outside lower .. upper. OK lays the
// body-measurement table out again with the persons that stay and writes
// the special-body table after it, as one undo step; nothing but those
// tables changes on the pages.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CVEKView;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CConditionIndexDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 353;
    static constexpr int IDC_CONDITION_TEXT = 1153;
    static constexpr int IDC_CONDITION_ITEM = 1154;
    static constexpr int IDC_MINUEND = 1158;
    static constexpr int IDC_SUBTRAHEND = 1159;
    static constexpr int IDC_LOWER = 1160;
    static constexpr int IDC_UPPER = 1161;
    static constexpr int IDC_CONDITION_ON = 1165;
    static constexpr int IDC_SPECIAL_ON = 1166;

    explicit CConditionIndexDlg(CVEKView* view);

    // GBK item names for the three item boxes; entry 0 shown in each.
    void SetItems(const std::vector<std::string>& items);

    void OnConditionOn();
    void OnSpecialOn();
    void accept() override;

    QCheckBox* SpecialCheck() const { return m_specialOn; }
    QComboBox* Minuend() const { return m_minuend; }
    QComboBox* Subtrahend() const { return m_subtrahend; }
    QLineEdit* Lower() const { return m_lower; }
    QLineEdit* Upper() const { return m_upper; }

private:
    bool ReadNumber(QLineEdit* edit, double& value);
    std::string ItemAt(const QComboBox* box) const;

    CVEKView* m_view;
    std::vector<std::string> m_items;
    QCheckBox* m_conditionOn;
    QComboBox* m_item;
    QLineEdit* m_text;
    QCheckBox* m_specialOn;
    QComboBox* m_minuend;
    QComboBox* m_subtrahend;
    QLineEdit* m_lower;
    QLineEdit* m_upper;
};
