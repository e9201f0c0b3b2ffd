// The symmetric-drawing tool. The user first gives a centre line by two
// clicks; from then on the tool draws with one of nine drawing tools of its
// own (its sub-tools), and every open curve, closed curve, ruler line,
// rectangle or polygon, ellipse or circle and freehand stroke that a
// sub-tool completes gets a mirror image across the centre line at once, as
// a second element on the same page in the same undo step. The image stands
// on mirrored shared points of the drawn element's points, so it follows
// the drawn element whenever its points move later; nothing re-mirrors
// anything. While the centre line is set, the shape in progress is shown
// mirrored as well.
//
// Sub-tool numbers: 0 open curve, 1 closed curve, 2 ruler, 3 rectangle,
// 4 ellipse, 5 freehand, 6 select, 7 zoom, 8 eraser. While this tool is
// current the view's drawing-tool commands choose the sub-tool.
#pragma once

#include "app/CSubToolHost.h"
#include "app/CVectorTool.h"
#include "editors/CTableEditing.h"

#include "platform/Types.h"

#include <array>
#include <memory>

class CCurveElement;
class CGraphElement;

class CVTSymmetricDraw : public CVectorTool, public CSubToolHost {
public:
    static constexpr int kSubToolCount = 9;
    enum SubTool {
        kSubCurve = 0,
        kSubClosedCurve = 1,
        kSubRuler = 2,
        kSubRectangle = 3,
        kSubEllipse = 4,
        kSubFreehand = 5,
        kSubSelect = 6,
        kSubZoom = 7,
        kSubEraser = 8
    };
    // The centre line: no point yet, its first point given, complete.
    enum AxisState { kNoAxis = 0, kAxisStarted = 1, kAxisComplete = 2 };

    static constexpr int kCursor = 213;
    static constexpr UINT kPromptAxisStart = 38065;
    static constexpr UINT kPromptAxisEnd = 38066;

    // The select sub-tool hands tables to editors that `tableEditor` makes.
    explicit CVTSymmetricDraw(CVEKView* view, CTableEditing::Factory tableEditor = nullptr);
    ~CVTSymmetricDraw() override;

    // Makes sub-tool n (0-8) current (the one before deactivated, the new
    // one activated) and remembers n; other numbers are ignored.
    void SelectSubTool(int n) override;
    int GetSubToolIndex() const override { return m_nSubTool; }
    CVectorTool* GetSubTool(int n) const;
    CVectorTool* GetCurrentSubTool() const { return m_pCurrentSubTool; }

    int GetAxisState() const { return m_nAxisState; }
    CPoint GetAxisStart() const { return m_ptAxisStart; }
    CPoint GetAxisEnd() const { return m_ptAxisEnd; }
    // Set while a curve sub-tool edits the curve it completed and that got
    // its image; the next right click ends that editing.
    int IsCurveMirrored() const { return m_bCurveMirrored; }

    // What the sub-tools tell their owner. Only the whole-curve delete
    // needs an answer: the curve being edited is gone, so the next curve
    // starts afresh.
    void SetEditElement(CGraphElement*) {}
    void RemovePairOf(CGraphElement*) {}
    void OnSubToolDelete();
    void OnNewClosedCurve(CCurveElement*) {}

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnTabDown() override;
    BOOL OnTabUp() override;
    BOOL OnReturnDown() override;
    BOOL OnReturnUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnDeleteUp() override;
    BOOL OnDigitDown(char digit) override;
    BOOL OnDigitUp(char digit) override;
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
    void OnLineColorChanged() override;
    void OnLineColor() override;
    void OnFontColorChanged() override;
    void OnFontColor() override;
    void OnCellColorChanged() override;
    void OnCellColor() override;
    void OnFontChanged() override;
    void OnFont() override;
    void OnLineType() override;
    void OnStartArrow() override;
    void OnEndArrow() override;
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
    void OnEscUp() override;

private:
    void CreateSubTools(CTableEditing::Factory tableEditor);
    bool AxisComplete() const { return m_nAxisState == kAxisComplete; }
    BOOL TrackAxis(UINT flags, int x, int y);
    BOOL AxisClick(UINT flags, int x, int y);
    // The image of an element a sub-tool completed, on the current page.
    void MirrorCompleted(int subTool, CCurveElement* element);
    // The sub-tool's shape in progress, in page units; false when none.
    bool ShapeInProgress(CPointList& out) const;
    void DrawMirroredPreview(CDC* dc, double scale, int originX, int originY) const;

    std::array<std::unique_ptr<CVectorTool>, kSubToolCount> m_pSubTools;
    CVectorTool* m_pCurrentSubTool = nullptr;
    int m_nSubTool = 0;
    int m_nAxisState = kNoAxis;
    int m_bCurveMirrored = 0;
    CPoint m_ptAxisStart;
    CPoint m_ptAxisEnd;
};
