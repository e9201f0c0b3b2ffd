// "插入表格" (dialog 165): the rows, columns and sizes of a new table. It
// opens on the settings' insert-table defaults; the row height and column
// width are lengths in the work unit. Fitting to the page width or height
// and the two "自动" boxes switch off the sizes they make unneeded.
//
// OK checks, in this order, the column count (1 to 40), the column width,
// the row count (1 to 100) and the row height, each refused with its
// message, its field selected and the dialog kept open; a length is
// checked only while its field is enabled, since only then is it used.
// With a fit check (the insertion tool's), a table that would be smaller
// than its own lines is refused too. Accepted with "设成新表格的默认值"
// checked, the values become the settings' defaults.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

class CInsertTableDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 165;
    static constexpr int IDC_ROWS = 1007;
    static constexpr int IDC_SET_DEFAULT = 1008;
    static constexpr int IDC_FIT_WIDTH = 1013;
    static constexpr int IDC_FIT_HEIGHT = 1014;
    static constexpr int IDC_COLUMNS_SPIN = 1017;
    static constexpr int IDC_COLUMNS = 1018;
    static constexpr int IDC_ROWS_SPIN = 1019;
    static constexpr int IDC_COLUMN_WIDTH = 1106;
    static constexpr int IDC_ROW_HEIGHT = 1107;
    static constexpr int IDC_COLUMN_UNIT = 1108;
    static constexpr int IDC_ROW_UNIT = 1109;
    static constexpr int IDC_COLUMN_LABEL = 1110;
    static constexpr int IDC_ROW_LABEL = 1111;
    static constexpr int IDC_COLUMN_AUTO = 1112;
    static constexpr int IDC_ROW_AUTO = 1113;

    static constexpr int kMaxColumns = 40;
    static constexpr int kMaxRows = 100;

    static constexpr int IDS_ROWS_BELOW_ONE = 36024;
    static constexpr int IDS_COLUMNS_BELOW_ONE = 36025;
    static constexpr int IDS_COLUMN_WIDTH = 36054;
    static constexpr int IDS_ROW_HEIGHT = 36055;
    static constexpr int IDS_TOO_MANY_COLUMNS = 36161;
    static constexpr int IDS_TOO_MANY_ROWS = 36162;
    static constexpr int IDS_TOO_SMALL = 36163;

    struct Values {
        int columns = 6;
        int rows = 10;
        int fitWidth = 1;
        int fitHeight = 0;
        int setDefault = 0;
        int columnWidth = 3000; // page units
        int rowHeight = 700;
        int columnAuto = 0;
        int rowAuto = 0;
    };

    // Which sides of a table of these values would not hold its lines:
    // bit 1 its width, bit 2 its height; 0 when it fits.
    using FitCheck = std::function<int(const Values&)>;

    explicit CInsertTableDlg(QWidget* parent = nullptr);
    ~CInsertTableDlg() override;

    int DoModal();
    void SetFitCheck(FitCheck check) { m_fitCheck = std::move(check); }
    // What the user accepted.
    const Values& GetValues() const { return m_values; }

    // The enabling rule of the size fields, after the check boxes.
    void UpdateEnabling();

    QLineEdit* ColumnsEdit() const { return m_columns; }
    QLineEdit* RowsEdit() const { return m_rows; }
    QLineEdit* ColumnWidthEdit() const { return m_columnWidth; }
    QLineEdit* RowHeightEdit() const { return m_rowHeight; }
    QCheckBox* Check(int id) const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(QLineEdit* edit, int step, int most);
    // Reads and checks every field; false after a refusal.
    bool ReadValues(Values& values);
    bool ReadLengthField(QLineEdit* field, bool used, int belowOneMessage, int fallback, int& value);

    Values m_values;
    FitCheck m_fitCheck;
    QLineEdit* m_columns = nullptr;
    QLineEdit* m_rows = nullptr;
    QLineEdit* m_columnWidth = nullptr;
    QLineEdit* m_rowHeight = nullptr;
    QLabel* m_columnUnit = nullptr;
    QLabel* m_rowUnit = nullptr;
    QLabel* m_columnLabel = nullptr;
    QLabel* m_rowLabel = nullptr;
    QCheckBox* m_fitWidth = nullptr;
    QCheckBox* m_fitHeight = nullptr;
    QCheckBox* m_setDefault = nullptr;
    QCheckBox* m_columnAuto = nullptr;
    QCheckBox* m_rowAuto = nullptr;
};
