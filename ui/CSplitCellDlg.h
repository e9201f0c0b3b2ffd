// "拆分单元格" (dialog 166): into how many columns and rows a table cell is
// split. The row count must be one the table allows for the cell; the
// caller hands those counts in as a list (not empty), and the rows spin
// steps through that list. The column count runs from 1 to the maximum
// the caller sets; both are checked when the user presses OK, and a count
// that is not allowed is refused with a message, the field selected and
// the dialog kept open.
//
// The caller sets the maximum column count and the starting column count,
// runs the dialog and on Accepted reads both counts.
#pragma once

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QToolButton;

class CSplitCellDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 166;
    static constexpr int IDC_ROWS = 1006;
    static constexpr int IDC_COLUMNS = 1015;
    static constexpr int IDC_MERGE_FIRST = 1016;
    static constexpr int IDC_COLUMNS_SPIN = 1017;
    static constexpr int IDC_ROWS_SPIN = 1019;
    static constexpr int IDS_BAD_ROWS = 36056;
    static constexpr int IDS_BAD_COLUMNS = 36160;

    CSplitCellDlg(const std::vector<int>& allowedRows, int mergeFirst, QWidget* parent = nullptr);
    ~CSplitCellDlg() override;

    int DoModal();

    // Set by the caller before the dialog runs.
    int m_nMaxColumns = 40;
    int m_nColumns = 2;
    // Read after Accepted.
    int m_nRows = 0;
    int m_bMergeFirst = 0;

    // The spins, as the user presses their arrows: +1 up, -1 down.
    void StepRows(int step);
    void StepColumns(int step);

    QLineEdit* RowsEdit() const { return m_rowsEdit; }
    QLineEdit* ColumnsEdit() const { return m_columnsEdit; }
    QCheckBox* MergeFirstCheck() const { return m_mergeFirst; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Refuse(QLineEdit* field, int messageId);

    std::vector<int> m_allowedRows;
    int m_rowsPosition = 1;
    QLineEdit* m_rowsEdit = nullptr;
    QLineEdit* m_columnsEdit = nullptr;
    QCheckBox* m_mergeFirst = nullptr;
};
