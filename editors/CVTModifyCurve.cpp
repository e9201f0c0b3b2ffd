#include "editors/CVTModifyCurve.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "geometry/Spline.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <QApplication>

#include <algorithm>

namespace {

CCurveNodeList NodesOf(const CCurveElement* curve)
{
    CCurveNodeList nodes;
    if (curve) curve->GetNodes(nodes);
    return nodes;
}

} // namespace

CVTModifyCurve::CVTModifyCurve(CVEKView* view, CDesignTool* owner)
    : CVectorTool(view), m_pOwner(owner)
{
    CVTModifyCurve::Reset();
}

CVTModifyCurve::~CVTModifyCurve() = default;

// --- The curve ---------------------------------------------------------------------

void CVTModifyCurve::Reset()
{
    // A drag ended by anything but its drop or Cancel keeps what it moved,
    // so its held step counts.
    if (m_bDragging && m_currentRecord) {
        const CCurvePointRec& rec = m_records.GetAt(m_currentRecord);
        if (CPoint(rec.x, rec.y) != m_ptDragStart) CommitUndoStep();
        else DropUndoStep();
    }
    CVectorTool::Reset();
    m_pCurve = nullptr;
    m_pHoveredNode = nullptr;
    m_bDragging = 0;
    m_bOutlinePoint = 0;
    m_bDigitPending = 0;
    m_nPendingDigit = 0;
    m_currentRecord = nullptr;
    m_records.RemoveAll();
    m_polyline.RemoveAll();
    m_nDragSnapshots = 0;
}

void CVTModifyCurve::SetCurve(CCurveElement* curve)
{
    Reset();
    m_pCurve = curve;
    BuildRecords();
    RebuildPolyline();
    Repaint(false);
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTModifyCurve::BuildRecords()
{
    m_records.RemoveAll();
    m_currentRecord = nullptr;
    if (!m_pCurve) return;
    for (CCurveNode* node : m_pCurve->Nodes()) {
        CCurvePointRec rec;
        const CPoint p = node->GetPosition();
        rec.x = p.x;
        rec.y = p.y;
        rec.pNode = node;
        rec.bSmooth = node->GetKind() == NODE_SMOOTH ? 1 : 0;
        m_records.AddTail(rec);
    }
}

void CVTModifyCurve::BuildNodePolyline(const std::vector<CPoint>& points,
                                       const std::vector<int>& smooth, int closed, CPointList& out)
{
    out.RemoveAll();
    const std::size_t count = std::min(points.size(), smooth.size());
    if (count == 0) return;

    // Start at a corner so that no smooth run is cut where the list begins.
    std::size_t start = 0;
    bool anyCorner = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!smooth[i]) {
            start = i;
            anyCorner = true;
            break;
        }
    }

    CPointList run;
    CPointList curve;
    bool inRun = false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = (start + k) % count;
        const CPoint& p = points[i];
        if (!smooth[i]) {
            run.AddTail(p);
            if (inRun) {
                MakeSmoothCurve(run, 0, curve);
                out.AddTail(curve);
                run.RemoveAll();
                run.AddTail(p);
            }
            inRun = false;
        } else {
            if (!inRun && run.GetCount() >= 2) {
                out.AddTail(run);
                const CPoint last = run.GetTail();
                run.RemoveAll();
                run.AddTail(last);
            }
            run.AddTail(p);
            inRun = true;
        }
    }
    if (closed) run.AddTail(points[start]);

    if (run.GetCount() <= 2) {
        out.AddTail(run);
    } else if (!anyCorner) {
        // One closed spline, also for an open curve, whose run does not
        // repeat its start.
        if (run.GetTail() != run.GetHead()) run.AddTail(CPoint(run.GetHead()));
        MakeSmoothCurve(run, 1, curve);
        if (!curve.IsEmpty()) curve.AddTail(CPoint(curve.GetHead()));
        out.AddTail(curve);
    } else if (inRun) {
        MakeSmoothCurve(run, 0, curve);
        out.AddTail(curve);
    } else {
        out.AddTail(run);
    }
}

void CVTModifyCurve::RebuildPolyline()
{
    std::vector<CPoint> points;
    std::vector<int> smooth;
    for (const CCurvePointRec& rec : m_records) {
        points.emplace_back(rec.x, rec.y);
        smooth.push_back(rec.bSmooth);
    }
    BuildNodePolyline(points, smooth, m_pCurve && m_pCurve->IsClosed(), m_polyline);
}

int CVTModifyCurve::GetPolyline(CPointList& out) const
{
    out = m_polyline;
    return 1;
}

int CVTModifyCurve::GetCurveNodes(CCurveNodeList& out) const
{
    if (!m_pCurve) return 0;
    m_pCurve->GetNodes(out);
    return 1;
}

void CVTModifyCurve::ShowCurveControls(int show)
{
    CFrameServices* frame = Frame();
    if (!frame) return;
    const int line = show && m_pCurve ? 1 : 0;
    const int arrows = line && !m_pCurve->IsClosed() ? 1 : 0;
    frame->ShowLineControls(line, line, line, arrows, arrows);
}

CPage* CVTModifyCurve::CurrentPage() const
{
    return CurrentPageOf(GetPageSet());
}

POSITION CVTModifyCurve::FindRecord(const CCurveNode* node) const
{
    if (!node) return nullptr;
    for (POSITION pos = m_records.GetHeadPosition(); pos; pos = CCurvePointRecList::NextOf(pos))
        if (m_records.GetAt(pos).pNode == node) return pos;
    return nullptr;
}

CCurveNode* CVTModifyCurve::ActiveNode() const
{
    if (m_pHoveredNode) return m_pHoveredNode;
    // Just picked up, before the mouse has moved.
    if (m_bDragging && m_currentRecord) return m_records.GetAt(m_currentRecord).pNode;
    return nullptr;
}

void CVTModifyCurve::KeepEndsCorners()
{
    if (!m_pCurve || m_pCurve->IsClosed() || m_records.IsEmpty()) return;
    for (CCurvePointRec* rec : {&m_records.GetHead(), &m_records.GetTail()}) {
        rec->bSmooth = 0;
        if (rec->pNode) rec->pNode->SetKind(NODE_CORNER);
    }
    m_pCurve->InvalidateBounds();
}

void CVTModifyCurve::EndEditing()
{
    if (m_pOwner)
        m_pOwner->Reset();
    else
        Reset();
}

void CVTModifyCurve::Repaint(bool contentChanged) const
{
    if (contentChanged)
        InvalidateView();
    else
        InvalidateFeedback();
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTModifyCurve::OnMouseMove(UINT, int x, int y)
{
    ShowPrompt(m_bDragging ? kPromptDragging : kPromptHover);
    if (m_pView) m_pView->SetToolCursor(kCursor);
    if (!m_pCurve) return FALSE;

    if (m_bDragging && m_currentRecord) {
        CCurvePointRec& rec = m_records.GetAt(m_currentRecord);
        if (rec.x != x || rec.y != y) {
            rec.x = x;
            rec.y = y;
            RebuildPolyline();
            // The point itself moves at once, so every curve standing on it
            // follows the mouse, not only this one.
            if (rec.pNode && rec.pNode->GetPoint()) rec.pNode->GetPoint()->MoveTo(x, y, 1);
        }
        m_pHoveredNode = rec.pNode;
        Repaint(true);
        return TRUE;
    }

    m_pHoveredNode = nullptr;
    m_bDragging = 0;
    m_bOutlinePoint = 0;
    BOOL result = FALSE;
    const double tolerance = GetCaptureTolerance();
    const CPoint at(x, y);
    CCurveNode* node = nullptr;
    double distance = 0.0;
    CPoint found;
    if (m_pCurve->FindNearestNode(at, tolerance, node, distance)) {
        m_pHoveredNode = node;
        result = TRUE;
    } else if (m_pCurve->FindNearestOutlinePoint(at, tolerance, found, distance)) {
        m_bOutlinePoint = 1;
        m_ptOutline = found;
        result = TRUE;
    }
    Repaint(false);
    return result;
}

BOOL CVTModifyCurve::OnLButtonDown(UINT flags, int x, int y)
{
    m_bModified = 0;
    // A click away from the curve: the owner decides what it means.
    if (!OnMouseMove(flags, x, y)) return FALSE;

    if (m_bDragging) {
        // Drop. The pick-up's step counts only when the node moved.
        m_bModified = 1;
        if (m_currentRecord) {
            const CCurvePointRec rec = m_records.GetAt(m_currentRecord);
            if (CPoint(rec.x, rec.y) != m_ptDragStart) CommitUndoStep();
            else DropUndoStep();
            if (rec.pNode) {
                if (CSharedPoint* point = rec.pNode->GetPoint()) point->MoveTo(rec.x, rec.y, 1);
                rec.pNode->SetKind(rec.bSmooth ? NODE_SMOOTH : NODE_CORNER);
            }
            CCurveNodeList nodes;
            for (const CCurvePointRec& r : m_records) nodes.AddTail(r.pNode);
            m_pCurve->SetNodes(nodes);
            if (CPageSet* pageSet = GetPageSet(); pageSet && rec.pNode)
                pageSet->InvalidateElementsUsingPoint(rec.pNode->GetPoint());
        }
        SetCurve(m_pCurve);
        InvalidateView();
        return TRUE;
    }

    if (m_pHoveredNode) {
        // Pick up.
        const POSITION pos = FindRecord(m_pHoveredNode);
        if (!pos) return TRUE;
        // The step becomes real at the drop, when the node has moved.
        BeginUndoStep();
        m_currentRecord = pos;
        const CCurvePointRec& rec = m_records.GetAt(pos);
        m_ptDragStart = CPoint(rec.x, rec.y);
        m_nDragSnapshots = 1;
        m_pHoveredNode = nullptr;
        m_bDragging = 1;
        ShowPrompt(kPromptDragging);
        Repaint(false);
        return TRUE;
    }

    if (m_bOutlinePoint) {
        // Insert a node where the curve was clicked and pick it up at once.
        CPoint nearest;
        double distance = 0.0;
        CCurveNode* before = nullptr;
        CCurveNode* at = nullptr;
        CCurveNode* after = nullptr;
        if (!m_pCurve->FindSpanAtPoint(m_ptOutline, GetCaptureTolerance(), nearest, distance, before,
                                       at, after)
            || !FindRecord(before))
            return TRUE;
        CPage* page = CurrentPage();
        if (!page) return TRUE;
        const int countBefore = m_pCurve->GetNodeCount();
        BeginUndoStep();
        page->InsertNodeAt(m_pCurve, m_ptOutline.x, m_ptOutline.y, NODE_SMOOTH);
        if (m_pCurve->GetNodeCount() == countBefore) {
            // Nothing was inserted (the point lay on a node): no step.
            DropUndoStep();
            return TRUE;
        }
        CommitUndoStep();
        SetCurve(m_pCurve);
        InvalidateView();
        return OnLButtonDown(flags, x, y);
    }
    return TRUE;
}

BOOL CVTModifyCurve::OnRButtonDown(UINT, int, int)
{
    EndEditing();
    InvalidateView();
    return TRUE;
}

BOOL CVTModifyCurve::OnLButtonUp(UINT, int, int) { return TRUE; }
BOOL CVTModifyCurve::OnLButtonDblClk(UINT, int, int) { return TRUE; }
BOOL CVTModifyCurve::OnRButtonDblClk(UINT, int, int) { return TRUE; }
BOOL CVTModifyCurve::OnRButtonUp(UINT, int, int) { return TRUE; }

// --- Keys --------------------------------------------------------------------------

BOOL CVTModifyCurve::OnReturnDown() { return TRUE; }
BOOL CVTModifyCurve::OnReturnUp() { return TRUE; }
BOOL CVTModifyCurve::OnShiftUp() { return TRUE; }
BOOL CVTModifyCurve::OnCtrlDown() { return TRUE; }
BOOL CVTModifyCurve::OnCtrlUp() { return TRUE; }
BOOL CVTModifyCurve::OnDeleteUp() { return TRUE; }
BOOL CVTModifyCurve::OnDigitUp(char) { return TRUE; }

BOOL CVTModifyCurve::OnShiftDown()
{
    m_bModified = 0;
    const int wasDragging = m_bDragging;
    CCurveNode* node = ActiveNode();
    CPage* page = CurrentPage();
    if (!m_pCurve || !node || !page) return TRUE;

    // The ends of an open curve are always corners: nothing to switch, and
    // no undo step for nothing.
    if (!m_pCurve->IsClosed()
        && (node == m_pCurve->GetFirstNode() || node == m_pCurve->GetLastNode())) {
        QApplication::beep();
        return TRUE;
    }

    // During a drag the pick-up's held step becomes this step; otherwise a
    // step of its own.
    if (!(wasDragging && CommitUndoStep())) SaveUndoState();
    if (wasDragging) ++m_nDragSnapshots;
    const CPoint dragStart = m_ptDragStart;
    const int dragSnapshots = m_nDragSnapshots;
    page->SetNodeKind(m_pCurve, node, node->GetKind() == NODE_CORNER ? NODE_SMOOTH : NODE_CORNER);
    SetCurve(m_pCurve);
    m_bDragging = wasDragging;
    m_pHoveredNode = node;
    m_currentRecord = FindRecord(node);
    m_ptDragStart = dragStart;
    m_nDragSnapshots = dragSnapshots;
    KeepEndsCorners();
    RebuildPolyline();
    InvalidateView();
    return TRUE;
}

BOOL CVTModifyCurve::OnDeleteDown()
{
    m_bModified = 0;
    m_bCurveRemoved = 0;
    CCurveNode* node = ActiveNode();
    CPage* page = CurrentPage();
    CPageSet* pageSet = GetPageSet();
    if (!m_pCurve || !node || !page || !pageSet) return FALSE;
    const POSITION pos = FindRecord(node);
    if (!pos) return FALSE;

    // A dragged node goes with the drag's held step (from before the
    // pick-up), so Undo brings it back where it was.
    if (!(m_bDragging && CommitUndoStep())) SaveUndoState();
    page->RemoveNode(m_pCurve, node);
    m_pHoveredNode = nullptr;
    m_records.RemoveAt(pos);
    m_currentRecord = nullptr;
    m_bModified = 1;

    const int left = m_records.GetCount();
    if (m_pCurve->IsClosed() ? left <= 2 : left <= 1) {
        // Too few nodes for a curve of its kind: the curve goes, and so do
        // the other curves of its mirror chain, which lost the same node.
        for (CCurveElement* curve : page->MirrorChainOf(m_pCurve)) {
            const int nodes = curve->GetNodeCount();
            if (curve != m_pCurve && (curve->IsClosed() ? nodes > 2 : nodes > 1)) continue;
            pageSet->RemoveElementFromPage(curve);
            delete curve;
        }
        m_pCurve = nullptr;
        m_bCurveRemoved = 1;
        EndEditing();
        InvalidateView();
        return TRUE;
    }

    SetCurve(m_pCurve);
    KeepEndsCorners();
    RebuildPolyline();
    InvalidateView();
    return TRUE;
}

BOOL CVTModifyCurve::OnDigitDown(char digit)
{
    m_bModified = 0;
    if (!m_pCurve || m_bDragging || digit < '0' || digit > '9') return FALSE;
    const int value = digit - '0';
    if (!m_bDigitPending && (value == 1 || value == 2)) {
        // The first digit of 10 to 29.
        m_bDigitPending = 1;
        m_nPendingDigit = value;
        return TRUE;
    }
    const int count = m_bDigitPending ? m_nPendingDigit * 10 + value : value;
    m_bDigitPending = 0;
    m_nPendingDigit = 0;
    if (count == 0) return FALSE;

    // Only a curve that is smooth between its ends can be spread evenly.
    const int nodeCount = m_pCurve->GetNodeCount();
    int index = 0;
    for (const CCurveNode* node : m_pCurve->Nodes()) {
        if (index > 0 && index < nodeCount - 1 && node->GetKind() != NODE_SMOOTH) return TRUE;
        ++index;
    }
    m_bModified = 1;
    const int kind = !m_pCurve->IsClosed() && nodeCount <= 2 ? NODE_CORNER : NODE_SMOOTH;
    Redistribute(count, kind);
    return TRUE;
}

// --- Redistribution -------------------------------------------------------------------

void CVTModifyCurve::Redistribute(int count, int kind)
{
    CPage* page = CurrentPage();
    if (!m_pCurve || !page || count < 2 || m_pCurve->GetNodeCount() < 2) return;
    const bool closed = m_pCurve->IsClosed() != 0;

    CPointList outline;
    m_pCurve->GetOutlinePoints(outline);
    if (outline.IsEmpty()) return;
    SaveUndoState();
    if (closed) outline.AddTail(CPoint(outline.GetHead()));
    double length = 0.0;
    PolylineLength(outline, length);

    // A closed curve gets `count` points all round, the last one step
    // before the first; an open one keeps its two ends.
    std::vector<CPoint> targets;
    const double step = closed ? length / count : length / (count - 1.0);
    const int measured = closed ? count : count - 1;
    for (int i = 0; i < measured; ++i) {
        CPoint p;
        POSITION segStart = nullptr;
        POSITION vertex = nullptr;
        POSITION segEnd = nullptr;
        PointAtSignedLength(outline, i * step, p, segStart, vertex, segEnd);
        targets.push_back(p);
    }
    if (!closed) targets.push_back(outline.GetTail());

    auto moveNode = [](CCurveNode* node, const CPoint& to) {
        if (node && node->GetPoint()) node->GetPoint()->MoveTo(to.x, to.y, 1);
    };

    const int nodeCount = m_pCurve->GetNodeCount();
    const int kept = std::min(nodeCount, count);
    for (int i = 0; i < kept - 1; ++i) moveNode(m_pCurve->GetNodeAt(i), targets[std::size_t(i)]);
    moveNode(m_pCurve->GetLastNode(), targets.back());

    // Too few nodes: each new one goes into the stretch before the last
    // node and then onto its target.
    for (int k = kept - 1; k < count - 1; ++k) {
        CPointList current;
        m_pCurve->GetOutlinePoints(current);
        if (closed && !current.IsEmpty()) current.AddTail(CPoint(current.GetHead()));
        const CPoint prev = targets[std::size_t(k - 1)];
        CPointList rest;
        PathFromPointToEnd(current, prev.x, prev.y, rest);
        double restLength = 0.0;
        PolylineLength(rest, restLength);
        CPoint half;
        POSITION segStart = nullptr;
        POSITION vertex = nullptr;
        POSITION segEnd = nullptr;
        PointAtSignedLength(rest, restLength / 2.0, half, segStart, vertex, segEnd);
        const int before = m_pCurve->GetNodeCount();
        page->InsertNodeAt(m_pCurve, half.x, half.y, kind);
        const int after = m_pCurve->GetNodeCount();
        if (after == before) break;
        moveNode(m_pCurve->GetNodeAt(after - 2), targets[std::size_t(k)]);
    }

    // Too many: the nodes before the last one go, from the end backwards.
    for (int i = m_pCurve->GetNodeCount() - 2; i >= count - 1 && i > 0; --i)
        page->RemoveNode(m_pCurve, m_pCurve->GetNodeAt(i));

    // The spread nodes show as dots until Esc.
    CCurveNodeList nodes = NodesOf(m_pCurve);
    for (CCurveNode* node : nodes) node->SetMark(1);
    m_pCurve->SetNodes(nodes);
    SetCurve(m_pCurve);
    InvalidateView();
}

// --- Pending step -----------------------------------------------------------------

void CVTModifyCurve::Cancel()
{
    if (m_bDragging && m_currentRecord) {
        // The drag is taken back: the node returns to where it was picked
        // up, and the drag's snapshot goes when it is the drag's only one.
        const CCurvePointRec& rec = m_records.GetAt(m_currentRecord);
        if (rec.pNode && rec.pNode->GetPoint())
            rec.pNode->GetPoint()->MoveTo(m_ptDragStart.x, m_ptDragStart.y, 1);
        if (m_nDragSnapshots == 1) DropUndoStep();
    }
    m_bDragging = 0;
    EndEditing();
    InvalidateView();
}

BOOL CVTModifyCurve::UndoStep()
{
    if (!m_bDragging) return FALSE;
    // The drag ends where it stands; its snapshot stays, so the next Undo
    // brings the node back.
    SetCurve(m_pCurve);
    InvalidateView();
    return TRUE;
}

BOOL CVTModifyCurve::HasPendingStep()
{
    return m_pCurve && m_bDragging ? TRUE : FALSE;
}

void CVTModifyCurve::OnEscUp()
{
    if (!m_pCurve) return;
    CCurveNodeList nodes = NodesOf(m_pCurve);
    for (CCurveNode* node : nodes) node->SetMark(0);
    m_pCurve->SetNodes(nodes);
    InvalidateView();
}

// --- Drawing -----------------------------------------------------------------------

void CVTModifyCurve::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc) return;
    DrawMappedPolyline(*dc, m_polyline, scale, originX, originY);
    for (const CCurvePointRec& rec : m_records) DrawPointMark(dc, rec.x, rec.y, scale, originX, originY);
    if (m_pHoveredNode) {
        const POSITION pos = FindRecord(m_pHoveredNode);
        const CPoint p = pos ? CPoint(m_records.GetAt(pos).x, m_records.GetAt(pos).y)
                             : m_pHoveredNode->GetPosition();
        DrawKeyPointMark(dc, p.x, p.y, scale, originX, originY);
    }
    if (m_bOutlinePoint) DrawXMark(dc, m_ptOutline.x, m_ptOutline.y, scale, originX, originY);
    if (m_currentRecord) {
        const CCurvePointRec& rec = m_records.GetAt(m_currentRecord);
        DrawKeyPointMark(dc, rec.x, rec.y, scale, originX, originY);
    }
}

// --- Tool-bar choices ---------------------------------------------------------------

void CVTModifyCurve::OnLineColor()
{
    if (!m_pCurve || m_bDragging) return;
    const COLORREF color = Settings().m_crLineColor;
    if (m_pCurve->GetColor() == color) return;
    SaveUndoState();
    m_pCurve->SetColor(color);
    SetCurve(m_pCurve);
    InvalidateView();
}

// A colour picked in the picker recolours the curve at once, as the
// picker's button does.
void CVTModifyCurve::OnLineColorChanged()
{
    OnLineColor();
}

// Choosing the line type the curve already has takes no undo step: the
// list would otherwise fill with steps that undo nothing. The shapes of a
// custom type are compared too, since the type's own comparison leaves
// them out.
void CVTModifyCurve::OnLineType()
{
    if (!m_pCurve || m_bDragging) return;
    const CSystemSettings& settings = Settings();
    const int index = settings.m_nCurLineType;
    if (index < 0 || index >= int(settings.m_aLineTypes.size())) return;
    const CLineAttr& chosen = settings.m_aLineTypes[std::size_t(index)];
    const CLineAttr current = m_pCurve->GetLineAttr();
    if (current == chosen && current.GetShapes() == chosen.GetShapes()) return;
    SaveUndoState();
    m_pCurve->SetLineAttr(chosen);
    SetCurve(m_pCurve);
    InvalidateView();
}

// Like the line type, an arrowhead the curve already has takes no undo
// step.
void CVTModifyCurve::OnStartArrow()
{
    if (!m_pCurve || m_bDragging || m_pCurve->IsClosed()) return;
    auto* curve = static_cast<COpenCurveElement*>(m_pCurve);
    const CSystemSettings& settings = Settings();
    int kind = 0, size = 0, endKind = 0, endSize = 0;
    double angle = 0, endAngle = 0;
    curve->GetArrowHeads(kind, size, angle, endKind, endSize, endAngle);
    if (kind == settings.m_nStartArrowType && size == settings.m_nStartArrowSize &&
        angle == settings.m_dStartArrowAngle)
        return;
    SaveUndoState();
    curve->SetStartArrowKind(settings.m_nStartArrowType);
    curve->SetStartArrowSize(settings.m_nStartArrowSize);
    curve->SetStartArrowAngle(settings.m_dStartArrowAngle);
    SetCurve(m_pCurve);
    InvalidateView();
}

void CVTModifyCurve::OnEndArrow()
{
    if (!m_pCurve || m_bDragging || m_pCurve->IsClosed()) return;
    auto* curve = static_cast<COpenCurveElement*>(m_pCurve);
    const CSystemSettings& settings = Settings();
    int startKind = 0, startSize = 0, kind = 0, size = 0;
    double startAngle = 0, angle = 0;
    curve->GetArrowHeads(startKind, startSize, startAngle, kind, size, angle);
    if (kind == settings.m_nEndArrowType && size == settings.m_nEndArrowSize && angle == settings.m_dEndArrowAngle)
        return;
    SaveUndoState();
    curve->SetEndArrowKind(settings.m_nEndArrowType);
    curve->SetEndArrowSize(settings.m_nEndArrowSize);
    curve->SetEndArrowAngle(settings.m_dEndArrowAngle);
    SetCurve(m_pCurve);
    InvalidateView();
}

// --- Clipboard ----------------------------------------------------------------------

void CVTModifyCurve::OnEditCopy()
{
    if (!m_pCurve || !GetDocument()) return;
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument()))
        item->CopyElementToClipboard(m_pCurve);
}

void CVTModifyCurve::OnEditCut()
{
    CPageSet* pageSet = GetPageSet();
    if (!m_pCurve || !pageSet) return;
    SaveUndoState();
    OnEditCopy();
    CCurveElement* curve = m_pCurve;
    pageSet->RemoveElementFromPage(curve);
    delete curve;
    m_pCurve = nullptr;
    // The owner stops editing too: it would otherwise hand its events to an
    // editor without a curve.
    EndEditing();
    InvalidateView();
}

BOOL CVTModifyCurve::CanCopy()
{
    return m_pCurve ? TRUE : FALSE;
}
