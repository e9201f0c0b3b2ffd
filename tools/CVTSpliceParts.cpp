#include "tools/CVTSpliceParts.h"

#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <QApplication>

#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr DWORD kPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;
// The box takes curves, pictures, texts and tables; only curves move.
constexpr int kBoxKinds = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE;

// The plain point at the root of a mirror chain.
CSharedPoint* RootOf(CSharedPoint* point)
{
    int guard = 0;
    while (CSharedPoint* source = point->GetMirrorSource()) {
        point = source;
        if (++guard > 100000) break;
    }
    return point;
}

} // namespace

CVTSpliceParts::CVTSpliceParts(CVEKView* view) : CPickingTool(view, kCursor, kPrompt)
{
    CVTSpliceParts::Reset();
}

CVTSpliceParts::~CVTSpliceParts() = default;

void CVTSpliceParts::Reset()
{
    CVectorTool::Reset();
    m_zoom.Release();
    m_bBox = 0;
    m_marks.RemoveAll();
    m_boxElements.RemoveAll();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

// --- Mouse -------------------------------------------------------------------------

void CVTSpliceParts::FillBox()
{
    m_boxElements.RemoveAll();
    if (const CPageSet* pageSet = GetPageSet(); pageSet && pageSet->GetPageCount() > 0)
        pageSet->GetElementsInDragRect(m_ptBoxStart, m_ptBoxEnd, kBoxKinds, m_boxElements);
}

BOOL CVTSpliceParts::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kPointMask;
    const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (m_nStep == kBoxEndStep && m_bBox) {
        m_ptBoxEnd = CPoint(x, y);
        FillBox();
    }
    InvalidateFeedback();
    return captured;
}

// A segment of no length gives no direction and no scale: the second
// point of each segment must lie apart from the first.
bool CVTSpliceParts::TakeSegmentPoint(const CPoint& p)
{
    if ((m_nStep == 1 || m_nStep == 3) && p == m_pt[m_nStep - 1]) return false;
    m_pt[m_nStep] = p;
    m_marks.AddTail(p);
    if (m_nStep == 1) PointDistance(m_pt[0].x, m_pt[0].y, m_pt[1].x, m_pt[1].y, m_dFixedLength);
    if (m_nStep == 3) {
        PointDistance(m_pt[2].x, m_pt[2].y, m_pt[3].x, m_pt[3].y, m_dMovingLength);
        m_dRatio = m_dFixedLength / m_dMovingLength;
        m_dAngle = AngleBetweenLines(m_pt[2].x, m_pt[2].y, m_pt[3].x, m_pt[3].y, m_pt[0].x, m_pt[0].y,
                                     m_pt[1].x, m_pt[1].y);
    }
    return true;
}

BOOL CVTSpliceParts::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    // The point the last move captured, as it showed.
    const CPoint p = m_captureKind == CAPTURED_NOTHING ? CPoint(x, y) : m_capturedPos;
    if (m_nStep < kBoxStartStep) {
        if (!TakeSegmentPoint(p)) {
            QApplication::beep();
            return FALSE;
        }
        ++m_nStep;
    } else if (m_nStep == kBoxStartStep) {
        m_ptBoxStart = m_ptBoxEnd = p;
        m_bBox = 1;
        FillBox();
        m_nStep = kBoxEndStep;
    } else {
        m_ptBoxEnd = CPoint(x, y);
        FillBox();
        MoveComponent();
        Reset();
        InvalidateView();
        return TRUE;
    }
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTSpliceParts::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) m_zoom.OnRButtonDown(flags, y);
    return TRUE;
}

// --- The move ----------------------------------------------------------------------

CPoint CVTSpliceParts::Transform(const CPoint& p) const
{
    const CPoint& centre = m_pt[2];
    CPoint q = p;
    RotatePoint(q, centre.x, centre.y, std::sin(m_dAngle), std::cos(m_dAngle));
    q = CPoint(centre.x + RoundToInt((q.x - centre.x) * m_dRatio), centre.y + RoundToInt((q.y - centre.y) * m_dRatio));
    return CPoint(q.x + m_pt[0].x - centre.x, q.y + m_pt[0].y - centre.y);
}

void CVTSpliceParts::MoveComponent()
{
    CPage* page = CurrentPageOf(GetPageSet());
    if (!page) return;
    // Every node point of the box's curves, once, in the order met.
    std::vector<CSharedPoint*> points;
    std::unordered_set<CSharedPoint*> seen;
    for (CGraphElement* element : m_boxElements) {
        if (element->GetType() != ELEMENT_CURVE) continue;
        for (CCurveNode* node : static_cast<CCurveElement*>(element)->Nodes())
            if (CSharedPoint* point = node->GetPoint(); point && seen.insert(point).second) points.push_back(point);
    }
    // Nothing to move: no step.
    if (points.empty()) return;

    // Each root of a mirror chain moves once: itself when it was collected,
    // else through the first of its mirrors that was.
    std::vector<std::pair<CSharedPoint*, CPoint>> moves;
    std::unordered_map<CSharedPoint*, bool> roots;
    for (CSharedPoint* point : points)
        if (!point->IsMirrored()) roots[point] = true;
    for (CSharedPoint* point : points) {
        CSharedPoint* root = RootOf(point);
        if (root == point || roots.count(root) == 0) {
            roots[root] = true;
            moves.emplace_back(point, Transform(point->GetPosition()));
        }
    }
    // An axis whose every mirrored point has its root among those moved
    // moves with them, so the images keep to their sources.
    std::unordered_map<CSharedPoint*, bool> axisMoves;
    for (CSharedPoint* point : page->Points()) {
        CSharedPoint* a1 = nullptr;
        CSharedPoint* a2 = nullptr;
        point->GetMirrorAxis(a1, a2);
        if (!point->IsMirrored() || !a1 || !a2) continue;
        const bool follows = roots.count(RootOf(point)) > 0;
        for (CSharedPoint* axis : {a1, a2}) {
            auto it = axisMoves.find(axis);
            if (it == axisMoves.end())
                axisMoves[axis] = follows && !axis->IsMirrored() && !seen.count(axis);
            else if (!follows)
                it->second = false;
        }
    }

    SaveUndoState();
    // The axes first: the mirrored points' targets are reflected across
    // them on the way to their roots.
    for (const auto& [axis, follows] : axisMoves)
        if (follows) {
            const CPoint to = Transform(axis->GetPosition());
            axis->MoveTo(to.x, to.y, 1);
        }
    for (const auto& [point, to] : moves) point->MoveTo(to.x, to.y, 1);
}

// --- Drawing -----------------------------------------------------------------------

void CVTSpliceParts::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    for (const CPoint& p : m_marks) DrawPointMark(dc, p.x, p.y, scale, originX, originY);
    if (m_bBox)
        DrawRubberRect(dc, m_ptBoxStart.x, m_ptBoxStart.y, m_ptBoxEnd.x, m_ptBoxEnd.y, scale, originX, originY);
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    for (CGraphElement* element : m_boxElements) element->DrawHighlight(dc, scale, originX, originY, clip);
    CVectorTool::Draw(dc, scale, originX, originY, rect);
}
