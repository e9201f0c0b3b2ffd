// "增加序号及排列顺序": sorts the persons of the personal-information
// tables by a primary item (and, between equal primary texts, a secondary
// one) and numbers them in a new first column "序号" from a start number
// on, running on over the pages. OK is one undo step, taken only once the
// start number has been accepted and only when something changed.
#pragma once

#include "grading/CTextRows.h"

#include <QDialog>

#include <string>
#include <vector>

class CVEKView;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CSerialSortDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 354;
    static constexpr int IDC_PRIMARY = 1161;
    static constexpr int IDC_START = 1162;
    static constexpr int IDC_ADD_NUMBERS = 1163;
    static constexpr int IDC_PRIMARY_ON = 1164;
    static constexpr int IDC_SECONDARY = 1165;
    static constexpr int IDC_SECONDARY_ON = 1167;

    explicit CSerialSortDlg(CVEKView* view);

    // The personal-information pages (0-based, in page order), the header
    // items (GBK) and every person's texts, as the command gathered them.
    void SetTables(const std::vector<int>& pages, const std::vector<std::string>& header,
                   const std::vector<CTextRows::Row>& rows);

    void OnAddNumbers();
    void OnPrimary();
    void OnSecondary();
    void accept() override;

    QLineEdit* StartEdit() const { return m_start; }
    QCheckBox* AddNumbersCheck() const { return m_addNumbers; }
    QCheckBox* PrimaryCheck() const { return m_primaryOn; }
    QCheckBox* SecondaryCheck() const { return m_secondaryOn; }
    QComboBox* PrimaryCombo() const { return m_primary; }

private:
    CVEKView* m_view;
    std::vector<int> m_pages;
    std::vector<CTextRows::Row> m_rows;
    QLineEdit* m_start;
    QCheckBox* m_addNumbers;
    QCheckBox* m_primaryOn;
    QComboBox* m_primary;
    QCheckBox* m_secondaryOn;
    QComboBox* m_secondary;
};
