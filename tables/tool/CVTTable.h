// The table tool (view tool 12, "表格"): two left clicks span the
// rectangle of a new table, the insert-table dialog (CInsertTableDlg)
// gives its rows, columns and sizes, and the table is placed on the
// current page as one undo step. The tool then hands the table to its
// table editor (CVTModifyTable) with the first cell open for typing, and
// passes it almost every event and table command, so that the user goes
// on editing; a click on another table edits that one, a click away from
// any table starts a new table there.
#pragma once

#include "app/CVectorTool.h"

#include "platform/Types.h"

#include <memory>

class CTableElement;
class CVTModifyTable;

class CVTTable : public CVectorTool {
public:
    static constexpr int kCursorInsert = 195;
    static constexpr int kCursorTable = 197;
    static constexpr UINT kPromptFirstCorner = 38027;
    static constexpr UINT kPromptSecondCorner = 38028;
    static constexpr UINT kPromptPickTable = 38036;

    explicit CVTTable(CVEKView* view);
    ~CVTTable() override;

    // What the insert-table dialog gives, in page units.
    struct TableRequest {
        int columns = 6;
        int rows = 10;
        bool fitWidth = true;
        bool fitHeight = false;
        bool columnAuto = false;
        bool rowAuto = false;
        int columnWidth = 3000;
        int rowHeight = 700;
    };
    // Where the page puts the table.
    struct PageFrame {
        CSize paper;
        int top = 0;
        int bottom = 0;
        int left = 0;
        int right = 0;
    };
    // The rectangle of a new table spanned by two corners: sizes from the
    // request or the page, then moved inside the border and inner line
    // widths so that the lines lie within what was asked for.
    static CRect TableRect(const CPoint& a, const CPoint& b, const TableRequest& request, const PageFrame& page,
                           int borderWidth, int innerWidth);
    // Which sides of such a rectangle cannot hold the rows and columns:
    // bit 1 the width, bit 2 the height; 0 when it can.
    static int TableMisfit(const CRect& rect, const TableRequest& request);

    CVTModifyTable* GetEditor() const { return m_editor.get(); }
    bool IsEditing() const { return m_bEditing; }
    bool HasFirstCorner() const { return m_bFirstCorner; }
    CPoint GetFirstCorner() const { return m_ptFirst; }
    CPoint GetCurrentCorner() const { return m_ptCurrent; }

    // The tool edits a table already on the page, the cell open for
    // typing, as after a click on it while editing another.
    void EditTable(CTableElement* table, int row = 1, int index = 1);

    // Copy or cut the table being edited (the view's commands).
    void OnCopyTable();
    void OnCutTable();

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnTabDown() override;
    BOOL OnTabUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnDeleteUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;
    void OnEditCopy() override;
    void OnEditCut() override;
    BOOL CanCopy() override;
    void OnFontColor() override;
    void OnCellColor() override;
    void OnFont() override;
    void OnAlignment() override;
    BOOL CanMergeCells() override;
    void MergeCells() override;
    void SplitCells() override;
    void InsertColumnLeft() override;
    BOOL CanInsertColumn() override;
    void InsertColumnRight() override;
    void InsertRowBefore() override;
    void InsertRowAfter() override;
    void ToggleDiagonalA() override;
    void ToggleDiagonalB() override;
    void DeleteRow() override;
    void DeleteColumn() override;
    void TableProperties() override;

private:
    void StartTable(int x, int y);
    void InsertTable();
    void ShowTextControls(int show) const;
    PageFrame CurrentPageFrame() const;

    std::unique_ptr<CVTModifyTable> m_editor;
    bool m_bEditing = false;
    bool m_bFirstCorner = false;
    CPoint m_ptFirst;
    CPoint m_ptCurrent;
};
