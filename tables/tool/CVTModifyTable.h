// The table editor: edits one table element in place. It lays the in-cell
// edit box (CCellEdit) over the current cell and writes the typed text,
// font, colours, alignment and diagonals back into the cell when it
// commits; selects cells by dragging; drags grid lines; moves and resizes
// the whole table with two clicks on its handles; and carries out the
// table commands (merge, split, insert and delete rows and columns,
// diagonals, properties, copy and cut of the table).
//
// It is no tool of the view: the table insertion tool and the select tool
// own one each, attach the table to edit (SetTable) and pass their events
// and table commands on. It captures no points; it works with the raw
// pointer position.
//
// Undo: what is typed into a cell is one step, made when the cell is
// committed (another cell, a command, leaving the table, a tool switch or
// a page change); until then Undo and Esc work inside the box. Every
// command is one step and a command that changes nothing makes none; an
// inserted row that continues on the next page is one step with the page
// it may add.
#pragma once

#include "editors/CTableEditing.h"
#include "tables/tool/CCellEdit.h"
#include "tables/CTableCellAddress.h"

#include "platform/Types.h"

#include <QMenu>
#include <QPointer>

#include <utility>
#include <vector>

class CPageSet;
class CTableElement;

class CVTModifyTable : public CTableEditing {
public:
    enum State {
        kIdle = 0,
        kPressed = 1,
        kOverRowLine = 2,
        kDraggingRowLine = 3,
        kDraggingRowLineInSelection = 4,
        kOverColumnLine = 5,
        kDraggingColumnLine = 6,
        kDraggingColumnLineInSelection = 7,
        kOverMoveHandle = 8,
        kMoving = 9,
        kOverResizeHandle = 10,
        kResizing = 11,
    };

    static constexpr int kCursorOutside = 152;
    static constexpr int kCursorColumnLine = 144;
    static constexpr int kCursorRowLine = 192;
    static constexpr int kCursorMove = 194;
    static constexpr int kCursorResize = 196;
    static constexpr int kCursorTable = 197;
    static constexpr int kMoveHandleIcon = 200;
    static constexpr UINT kPromptMoveHandle = 38029;
    static constexpr UINT kPromptResizeHandle = 38030;
    static constexpr UINT kPromptColumnLine = 38031;
    static constexpr UINT kPromptRowLine = 38032;
    static constexpr UINT kPromptMoving = 38034;
    static constexpr UINT kPromptResizing = 38035;
    static constexpr UINT kPromptIdle = 57345;
    // Pixels: the handles' sizes, the grid lines' pick distance.
    static constexpr int kMoveHandlePixels = 16;
    static constexpr int kResizeHandlePixels = 8;
    static constexpr int kLinePickPixels = 3;
    // The split dialog's column limit.
    static constexpr int kMaxSplitColumns = 40;
    static constexpr int IDS_SPLIT_FAILED = 36020;
    static constexpr int IDS_CANNOT_SPLIT = 36021;
    static constexpr int IDS_PROPERTIES_CAPTION = 36053;

    // `owner` is reset when the table goes (cut).
    CVTModifyTable(CVEKView* view, CDesignTool* owner);
    ~CVTModifyTable() override;

    // The editor the select tool hands its tables to (a
    // CTableEditing::Factory; the tool table gives it to the select tool).
    static std::unique_ptr<CTableEditing> Make(CVEKView* view, CDesignTool* owner);

    // --- The table --------------------------------------------------------
    // Attaches a table element (kind 8) or none; the edit of another table
    // is committed first.
    void SetTable(CGraphElement* table) override;
    CTableElement* GetTable() const { return m_pTable; }
    CDesignTool* GetOwner() const { return m_pOwner; }

    // --- The edit box -------------------------------------------------------
    // The cell goes into the edit box, which takes the keyboard.
    void LoadCellEdit(int row, int index);
    // Writes the box into its cell (one undo step when anything differs),
    // then lets the cell go.
    void CommitCellEdit() override;
    // The box shows its cell as the cell is: what was typed is dropped.
    void RevertCellEdit();
    // Lets the current cell go without writing it.
    void ClearCurrentCell();
    // Puts the box over the current cell at the view's mapping, or hides it.
    void PlaceCellEdit(bool show);
    void MoveToLeftCell();
    void MoveToRightCell();
    void MoveToUpperCell();
    void MoveToLowerCell();

    // --- Whole table ------------------------------------------------------------
    void OnCopyTable() override;
    void OnCutTable() override;

    // 0 the move handle, 1 the resize handle; page units at the view scale.
    CRect GetHandleRect(int which) const;

    // --- State, for owners and tests ------------------------------------------
    int GetState() const { return m_nState; }
    bool IsEditing() const { return m_bEditing; }
    CTableCellAddress GetCurrentCell() const { return m_current; }
    const CTableCellList& GetSelection() const { return m_selection; }
    CCellEdit* GetCellEdit() const { return m_edit; }
    // The table menu (201) last opened, null before.
    QMenu* GetTableMenu() const { return m_menu; }
    // Whether the box holds something other than what its cell gave it.
    bool CellEditDiffers() const;

    // --- Tool operations --------------------------------------------------------
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
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
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
    // Hover.
    bool InTableOrHandles(int x, int y);
    void UpdateHover(int x, int y);
    int LinePickTolerance() const;
    bool SelectionContains(int x, int y) const;
    void SelectCellsTo(int x, int y);
    void OpenTableMenu(int x, int y);
    bool ShouldShowCellEdit() const;
    // Left button, by state.
    void PressInTable(int x, int y);
    void EndMove(int x, int y);
    void EndResize(int x, int y);
    void EndLineDrag(int x, int y);

    // Commands.
    bool HasTableAndCell() const;
    bool IsValidCell(const CTableCellAddress& a) const;
    void CommitKeepingCell();
    void ReloadCell(const CTableCellAddress& cell);
    void InsertColumn(int left);
    void InsertRow(bool before);
    bool ContinueRowOnNextPage(bool before, int rowHeight, const std::vector<std::pair<int, int>>& columns);
    void ToggleDiagonal(bool main);
    template <class Apply> void ApplyToSelection(Apply apply);
    bool RunSplitDialog(const std::vector<int>& allowedRows, int& rows, int& columns);
    // The cell's attributes into the box.
    void FillCellEdit(const CTableCellAddress& cell);
    bool TableInDocument() const;
    void NeighbourMoved(const CTableCellAddress& to, const CTableCellAddress& anchor);
    void Redraw();

    CDesignTool* m_pOwner = nullptr;
    QPointer<CCellEdit> m_edit;
    // What the current cell gave the box when it was loaded.
    CCellEdit::Contents m_given;
    QPointer<QMenu> m_menu;
    CTableElement* m_pTable = nullptr;
    // The page set the table lay in when attached: after new content
    // (undo, redo, open) the pointer names nothing of the document.
    const CPageSet* m_pTablePageSet = nullptr;
    CTableCellList m_selection;
    CTableCellAddress m_current;
    CTableCellAddress m_anchor;
    int m_anchorRow = 1;
    bool m_lastHorizontal = false;
    bool m_lastVertical = false;
    CTableCellAddress m_lineCell;
    int m_lineEdge = 0;
    bool m_bShift = false;
    bool m_bEditing = false;
    bool m_bHover = false;
    CPoint m_ptPress;
    CPoint m_ptCurrent;
    int m_nState = kIdle;
};

// One undo step for the selected cells, made only when `apply` (which
// answers whether it changed the cell) changed any of them.
template <class Apply>
void CVTModifyTable::ApplyToSelection(Apply apply)
{
    BeginUndoStep();
    bool changed = false;
    for (const CTableCellAddress& a : m_selection) changed = apply(a) || changed;
    if (changed)
        CommitUndoStep();
    else
        DropUndoStep();
}
