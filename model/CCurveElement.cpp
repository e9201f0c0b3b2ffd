#include "model/CCurveElement.h"

#include "model/CCurveNode.h"
#include "model/CDashLayout.h"
#include "model/CDrawPreparation.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/LineReach.h"
#include "model/ShapePainting.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "geometry/Spline.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

using LineReach::Inflated;
using LineReach::kJoinReach;
using LineReach::kThinPen;

// Lines up to this width are stroked as polylines; wider ones as filled
// bands, so that their dashes end square.
constexpr int kThinLineLimit = 20;
// A gap that rounds below this vanishes on paper; the dashes around it
// are joined, and a pattern without any visible gap is drawn plain.
constexpr int kMinGap = 10;
// The dotted line's period is never taken shorter than this.
constexpr double kMinDotPeriod = 20.0;
// More periods than this along one path come only from damaged files (a
// metre of the finest dotted line holds 5000); such a line is drawn plain
// rather than cut into millions of pieces.
constexpr double kMaxPeriods = 100000.0;
// Lines of up to this many dashes are laid out whole; beyond (a couple of
// metres of dotted line), only the dashes that are drawn.
constexpr long long kEagerDashes = 2000;

// The position after `pos`, wrapping past the tail to the head.
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

}  // namespace

// A pattern laid out only where it is drawn.
struct CCurveElement::LazyDashes {
    CDashLayout layout;
    bool thin;
    bool hasCustom;
    CustomPattern custom;
    CRect bounds;  // holds every dash
    int reach;     // how far a dash paints beyond its stretch
};

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
    points.reserve(std::size_t(m_nodes.GetCount()));
    while (!m_nodes.IsEmpty()) {
        CCurveNode* node = m_nodes.RemoveHead();
        if (CSharedPoint* point = node->GetPoint()) points.push_back(point);
        delete node;
    }
    if (CPage* page = GetLayer()) page->RemovePointsIfUnused(points, this);
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

    // Points are offered only once every dropped node is gone: two nodes
    // may stand on one point.
    std::vector<CSharedPoint*> points;
    for (CCurveNode* node : old) {
        if (m_nodes.Find(node)) continue;
        points.push_back(node->GetPoint());
        delete node;
    }
    if (CPage* page = GetLayer()) page->RemovePointsIfUnused(points);
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
    if (IsBoundsDirty() || m_outlineCut) RecalcGeometry();
}

bool CCurveElement::MayCutOutlineForPaint() const
{
    return m_lineAttr.GetKind() == LINE_PLAIN;
}

void CCurveElement::RecalcForPaint(const CRect& area)
{
    const bool holds = m_cutFor.left <= area.left && m_cutFor.top <= area.top && area.right <= m_cutFor.right
        && area.bottom <= m_cutFor.bottom;
    if (!IsBoundsDirty() && (!m_outlineCut || holds)) return;
    if (!MayCutOutlineForPaint()) {
        if (IsBoundsDirty()) RecalcGeometry();
        return;
    }
    m_cutAreas = {Inflated(area, PaintReach())};
    const long long endReach = EndReach();
    if (endReach > 0 && !m_nodes.IsEmpty()) {
        // What is drawn at an end (an arrowhead) follows the outline there
        // wherever the end lies, so the outline stays whole around it.
        bool anyCorner = false;
        const POSITION start = OutlineStart(anyCorner);
        // The outline ends where it started when it closes, else on the
        // node before its start.
        POSITION last = start;
        if (!m_closed && anyCorner) {
            last = CCurveNodeList::PrevOf(start);
            if (!last) last = m_nodes.GetTailPosition();
        }
        for (const POSITION end : {start, last}) {
            const CPoint p = m_nodes.GetAt(end)->GetPosition();
            m_cutAreas.push_back(Inflated(CRect(p.x, p.y, p.x, p.y), endReach));
        }
    }
    RecalcGeometry();
    m_cutAreas.clear();
}

long long CCurveElement::EndReach() const
{
    return 0;
}

long long CCurveElement::PaintReach() const
{
    // The line reaches past its path by its joins; a pixel more for the
    // stroke's anti-aliasing is in the paint area already.
    const double pen = std::max(std::fabs(double(m_lineAttr.GetWidth())), double(kThinPen));
    return static_cast<long long>(std::min(kJoinReach * pen, 1.0e12)) + 2;
}

void CCurveElement::RecalcForPaint(double scale, int originX, int originY, const CRect& clip)
{
    RecalcForPaint(PaintArea(scale, originX, originY, clip));
}

void CCurveElement::RecalcGeometry()
{
    ++m_geometryVersion;
    m_lazyDashes.clear();
    m_tooManyPeriods = false;
    m_outlineCut = false;
    BuildOutline();
    if (m_outlineCut) {
        m_cutFor = m_cutAreas.front();
        m_wholeBounds.UnionRect(m_wholeBounds, PolylineBoundRect(m_outline));
    }
    ClearBoundsDirty();
}

void CCurveElement::AddSmoothRun(const CPointList& run, int closed, CPointList& smooth)
{
    if (m_cutAreas.empty()) {
        MakeSmoothCurve(run, closed, smooth);
        return;
    }
    const CCurveCut cut = MakeSmoothCurveWithin(run, closed, m_cutAreas, smooth);
    if (!cut.shortened) return;
    if (m_outlineCut)
        m_wholeBounds.UnionRect(m_wholeBounds, cut.bounds);
    else
        m_wholeBounds = cut.bounds;
    m_outlineCut = true;
}

POSITION CCurveElement::OutlineStart(bool& anyCorner) const
{
    // The outline starts at the first corner, so that a smooth run is never
    // cut at the list's head.
    anyCorner = false;
    for (POSITION pos = m_nodes.GetHeadPosition(); pos; pos = CCurveNodeList::NextOf(pos)) {
        if (m_nodes.GetAt(pos)->GetKind() == NODE_CORNER) {
            anyCorner = true;
            return pos;
        }
    }
    return m_nodes.GetHeadPosition();
}

void CCurveElement::BuildOutline()
{
    m_outline.RemoveAll();
    if (m_nodes.IsEmpty()) return;

    bool anyCorner = false;
    const POSITION start = OutlineStart(anyCorner);

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
                AddSmoothRun(run, 0, smooth);
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

    // A curve of corners alone is its run: the run's points become the
    // outline rather than being copied into it.
    const auto takeRun = [this](CPointList& points) {
        if (m_outline.IsEmpty())
            m_outline = std::move(points);
        else
            m_outline.AddTail(points);
    };
    if (run.GetCount() <= 2) {
        takeRun(run);
    } else if (!anyCorner) {
        // Smooth all round: one closed spline, closed again at its end
        // (also for an open curve, whose run does not repeat its start).
        if (run.GetTail() != run.GetHead()) run.AddTail(CPoint(run.GetHead()));
        AddSmoothRun(run, 1, smooth);
        if (!smooth.IsEmpty()) smooth.AddTail(CPoint(smooth.GetHead()));
        m_outline.AddTail(smooth);
    } else if (inSmoothRun) {
        AddSmoothRun(run, 0, smooth);
        m_outline.AddTail(smooth);
    } else {
        takeRun(run);
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
    for (const auto& lazy : m_lazyDashes) {
        const CustomPattern* custom = lazy->hasCustom ? &lazy->custom : nullptr;
        lazy->layout.LayOutAll([&](CPointList& work, POSITION from, POSITION to) {
            AddSpan(work, from, to, lazy->thin, custom, out);
        });
    }
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
    if (!(periods < kMaxPeriods)) {
        m_tooManyPeriods = true;
        return false;
    }
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
                            const CustomPattern* custom, CLineTypeShapeList& out) const
{
    if (custom)
        FitPatternToSpan(work, from, to, *custom, out);
    else
        out.AddTail(thin ? StrokeThinSpan(work, from, to) : StrokeSpan(work, from, to));
}

void CCurveElement::LayOutPattern(const CPointList& path, const std::vector<double>& pattern,
                                  int periods, bool thin, const CustomPattern* custom)
{
    CDashLayout layout(path, pattern, periods, m_closed != 0);
    if (layout.DashCount() <= kEagerDashes) {
        layout.LayOutAll([&](CPointList& work, POSITION from, POSITION to) {
            AddSpan(work, from, to, thin, custom, m_shapes);
        });
        return;
    }
    CRect bounds;
    int reach = 0;
    LazyDashExtent(path, thin, custom, bounds, reach);
    m_lazyDashes.push_back(std::make_unique<LazyDashes>(
        LazyDashes{std::move(layout), thin, custom != nullptr, custom ? *custom : CustomPattern(), bounds, reach}));
}

void CCurveElement::LazyDashExtent(const CPointList& path, bool thin, const CustomPattern* custom,
                                   CRect& bounds, int& reach) const
{
    const int width = m_lineAttr.GetWidth();
    bounds = PolylineBoundRect(path);
    if (thin) {
        reach = kJoinReach * kThinPen;
        return;
    }
    if (custom) {
        // A fitted pattern point lies |v| from the path, v its distance
        // from the pattern's middle across the line.
        const bool plain = width <= kThinLineLimit || !(custom->cx > 0.0) || !(custom->cy > 0.0);
        double across = 0.0;
        double pen = std::abs(double(width));
        if (!plain) {
            pen = 0.0;
            for (const CLineTypeShape& shape : m_lineAttr.GetShapes()) {
                for (const CPoint& p : shape.GetPoints())
                    across = std::max(across, std::abs(double(p.y) - custom->midY) / custom->cy);
                pen = std::max(pen, std::abs(shape.GetPenWidth() / custom->cy));
            }
        }
        bounds = Inflated(bounds, static_cast<long long>(std::min(std::ceil(across) + 1.0, 4.0e9)));
        reach = int(std::min(kJoinReach * pen + across + 1.0, double(INT_MAX)));
        return;
    }
    if (width <= kThinLineLimit) {
        reach = kJoinReach * std::max(width, 1);
        return;
    }
    // A band's corners are those of the whole path's band; its cut ends lie
    // half the width from the path.
    const int half = RoundToInt(width / 2.0);
    CPointList work = path, side;
    GetOffsetPolyline(work, 0, half, side);
    bounds.UnionRect(bounds, PolylineBoundRect(side));
    GetOffsetPolyline(work, 0, -half, side);
    bounds.UnionRect(bounds, PolylineBoundRect(side));
    bounds.UnionRect(bounds, Inflated(PolylineBoundRect(path), std::abs(static_cast<long long>(half)) + 1));
    reach = int(std::min(std::abs(static_cast<long long>(half)) * 2 + 1, static_cast<long long>(INT_MAX)));
}

void CCurveElement::BuildDashLine(const CPointList& path)
{
    m_shapes.RemoveAll();
    const int width = m_lineAttr.GetWidth();
    const double p1 = m_lineAttr.GetParam(1);
    const double p2 = m_lineAttr.GetParam(2);
    PatternFit fit;
    if (m_lineAttr.DrawsPlain() ||
        !FitPeriods(path, m_lineAttr.GetPeriod(), p1, p1 / m_lineAttr.GetPeriod(), fit)) {
        AddPlainShape(path, width);
        return;
    }
    const double dash = fit.Scale(p1), gap = fit.Scale(p2);
    if (RoundToInt(gap) < kMinGap) {
        AddPlainShape(path, width);
        return;
    }
    LayOutPattern(path, {dash, gap}, fit.periods, false, nullptr);
}

void CCurveElement::BuildDotLine(const CPointList& path)
{
    m_shapes.RemoveAll();
    const int width = m_lineAttr.GetWidth();
    const double p2 = m_lineAttr.GetParam(2);
    const double period = std::max(double(m_lineAttr.GetPeriod()), kMinDotPeriod);
    PatternFit fit;
    if (m_lineAttr.DrawsPlain() || !FitPeriods(path, period, width, width / period, fit)) {
        AddPlainShape(path, width);
        return;
    }
    const double dot = fit.Scale(width), gap = fit.Scale(p2);
    if (RoundToInt(gap) < kMinGap) {
        AddPlainShape(path, width);
        return;
    }
    LayOutPattern(path, {dot, gap}, fit.periods, false, nullptr);
}

// Fits whole periods of the dash pattern p1..p<count> to the path and
// scales the dashes and gaps to them; false when the line is drawn plain.
bool CCurveElement::FitDashPattern(const CPointList& path, int count, PatternFit& fit,
                                   std::vector<double>& scaled) const
{
    const double p1 = m_lineAttr.GetParam(1);
    if (m_lineAttr.DrawsPlain() ||
        !FitPeriods(path, m_lineAttr.GetPeriod(), p1, p1 / m_lineAttr.GetPeriod(), fit))
        return false;
    scaled.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) scaled[std::size_t(i)] = fit.Scale(m_lineAttr.GetParam(i + 1));
    return true;
}

void CCurveElement::BuildDashPairLine(const CPointList& path)
{
    m_shapes.RemoveAll();
    const int width = m_lineAttr.GetWidth();
    PatternFit fit;
    std::vector<double> d;
    if (!FitDashPattern(path, 4, fit, d)) {
        AddPlainShape(path, width);
        return;
    }
    // Gaps too short to see are merged away, the second gap first.
    if (RoundToInt(d[3]) < kMinGap) {
        d[1] += d[3];
        d[3] = 0.0;
    }
    if (RoundToInt(d[1]) < kMinGap) {
        d[2] += d[1];
        d[1] = 0.0;
    }
    if (RoundToInt(d[1] + d[3]) < kMinGap) {
        AddPlainShape(path, width);
        return;
    }
    LayOutPattern(path, d, fit.periods, false, nullptr);
}

void CCurveElement::BuildDashTripleLine(const CPointList& path)
{
    m_shapes.RemoveAll();
    const int width = m_lineAttr.GetWidth();
    PatternFit fit;
    std::vector<double> d;
    if (!FitDashPattern(path, 6, fit, d)) {
        AddPlainShape(path, width);
        return;
    }
    if (RoundToInt(d[5]) < kMinGap) {
        d[4] += d[5];
        d[5] = 0.0;
    }
    if (RoundToInt(d[3]) < kMinGap) {
        d[4] += d[3];
        d[3] = 0.0;
    }
    if (RoundToInt(d[1]) < kMinGap) {
        d[2] += d[1];
        d[1] = 0.0;
    }
    if (RoundToInt(d[1] + d[3] + d[5]) < kMinGap) {
        AddPlainShape(path, width);
        return;
    }
    LayOutPattern(path, d, fit.periods, false, nullptr);
}

void CCurveElement::BuildSideDashLine(const CPointList& path)
{
    // The side lines keep their own fixed rhythm: dash and gap of half a
    // period each, whatever the parameters say; p1 only sets the count.
    const double period = m_lineAttr.GetPeriod();
    PatternFit fit;
    if (!FitPeriods(path, period, m_lineAttr.GetParam(1), 0.5, fit)) {
        AddPlainShape(path, kThinPen);
        return;
    }
    const double half = fit.h / 2.0;
    if (RoundToInt(half) < kMinGap) {
        AddPlainShape(path, kThinPen);
        return;
    }
    LayOutPattern(path, {half, half}, fit.periods, true, nullptr);
}

void CCurveElement::BuildCustomPatternLine(const CPointList& path)
{
    m_shapes.RemoveAll();
    const int width = m_lineAttr.GetWidth();
    const double p1 = m_lineAttr.GetParam(1);
    const double p2 = m_lineAttr.GetParam(2);
    const double period = p1 + p2;
    PatternFit fit;
    // A pattern of no length (or without shapes) cannot be repeated along
    // the line; it is drawn plain instead of dividing by its length.
    if (m_lineAttr.DrawsPlain() || !FitPeriods(path, period, p1, p1 / period, fit)) {
        AddPlainShape(path, width);
        return;
    }
    CustomPattern pattern;
    for (const CLineTypeShape& shape : m_lineAttr.GetShapes())
        pattern.bounds.UnionRect(pattern.bounds, shape.GetBoundRect());
    const double length = fit.Scale(p1), gap = fit.Scale(p2);
    pattern.midY = RoundToInt((double(pattern.bounds.top) + pattern.bounds.bottom) / 2.0);
    pattern.cx = pattern.bounds.Width() / length;
    pattern.cy = width != 0 ? pattern.bounds.Height() / double(width) : 0.0;
    LayOutPattern(path, {length, gap}, fit.periods, false, &pattern);
}

void CCurveElement::FitPatternToSpan(CPointList& work, POSITION from, POSITION to,
                                     const CustomPattern& pattern, CLineTypeShapeList& out) const
{
    const int width = m_lineAttr.GetWidth();
    if (width <= kThinLineLimit || !(pattern.cx > 0.0) || !(pattern.cy > 0.0)) {
        out.AddTail(CLineTypeShape(width, 0, CollectStretch(work, from, to)));
        return;
    }

    const double mm = UnitsPerMM();
    const CPoint end = work.GetAt(to);
    for (const CLineTypeShape& shape : m_lineAttr.GetShapes()) {
        CPointList mapped;
        for (const CPoint& p : shape.GetPoints()) {
            const double u = (p.x - pattern.bounds.left) / pattern.cx;
            const double v = (p.y - pattern.midY) / pattern.cy;

            CPoint q;
            POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
            POSITION qPos = nullptr;
            bool inserted = false;
            if (!PointAlongPathFromNode(work, from, u, q, segStart, vertex, segEnd)) {
                q = end;
                qPos = to;
            } else if (vertex) {
                qPos = vertex;
            } else {
                qPos = work.InsertAfter(segStart, q);
                inserted = true;
            }

            // The line's direction at Q, from the first vertex a millimetre
            // on (or back, near the end of the path).
            CPoint d;
            double turn = 1.0;
            if (!VertexAlongPathFromNode(work, qPos, mm, d)) {
                VertexAlongPathFromNode(work, qPos, -mm, d);
                turn = -1.0;
            }
            if (inserted) work.RemoveAt(qPos);

            CPoint m = q;
            double len = 0.0;
            PointDistance(q.x, q.y, d.x, d.y, len);
            if (len > 0.0) {
                m = CPoint(RoundToInt(q.x + v * (d.x - q.x) / len),
                           RoundToInt(q.y + v * (d.y - q.y) / len));
                RotatePoint(m, q.x, q.y, turn, 0.0);
            }
            mapped.AddTail(m);
        }
        if (mapped.IsEmpty()) continue;
        out.AddTail(CLineTypeShape(RoundToInt(shape.GetPenWidth() / pattern.cy), shape.IsFilled(), mapped));
    }
}

// ---------------------------------------------------------------------------
// Hit tests

int CCurveElement::FindNearestOutlinePoint(const CPoint& point, double tolerance, CPoint& found,
                                           double& distance)
{
    RecalcIfDirty();
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    return NearestPointOnPath(m_outline, tolerance, point.x, point.y, found, distance, segStart,
                              vertex, segEnd);
}

int CCurveElement::NearestNodeOf(const CPoint& point, double tolerance, bool verticesOnly,
                                 CCurveNode*& node, double& distance)
{
    CCurveNode* best = nullptr;
    double bestDistance = 0.0;
    const CCurveNode* first = GetFirstNode();
    const CCurveNode* last = GetLastNode();
    for (CCurveNode* n : m_nodes) {
        const int kind = n->GetKind();
        bool counts = verticesOnly ? kind == NODE_CORNER : kind == NODE_CORNER || kind == NODE_SMOOTH;
        if (verticesOnly && !m_closed && (n == first || n == last)) counts = true;
        if (!counts) continue;
        const CPoint p = n->GetPosition();
        double d = 0.0;
        PointDistance(point.x, point.y, p.x, p.y, d);
        if (!best || d < bestDistance) {
            best = n;
            bestDistance = d;
        }
    }
    if (!best || bestDistance > tolerance) return 0;
    node = best;
    distance = bestDistance;
    return 1;
}

int CCurveElement::FindNearestVertex(const CPoint& point, double tolerance, CCurveNode*& node,
                                     double& distance)
{
    return NearestNodeOf(point, tolerance, true, node, distance);
}

int CCurveElement::FindNearestNode(const CPoint& point, double tolerance, CCurveNode*& node,
                                   double& distance)
{
    return NearestNodeOf(point, tolerance, false, node, distance);
}

int CCurveElement::FindSpan(const CPoint& point, double tolerance, CPoint& nearest,
                            double& distance, POSITION& before, POSITION& at, POSITION& after)
{
    RecalcIfDirty();
    CPoint found;
    double foundDistance = 0.0;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    const int hit = m_closed ? NearestPointOnClosedPath(m_outline, tolerance, point.x, point.y,
                                                        found, foundDistance, segStart, vertex,
                                                        segEnd)
                             : NearestPointOnPath(m_outline, tolerance, point.x, point.y, found,
                                                  foundDistance, segStart, vertex, segEnd);
    if (!hit || m_nodes.IsEmpty()) return 0;

    // The nodes in the order the outline passes them: from the first
    // corner (where the outline starts) round to the node before it.
    std::vector<POSITION> order;
    POSITION start = m_nodes.GetHeadPosition();
    for (POSITION pos = start; pos; pos = CCurveNodeList::NextOf(pos)) {
        if (m_nodes.GetAt(pos)->GetKind() == NODE_CORNER) {
            start = pos;
            break;
        }
    }
    for (POSITION pos = start; order.size() < std::size_t(m_nodes.GetCount());) {
        order.push_back(pos);
        pos = CCurveNodeList::NextOf(pos);
        if (!pos) pos = m_nodes.GetHeadPosition();
    }

    // Walk the outline up to the found segment's start, passing each node
    // as its position comes by.
    std::size_t next = 0;
    POSITION last = nullptr;
    for (POSITION pos = m_outline.GetHeadPosition(); pos; pos = CPointList::NextOf(pos)) {
        const CPoint& p = m_outline.GetAt(pos);
        while (next < order.size() && m_nodes.GetAt(order[next])->GetPosition() == p)
            last = order[next++];
        if (pos == segStart) break;
    }
    POSITION following = nullptr;
    if (next < order.size())
        following = order[next];
    else if (m_closed)
        following = order.front();

    POSITION here = nullptr;
    if (last && m_nodes.GetAt(last)->GetPosition() == point)
        here = last;
    else if (following && m_nodes.GetAt(following)->GetPosition() == point)
        here = following;

    nearest = found;
    distance = foundDistance;
    before = last;
    at = here;
    after = following;
    return 1;
}

int CCurveElement::FindSpanPositions(const CPoint& point, double tolerance, CPoint& nearest,
                                     double& distance, POSITION& before, POSITION& at,
                                     POSITION& after)
{
    return FindSpan(point, tolerance, nearest, distance, before, at, after);
}

int CCurveElement::FindSpanAtPoint(const CPoint& point, double tolerance, CPoint& nearest,
                                   double& distance, CCurveNode*& before, CCurveNode*& at,
                                   CCurveNode*& after)
{
    POSITION b = nullptr, a = nullptr, f = nullptr;
    if (!FindSpan(point, tolerance, nearest, distance, b, a, f)) return 0;
    before = b ? m_nodes.GetAt(b) : nullptr;
    at = a ? m_nodes.GetAt(a) : nullptr;
    after = f ? m_nodes.GetAt(f) : nullptr;
    return 1;
}

int CCurveElement::GetDistanceAlongCurve(const CCurveNode* node, const CPoint& point,
                                         int forward, double& total, double& distance)
{
    RecalcIfDirty();
    PolylineLength(m_outline, total);
    const CPoint n = node ? node->GetPosition() : CPoint();
    const bool closed =
        m_outline.GetCount() >= 2 && m_outline.GetHead() == m_outline.GetTail();
    const bool isFirst = node && node == GetFirstNode();

    CPointList section;
    if (closed && n == point) {
        if (!isFirst) section = m_outline;
    } else if (closed && isFirst) {
        if (forward)
            PathFromStartToPoint(m_outline, point.x, point.y, section);
        else
            PathFromPointToEnd(m_outline, point.x, point.y, section);
    } else if (closed) {
        if (forward)
            PathFromPointToEnd(m_outline, n.x, n.y, section);
        else
            PathFromStartToPoint(m_outline, n.x, n.y, section);
    } else {
        PathSectionBetweenPoints(m_outline, n.x, n.y, point.x, point.y, section);
    }
    if (section.IsEmpty()) {
        section.AddTail(n);
        section.AddTail(point);
    }
    PolylineLength(section, distance);
    return 1;
}

double CCurveElement::ForwardDistanceFromFirst(const CPoint& point)
{
    double total = 0.0, distance = 0.0;
    GetDistanceAlongCurve(GetFirstNode(), point, 1, total, distance);
    return distance;
}

CCurveNode* CCurveElement::GetNearerEndNode(const CPoint& point)
{
    if (m_nodes.IsEmpty()) return nullptr;
    double total = 0.0, distance = 0.0;
    GetDistanceAlongCurve(GetFirstNode(), point, 1, total, distance);
    return distance <= total / 2.0 ? GetFirstNode() : GetLastNode();
}

int CCurveElement::IsBeforeAlongCurve(const CPoint& a, const CPoint& b)
{
    if (m_nodes.IsEmpty()) return 0;
    return ForwardDistanceFromFirst(a) <= ForwardDistanceFromFirst(b) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Drawing and bounds

void CCurveElement::DrawShapes(CDC* dc, COLORREF color, double scale, int originX, int originY,
                               const CRect& clip) const
{
    QPainter* painter = dc->Painter();
    if (!painter || dc->IsPrinting()) {
        for (const CLineTypeShape& shape : m_shapes)
            shape.Draw(dc, color, scale, originX, originY, clip);
        if (m_lazyDashes.empty()) return;
        for (const CLineTypeShape& shape : LazyShapesFor(scale, originX, originY, clip))
            shape.Draw(dc, color, scale, originX, originY, clip);
        return;
    }
    if (!m_deviceShapes) m_deviceShapes = std::make_unique<CDeviceShapes>();
    m_deviceShapes->Draw(*painter, m_shapes, m_geometryVersion, color, scale, originX, originY,
                         clip);
    if (m_lazyDashes.empty()) return;
    const CLineTypeShapeList& lazy = LazyShapesFor(scale, originX, originY, clip);
    m_lazyDrawing->device.Draw(*painter, lazy, m_lazyDrawing->layout, color, scale, originX, originY, clip);
}

const CLineTypeShapeList& CCurveElement::LazyShapesFor(double scale, int originX, int originY,
                                                       const CRect& clip) const
{
    if (!m_lazyDrawing) m_lazyDrawing = std::make_unique<LazyDrawing>();
    LazyDrawing& drawing = *m_lazyDrawing;
    const CRect area = PaintArea(scale, originX, originY, clip);
    if (drawing.valid && drawing.geometry == m_geometryVersion && drawing.area == area) return drawing.shapes;

    drawing.shapes.RemoveAll();
    for (const auto& lazy : m_lazyDashes) {
        const CustomPattern* custom = lazy->hasCustom ? &lazy->custom : nullptr;
        lazy->layout.LayOutMeeting(Inflated(area, lazy->reach),
                                   [&](CPointList& work, POSITION from, POSITION to) {
                                       AddSpan(work, from, to, lazy->thin, custom, drawing.shapes);
                                   });
    }
    drawing.valid = true;
    drawing.geometry = m_geometryVersion;
    drawing.area = area;
    ++drawing.layout;
    return drawing.shapes;
}

CRect CCurveElement::PaintArea(double scale, int originX, int originY, const CRect& clip)
{
    CRect area = DeviceToModelRect(clip.left, clip.top, clip.right, clip.bottom, scale, originX, originY);
    area.NormalizeRect();
    const double pixel = std::ceil(std::fabs(scale));
    return Inflated(area, static_cast<long long>(pixel < 1.0e9 ? pixel : 1.0e9) + 1);
}

void CCurveElement::PrepareDraw(const CDrawPreparation& prep)
{
    if (IsBoundsDirty()) return;
    if (!m_deviceShapes) m_deviceShapes = std::make_unique<CDeviceShapes>();
    m_deviceShapes->Prepare(m_shapes, m_geometryVersion, prep.scale, prep.originX, prep.originY, prep.tolerance,
                            prep.clip);
}

void CCurveElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    if (!dc) return;
    RecalcForPaint(scale, originX, originY, clip);
    DrawShapes(dc, m_color, scale, originX, originY, clip);
    if (AnyNodeMarked())
        for (const CCurveNode* node : m_nodes) node->DrawMark(dc, scale, originX, originY, clip);
}

bool CCurveElement::AnyNodeMarked() const
{
    if (m_marksKnown && m_marksVersion == m_geometryVersion
        && m_marksChanges == CCurveNode::MarkChanges() && m_marksNodeCount == m_nodes.GetCount())
        return m_anyMarked;
    m_anyMarked = std::any_of(m_nodes.begin(), m_nodes.end(),
                              [](const CCurveNode* node) { return node->GetMark() != 0; });
    m_marksKnown = true;
    m_marksVersion = m_geometryVersion;
    m_marksChanges = CCurveNode::MarkChanges();
    m_marksNodeCount = m_nodes.GetCount();
    return m_anyMarked;
}

void CCurveElement::DrawHighlight(CDC* dc, double scale, int originX, int originY,
                                  const CRect& clip)
{
    if (!dc) return;
    RecalcForPaint(scale, originX, originY, clip);
    DrawShapes(dc, dc->GetPen().color, scale, originX, originY, clip);
}

CRect CCurveElement::GetBoundRect()
{
    CRect bounds = CGraphElement::GetBoundRect();
    for (const CLineTypeShape& shape : m_shapes) bounds.UnionRect(bounds, shape.GetBoundRect());
    for (const auto& lazy : m_lazyDashes) bounds.UnionRect(bounds, lazy->bounds);
    // A plain line's bounds are its outline's: those of the whole one.
    if (m_outlineCut) bounds.UnionRect(bounds, m_wholeBounds);
    return bounds;
}

// ---------------------------------------------------------------------------
// Copy and records

void CCurveElement::CopyFrom(const CGraphElement& other)
{
    CGraphElement::CopyFrom(other);
    const auto* source = dynamic_cast<const CCurveElement*>(&other);
    if (!source || source == this) return;

    m_lineAttr = source->m_lineAttr;
    m_color = source->m_color;
    DeleteAllNodes();
    const CPage* sourcePage = source->GetLayer();
    CPage* page = GetLayer();
    for (const CCurveNode* node : source->m_nodes) {
        // The page copies its points first, in the same order, so a point
        // keeps its number. A point that is not in the source's pool has no
        // counterpart, and its node is left out.
        const int number = sourcePage ? sourcePage->GetPointIndex(node->GetPoint()) : -1;
        CSharedPoint* point = page && number >= 0 ? page->GetPointAt(number) : nullptr;
        if (!point) continue;
        auto* copy = new CCurveNode(point, node->GetKind());
        copy->CopyAttributes(*node);
        m_nodes.AddTail(copy);
    }
    m_mirrorSource = nullptr;
    m_mirrorSourceIndex = sourcePage && source->m_mirrorSource
                              ? sourcePage->IndexOfElement(source->m_mirrorSource)
                              : -1;
    InvalidateBounds();
    CopyRecordBounds(*source);
}

int CCurveElement::Load(CArchive& ar)
{
    CRect stored;
    if (LoadCurve(ar, stored)) KeepRecordBounds(stored);
    return 1;
}

bool CCurveElement::LoadCurve(CArchive& ar, CRect& storedBounds)
{
    CGraphElement::Load(ar);
    const int version = GetRecordVersion();
    m_lineAttr.Load(ar, version);
    std::uint32_t color = 0;
    ar >> color;
    m_color = color;
    // The bounds when written: kept for the next record, while the
    // geometry is built from the nodes when first needed.
    const bool hasBounds = version >= 105;
    if (hasBounds) ar >> storedBounds;

    std::int32_t count = 0;
    ar >> count;
    ar.RequireItems(count, 8);
    DeleteAllNodes();
    const CPage* page = GetLayer();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t number = 0, kind = 0;
        ar >> number >> kind;
        CSharedPoint* point = page ? page->GetPointAt(number) : nullptr;
        if (!point) throw CArchiveError("curve node names no shared point");
        m_nodes.AddTail(new CCurveNode(point, kind));
    }

    std::int32_t mirror = -1;
    if (version >= 102) ar >> mirror;
    m_mirrorSourceIndex = mirror < 0 ? -1 : mirror;
    m_mirrorSource = nullptr;
    InvalidateBounds();
    return hasBounds;
}

int CCurveElement::Store(CArchive& ar) const
{
    CGraphElement::Store(ar);
    ar << std::int32_t(m_closed);
    m_lineAttr.Store(ar);
    ar << std::uint32_t(m_color);
    // The bounds are derived geometry, brought up to date on demand.
    ar << const_cast<CCurveElement*>(this)->GetRecordBounds();
    const CPage* page = GetLayer();
    ar << std::int32_t(m_nodes.GetCount());
    for (const CCurveNode* node : m_nodes) {
        ar << std::int32_t(page ? page->GetPointIndex(node->GetPoint()) : -1)
           << std::int32_t(node->GetKind());
    }
    ar << std::int32_t(page && m_mirrorSource ? page->IndexOfElement(m_mirrorSource) : -1);
    return 1;
}

void CCurveElement::ReleaseGeometry()
{
    if (IsBoundsDirty()) return;
    KeepBoundsOnly(GetBoundRect());
    m_outline.RemoveAll();
    m_shapes.RemoveAll();
    m_deviceShapes.reset();
    m_lazyDashes.clear();
    m_lazyDrawing.reset();
}

void CCurveElement::StoreLibraryCurve(CArchive& ar, const CList<CSharedPoint*>& points) const
{
    CLibraryPointNumbers numbers;
    int number = 0;
    for (const CSharedPoint* p : points) numbers.emplace(p, number++);
    StoreLibraryCurve(ar, numbers);
}

void CCurveElement::StoreLibraryCurve(CArchive& ar, const CLibraryPointNumbers& numbers) const
{
    ar << std::int32_t(ELEMENT_CURVE) << std::int32_t(m_closed);
    if (GetRecordVersion() > 104) ar << std::int32_t(GetLevel());
    m_lineAttr.Store(ar);
    ar << std::uint32_t(m_color);
    ar << std::int32_t(m_nodes.GetCount());
    for (const CCurveNode* node : m_nodes) {
        const auto found = numbers.find(node->GetPoint());
        const int number = found != numbers.end() ? found->second : int(numbers.size());
        ar << std::int32_t(number) << std::int32_t(node->GetKind());
    }
}

void CCurveElement::LoadLibraryCurve(CArchive& ar, const std::vector<CSharedPoint*>& points,
                                     int version)
{
    if (version > 104) {
        std::int32_t level = 0;
        ar >> level;
        SetLevel(level);
    }
    m_lineAttr.Load(ar, version);
    std::uint32_t color = 0;
    ar >> color;
    m_color = color;
    std::int32_t count = 0;
    ar >> count;
    ar.RequireItems(count, 8);
    DeleteAllNodes();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t number = 0, kind = 0;
        ar >> number >> kind;
        if (number < 0 || std::size_t(number) >= points.size() || !points[std::size_t(number)])
            throw CArchiveError("library curve node names no shared point");
        m_nodes.AddTail(new CCurveNode(points[std::size_t(number)], kind));
    }
    InvalidateBounds();
}
