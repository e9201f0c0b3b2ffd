#include "model/CCurveElement.h"

#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "geometry/Spline.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Lines up to this width are stroked as polylines; wider ones as filled
// bands, so that their dashes end square.
constexpr int kThinLineLimit = 20;
// Pen width of the thin dashed side and centre lines.
constexpr int kThinPen = 10;
// A gap that rounds below this vanishes on paper; the dashes around it
// are joined, and a pattern without any visible gap is drawn plain.
constexpr int kMinGap = 10;
// The dotted line's period is never taken shorter than this.
constexpr double kMinDotPeriod = 20.0;
// More periods than this along one path come only from damaged files (a
// metre of the finest dotted line holds 5000); such a line is drawn plain
// rather than cut into millions of pieces.
constexpr double kMaxPeriods = 100000.0;

// The first position in `list` at or after `from` in list order, wrapping
// past the tail to the head.
POSITION NextWrapped(const CPointList& list, POSITION pos)
{
    POSITION next = CPointList::NextOf(pos);
    return next ? next : list.GetHeadPosition();
}

// Points of `list` from `from` to `to`, both included, wrapping to the
// head when the tail comes first.
CPointList CollectStretch(const CPointList& list, POSITION from, POSITION to)
{
    CPointList out;
    if (!from || !to) return out;
    POSITION pos = from;
    for (int guard = list.GetCount(); guard >= 0; --guard) {
        out.AddTail(list.GetAt(pos));
        if (pos == to) break;
        pos = NextWrapped(list, pos);
    }
    return out;
}

// A point at a length along a path, found on the path as it is: either a
// vertex of the path, or a point inside the segment after `segStart`.
struct PathPoint {
    CPoint point;
    POSITION segStart = nullptr;
    POSITION vertex = nullptr;
};

PathPoint LocateOnPath(const CPointList& path, double length)
{
    PathPoint found;
    POSITION segEnd = nullptr;
    const int reached = PointAtSignedLength(path, std::max(length, 0.0), found.point,
                                            found.segStart, found.vertex, segEnd);
    if (found.vertex || (reached && found.segStart)) return found;
    // Beyond the end, which only rounding can ask for: the last vertex.
    found.vertex = path.GetTailPosition();
    found.segStart = nullptr;
    if (found.vertex) found.point = path.GetAt(found.vertex);
    return found;
}

// Cuts the stretch from length `from` to length `to` (or to the vertex
// `toVertex` when it is given) out of `work`: points that fall between
// vertices are put into the list for the time of the cut, `emit` receives
// the stretch's two positions, and the list is restored afterwards.
template <class Emit>
void CutStretch(CPointList& work, double from, double to, POSITION toVertex, Emit emit)
{
    if (work.IsEmpty()) return;
    const PathPoint a = LocateOnPath(work, from);
    PathPoint b;
    if (toVertex) {
        b.vertex = toVertex;
        b.point = work.GetAt(toVertex);
    } else {
        b = LocateOnPath(work, to);
    }
    // Both ends are found on the path as it was; an end inside the segment
    // that also holds the start goes in after the start.
    const POSITION posA = a.vertex ? a.vertex : work.InsertAfter(a.segStart, a.point);
    POSITION posB = b.vertex;
    if (!posB)
        posB = work.InsertAfter(!a.vertex && b.segStart == a.segStart ? posA : b.segStart,
                                b.point);
    emit(posA, posB);
    if (!b.vertex) work.RemoveAt(posB);
    if (!a.vertex) work.RemoveAt(posA);
}

}  // namespace

CCurveElement::CCurveElement(CPage* page, int level, int closed)
    : CGraphElement(page, ELEMENT_CURVE, level), m_closed(closed ? 1 : 0)
{
}

CCurveElement::CCurveElement(CPage* page, int level, int closed, const CLineAttr& line,
                             COLORREF color, const CCurveNodeList& nodes,
                             CCurveElement* mirrorSource)
    : CCurveElement(page, level, closed)
{
    m_lineAttr = line;
    m_color = color;
    for (CCurveNode* node : nodes) {
        if (!node) continue;
        m_nodes.AddTail(node);
        CSharedPoint* point = node->GetPoint();
        if (point && page && !page->FindPoint(point)) page->AddPoint(point);
    }
    m_mirrorSource = mirrorSource;
}

CCurveElement::~CCurveElement()
{
    DeleteAllNodes();
}

void CCurveElement::DeleteAllNodes()
{
    // Several nodes may stand on one point: each point is offered to the
    // page once, after all nodes are gone, so none is asked about twice.
    std::vector<CSharedPoint*> points;
    while (!m_nodes.IsEmpty()) {
        CCurveNode* node = m_nodes.RemoveHead();
        CSharedPoint* point = node->GetPoint();
        if (point && std::find(points.begin(), points.end(), point) == points.end())
            points.push_back(point);
        delete node;
    }
    CPage* page = GetLayer();
    if (!page) return;
    for (CSharedPoint* point : points) page->RemovePointIfUnusedExcept(point, this);
}

// ---------------------------------------------------------------------------
// Attributes and nodes

void CCurveElement::SetLineAttr(const CLineAttr& line)
{
    m_lineAttr = line;
    InvalidateBounds();
}

void CCurveElement::ResolveMirrorSource()
{
    m_mirrorSource = nullptr;
    CPage* page = GetLayer();
    if (!page || m_mirrorSourceIndex < 0) return;
    CGraphElement* element = page->ElementAt(m_mirrorSourceIndex);
    if (!element || element == this || element->GetType() != ELEMENT_CURVE) return;
    m_mirrorSource = dynamic_cast<CCurveElement*>(element);
}

void CCurveElement::GetNodes(CCurveNodeList& out) const
{
    out.RemoveAll();
    out.AddTail(m_nodes);
}

void CCurveElement::SetNodes(const CCurveNodeList& nodes)
{
    CCurveNodeList old;
    old.AddTail(m_nodes);
    m_nodes.RemoveAll();
    for (CCurveNode* node : nodes)
        if (node) m_nodes.AddTail(node);

    CPage* page = GetLayer();
    for (CCurveNode* node : old) {
        if (m_nodes.Find(node)) continue;
        if (page) page->RemovePointIfUnused(node->GetPoint());
        delete node;
    }
    InvalidateBounds();
}

CCurveNode* CCurveElement::GetNodeAt(int index) const
{
    const POSITION pos = m_nodes.FindIndex(index);
    return pos ? m_nodes.GetAt(pos) : nullptr;
}

int CCurveElement::IndexOfNode(const CCurveNode* node) const
{
    int index = 0;
    for (const CCurveNode* n : m_nodes) {
        if (n == node) return index;
        ++index;
    }
    return -1;
}

int CCurveElement::UsesPoint(const CSharedPoint* point) const
{
    if (!point) return 0;
    for (const CCurveNode* node : m_nodes)
        if (node->GetPoint() == point) return 1;
    return 0;
}

int CCurveElement::UnitsPerMM() const
{
    const CPage* page = GetLayer();
    return page ? page->GetUnitsPerMM() : 100;
}

// ---------------------------------------------------------------------------
// Outline

void CCurveElement::RecalcIfDirty()
{
    if (IsBoundsDirty()) RecalcGeometry();
}

void CCurveElement::RecalcGeometry()
{
    BuildOutline();
    ClearBoundsDirty();
}

void CCurveElement::BuildOutline()
{
    m_outline.RemoveAll();
    if (m_nodes.IsEmpty()) return;

    // The outline starts at the first corner, so that a smooth run is never
    // cut at the list's head.
    POSITION start = m_nodes.GetHeadPosition();
    bool anyCorner = false;
    for (POSITION pos = m_nodes.GetHeadPosition(); pos; pos = CCurveNodeList::NextOf(pos)) {
        if (m_nodes.GetAt(pos)->GetKind() == NODE_CORNER) {
            start = pos;
            anyCorner = true;
            break;
        }
    }

    CPointList run;
    CPointList smooth;
    bool inSmoothRun = false;
    POSITION pos = start;
    for (int i = 0; i < m_nodes.GetCount(); ++i) {
        const CCurveNode* node = m_nodes.GetAt(pos);
        const CPoint p = node->GetPosition();
        if (node->GetKind() == NODE_CORNER) {
            run.AddTail(p);
            if (inSmoothRun) {
                MakeSmoothCurve(run, 0, smooth);
                m_outline.AddTail(smooth);
                run.RemoveAll();
                run.AddTail(p);
            }
            inSmoothRun = false;
        } else if (node->GetKind() == NODE_SMOOTH) {
            if (!inSmoothRun && run.GetCount() >= 2) {
                m_outline.AddTail(run);
                const CPoint last = run.GetTail();
                run.RemoveAll();
                run.AddTail(last);
            }
            run.AddTail(p);
            inSmoothRun = true;
        }
        pos = CCurveNodeList::NextOf(pos);
        if (!pos) pos = m_nodes.GetHeadPosition();
    }
    if (m_closed) run.AddTail(m_nodes.GetAt(start)->GetPosition());

    if (run.GetCount() <= 2) {
        m_outline.AddTail(run);
    } else if (!anyCorner) {
        // Smooth all round: one closed spline, closed again at its end
        // (also for an open curve).
        MakeSmoothCurve(run, 1, smooth);
        if (!smooth.IsEmpty()) smooth.AddTail(CPoint(smooth.GetHead()));
        m_outline.AddTail(smooth);
    } else if (inSmoothRun) {
        MakeSmoothCurve(run, 0, smooth);
        m_outline.AddTail(smooth);
    } else {
        m_outline.AddTail(run);
    }
}

void CCurveElement::GetOutlinePoints(CPointList& out)
{
    RecalcIfDirty();
    out = m_outline;
}

void CCurveElement::GetLineShapes(CLineTypeShapeList& out)
{
    RecalcIfDirty();
    out = m_shapes;
}

const CPointList& CCurveElement::Outline()
{
    RecalcIfDirty();
    return m_outline;
}

// ---------------------------------------------------------------------------
// Pattern builders

void CCurveElement::AddPlainShape(const CPointList& path, int penWidth)
{
    m_shapes.AddTail(CLineTypeShape(penWidth, 0, path));
}

bool CCurveElement::FitPeriods(const CPointList& path, double period, double countFirst,
                               double fitFraction, PatternFit& fit) const
{
    double length = 0.0;
    PolylineLength(path, length);
    if (!(period > 0.0) || !(length > 0.0)) return false;
    const double periods = m_closed ? length / period : (length - countFirst) / period;
    if (!(periods < kMaxPeriods)) return false;
    const int n = std::max(1, RoundToInt(periods));
    const double slots = m_closed ? double(n) : n + fitFraction;
    if (!(slots > 0.0)) return false;
    fit.periods = n;
    fit.period = period;
    fit.h = length / slots;
    return std::isfinite(fit.h) && fit.h > 0.0;
}

CLineTypeShape CCurveElement::StrokeSpan(const CPointList& path, POSITION from,
                                         POSITION to) const
{
    CPointList stretch = CollectStretch(path, from, to);
    const int width = m_lineAttr.GetWidth();
    if (width <= kThinLineLimit) return CLineTypeShape(width, 0, stretch);
    if (stretch.GetCount() < 2) return CLineTypeShape();

    const int half = RoundToInt(width / 2.0);
    CPointList left, right;
    GetOffsetPolyline(stretch, 0, half, left);
    GetOffsetPolyline(stretch, 0, -half, right);
    CPointList band = left;
    for (POSITION pos = right.GetTailPosition(); pos;) band.AddTail(right.GetPrev(pos));
    return CLineTypeShape(1, 1, band);
}

CLineTypeShape CCurveElement::StrokeThinSpan(const CPointList& path, POSITION from,
                                             POSITION to) const
{
    return CLineTypeShape(kThinPen, 0, CollectStretch(path, from, to));
}

void CCurveElement::AddSpan(CPointList& work, POSITION from, POSITION to, bool thin,
                            const CustomPattern* custom)
{
    if (custom)
        FitPatternToSpan(work, from, to, *custom);
    else
        m_shapes.AddTail(thin ? StrokeThinSpan(work, from, to) : StrokeSpan(work, from, to));
}

