// The control-point editor of one curve, open or closed. It shows the
// nodes and the curve through them and lets the user pick a node up and put
// it down again (one click each), insert a node by clicking on the curve,
// switch a node between smooth and corner (Shift), delete it (Delete), and
// spread the nodes evenly along the curve (typing their number). It also
// applies the tool bar's colour, line type and arrowheads to its curve and
// copies or cuts it.
//
// The editor is no tool of the view: a curve tool or the select tool owns
// it, passes it every event while it holds a curve, and is called back
// (its Reset) when the editing ends.
#pragma once

#include "app/CVectorTool.h"

#include "model/CCurveElement.h"
#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

class CCurveNode;

// One node of the edited curve as the editor sees it: the position it
// shows (during a drag ahead of the node's point), the node and its kind.
struct CCurvePointRec {
    int x = 0;
    int y = 0;
    CCurveNode* pNode = nullptr;
    int bSmooth = 0;
};

using CCurvePointRecList = CList<CCurvePointRec>;

class CVTModifyCurve : public CVectorTool {
public:
    // `owner` is called back (Reset) when the editing ends.
    CVTModifyCurve(CVEKView* view, CDesignTool* owner);
    ~CVTModifyCurve() override;

    // Starts editing `curve` (null stops). The editor forgets any drag.
    void SetCurve(CCurveElement* curve);
    CCurveElement* GetCurve() const { return m_pCurve; }
    CDesignTool* GetOwner() const { return m_pOwner; }

    // The curve as the editor shows it (follows a drag at once).
    int GetPolyline(CPointList& out) const;
    // The edited curve's nodes; 0 without a curve.
    int GetCurveNodes(CCurveNodeList& out) const;
    // The line groups of the context tool bar for the held curve (the
    // arrowhead groups only for an open curve); all off without a curve.
    void ShowCurveControls(int show);

    // Set by a drop, a deleted node or a redistribution; cleared when the
    // next click or key starts.
    int IsCurveModified() const { return m_bModified; }
    // Set when Delete removed the whole curve (it is then deleted).
    int IsCurveRemoved() const { return m_bCurveRemoved; }
    int IsDragging() const { return m_bDragging; }
    CCurveNode* GetHoveredNode() const { return m_pHoveredNode; }
    int HasOutlinePoint() const { return m_bOutlinePoint; }
    const CCurvePointRecList& GetRecords() const { return m_records; }

    // The curve through control points as the curve tools and the editor
    // show it: corners break it, each run of smooth points is one spline
    // from the corner before it to the corner after it. The walk starts at
    // the first corner; with `closed` it goes once round and back to where
    // it started, and a list without any corner is one closed spline.
    static void BuildNodePolyline(const std::vector<CPoint>& points, const std::vector<int>& smooth,
                                  int closed, CPointList& out);

    // --- Tool operations ---------------------------------------------------
    void Reset() override;
    BOOL OnReturnDown() override;
    BOOL OnReturnUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
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
    void OnLineType() override;
    void OnStartArrow() override;
    void OnEndArrow() override;
    void OnEscUp() override;

    // Spreads the nodes evenly along the curve as `count` nodes (at least
    // 2); new nodes get `kind`. Takes one undo snapshot. Used by the digit
    // keys.
    void Redistribute(int count, int kind);

    // Cursor and prompts.
    static constexpr int kCursor = 152;
    static constexpr int kPromptHover = 38003;
    static constexpr int kPromptDragging = 38004;

private:
    CPage* CurrentPage() const;
    void BuildRecords();
    void RebuildPolyline();
    POSITION FindRecord(const CCurveNode* node) const;
    // The node under the cursor, or the one being dragged.
    CCurveNode* ActiveNode() const;
    // The open curve's end records and nodes become corners again.
    void KeepEndsCorners();
    void EndEditing();
    void Repaint(bool contentChanged) const;

    CDesignTool* m_pOwner;
    int m_bModified = 0;
    int m_bCurveRemoved = 0;
    CCurveElement* m_pCurve = nullptr;
    CCurveNode* m_pHoveredNode = nullptr;
    int m_bDragging = 0;
    int m_bOutlinePoint = 0;
    CPoint m_ptOutline;
    int m_bDigitPending = 0;
    int m_nPendingDigit = 0;
    CCurvePointRecList m_records;
    POSITION m_currentRecord = nullptr;
    CPointList m_polyline;
    // Where the dragged node stood when it was picked up, and how many undo
    // snapshots the drag has taken since (a Cancel puts the node back and
    // drops the drag's own snapshot when it is the only one).
    CPoint m_ptDragStart;
    int m_nDragSnapshots = 0;
};
