#include "model/CLineFillLayout.h"

#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/LineReach.h"

#include "geometry/CLineFamilyCrossings.h"
#include "geometry/CPolygonRows.h"
#include "geometry/ClipToView.h"
#include "geometry/Constants.h"
#include "geometry/Distance.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

using LineReach::Inflated;
using LineReach::kJoinReach;
using LineReach::kThinPen;

// The temporary open curves that lay out one stretch carry no arrowheads.
constexpr int kArrowSize = 300;
constexpr double kArrowAngle = 53.0;
// The length of the stretch on which the pieces' reach is measured.
constexpr int kSampleLength = 10000;

// The least and greatest line of the family c0 + k * step that still meet
// the range [cmin, cmax] of line constants, snapped outwards.
void SnapToFamily(double c0, double step, double& cmin, double& cmax)
{
    if (cmin - c0 >= 0.0) cmin = c0 + std::trunc((cmin - c0) / step) * step;
    else cmin = c0 - (std::trunc((c0 - cmin) / step) + 1.0) * step;
    if (cmax - c0 >= 0.0) cmax = c0 + (std::trunc((cmax - c0) / step) + 1.0) * step;
    else cmax = c0 - std::trunc((c0 - cmax) / step) * step;
}

// The range of line constants a x + b y + c = 0 over the rectangle.
void ConstantsOver(const CRect& r, double a, double b, double& low, double& high)
{
    const double corners[4] = {-a * r.left - b * r.top, -a * r.right - b * r.top, -a * r.right - b * r.bottom,
                               -a * r.left - b * r.bottom};
    low = *std::min_element(corners, corners + 4);
    high = *std::max_element(corners, corners + 4);
}

bool Meets(const CRect& a, const CRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Orders the crossings of one line from the least point (smaller x, then
// smaller y) to the greatest.
std::vector<CPoint> Sorted(const CPointList& points)
{
    std::vector<CPoint> sorted(points.begin(), points.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const CPoint& p, const CPoint& q) { return p.x != q.x ? p.x < q.x : p.y < q.y; });
    return sorted;
}

// Hands `use` the open curve of two corner nodes from `from` to `to` that
// a stretch is laid out as, its geometry built.
template <class Use>
void WithStretchCurve(const CPoint& from, const CPoint& to, const CFillStyle& style, Use use)
{
    CPage scratch(nullptr);
    auto* a = new CSharedPoint(&scratch, from.x, from.y);
    auto* b = new CSharedPoint(&scratch, to.x, to.y);
    scratch.AddPoint(a);
    scratch.AddPoint(b);
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(a, NODE_CORNER));
    nodes.AddTail(new CCurveNode(b, NODE_CORNER));
    auto* line = new COpenCurveElement(&scratch, 0, style.GetLineAttr(), style.GetColor(), nodes, ARROW_NONE,
                                       kArrowSize, kArrowAngle, ARROW_NONE, kArrowSize, kArrowAngle);
    scratch.AddElement(line);
    line->InvalidateBounds();
    line->GetBoundRect();
    use(*line);
}

} // namespace

CLineFillLayout::CLineFillLayout(const CPointList& outline, const CRect& bounds, const CFillStyle& style)
    : m_outline(outline), m_style(style)
{
    SetUpFamily(bounds);
}

CLineFillLayout::~CLineFillLayout() = default;

void CLineFillLayout::SetUpFamily(const CRect& bounds)
{
    const int spacing = m_style.GetSpacing();
    const double angle = m_style.GetAngle();
    // Lines no distance apart would never advance.
    if (spacing <= 0 || !std::isfinite(angle)) return;

    const double theta = angle * Geo::kPi / 180.0;
    m_a = -std::sin(theta);
    m_b = std::cos(theta);
    const CPoint origin = m_style.GetOrigin();
    m_c0 = -m_a * origin.x - m_b * origin.y;
    double step = std::sqrt(m_a * m_a + m_b * m_b) * spacing;

    double low = 0.0, high = 0.0;
    ConstantsOver(bounds, m_a, m_b, low, high);
    double cmin = low, cmax = high;
    SnapToFamily(m_c0, step, cmin, cmax);

    // A family too dense to lay out (a tiny spacing over a huge outline)
    // keeps every n-th line, still through the origin, so the area stays
    // filled; the stride tells the editor to say so.
    const double lines = (cmax - cmin) / step;
    if (!std::isfinite(lines)) return;
    if (lines > kMaxLines) {
        const double stride = std::ceil(lines / kMaxLines);
        if (!(stride < double(INT_MAX))) return;
        m_stride = int(stride);
        step *= stride;
        cmin = low;
        cmax = high;
        SnapToFamily(m_c0, step, cmin, cmax);
    }
    m_step = step;
    m_first = std::round((cmin - m_c0) / step);
    m_last = std::min(std::round((cmax - m_c0) / step), m_first + kMaxLines + 2);
}

int CLineFillLayout::Reach()
{
    if (m_reach >= 0) return m_reach;
    // Pieces lie across and along their stretch as far on every stretch
    // (side lines, bands and patterns keep their distance from the path),
    // so one stretch measures them all; the curve's bounds hold its lazily
    // laid-out dashes too.
    CRect bounds;
    WithStretchCurve(CPoint(0, 0), CPoint(kSampleLength, 0), m_style,
                     [&bounds](COpenCurveElement& line) { bounds = line.GetBoundRect(); });
    const double across = std::max({0.0, -double(bounds.top), double(bounds.bottom)});
    const double along = std::max({0.0, -double(bounds.left), double(bounds.right) - kSampleLength});
    const double pen = std::max(std::fabs(double(m_style.GetLineAttr().GetWidth())), double(kThinPen));
    m_reach = int(std::min(across + along + kJoinReach * pen + 2.0, double(INT_MAX / 2)));
    return m_reach;
}

CLineFillLayout::Result CLineFillLayout::LayOut(const CRect& area, CLineTypeShapeList& out)
{
    Result result;
    if (m_first > m_last || m_outline.GetCount() < 3) return result;
    const int reach = Reach();
    bool cut = false;
    std::vector<Stretch> stretches;
    result.work = FindStretches(area, reach, stretches, cut);

    const CRect reached = Inflated(area, reach);
    CLineTypeShapeList pieces;
    bool drawnPlain = false;
    if (!LayOutStretches(stretches, reached, false, pieces, drawnPlain)) {
        // Too many dashes to draw: the same stretches, each one piece.
        pieces.RemoveAll();
        drawnPlain = true;
        if (!LayOutStretches(stretches, reached, true, pieces, drawnPlain)) cut = true;
    }
    if (drawnPlain) result.shortfall = Shortfall::DrawnPlain;
    if (cut) result.shortfall = Shortfall::CutShort;
    out.AddTail(pieces);
    return result;
}

long long CLineFillLayout::FindStretches(const CRect& area, int reach, std::vector<Stretch>& out, bool& cut)
{
    // The outline's edges are sorted once; each line then meets only the
    // edges that reach it, and each stretch's inside test only the edges
    // on its row, so a long outline costs what the fill draws.
    if (!m_scan) {
        m_scan = std::make_unique<CLineFamilyCrossings>(m_outline, m_a, m_b);
        m_inside = std::make_unique<CPolygonRows>(m_outline);
    }
    m_scan->Restart();
    const long long before = m_scan->Tested() + m_inside->Tested();

    const CRect reached = Inflated(area, reach);
    double low = 0.0, high = 0.0;
    ConstantsOver(reached, m_a, m_b, low, high);
    const double first = std::max(m_first, std::floor((low - m_c0) / m_step));
    const double last = std::min(m_last, std::ceil((high - m_c0) / m_step));

    long long work = 0;
    CPointList crossings;
    for (double k = first; k <= last; k += 1.0) {
        // Each line from its number in the family, the same whatever area
        // is laid out.
        if (m_scan->Crossings(m_c0 + k * m_step, crossings) >= 2) AddInsideStretches(crossings, reached, out);
        work = m_scan->Tested() + m_inside->Tested() - before;
        if (k < last && (work >= kMaxWork || out.size() > std::size_t(kMaxPieces))) {
            cut = true;
            break;
        }
    }
    return work;
}

void CLineFillLayout::AddInsideStretches(const CPointList& crossings, const CRect& area, std::vector<Stretch>& out)
{
    const std::vector<CPoint> sorted = Sorted(crossings);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const CPoint& p = sorted[i - 1];
        const CPoint& q = sorted[i];
        // A line that only touches the outline crosses it twice at one
        // point: nothing lies between.
        if (p == q) continue;
        double t0 = 0.0, t1 = 0.0;
        if (!SegmentInsideRect(p.x, p.y, double(q.x) - p.x, double(q.y) - p.y, area.left, area.top, area.right,
                               area.bottom, t0, t1))
            continue;
        const int mx = RoundToInt((double(p.x) + q.x) / 2.0);
        const int my = RoundToInt((double(p.y) + q.y) / 2.0);
        if (m_inside->Contains(mx, my)) out.push_back({p, q});
    }
}

bool CLineFillLayout::LayOutStretches(const std::vector<Stretch>& stretches, const CRect& area, bool plain,
                                      CLineTypeShapeList& out, bool& drawnPlain) const
{
    const int width = m_style.GetLineAttr().GetWidth();
    CLineTypeShapeList pieces;
    for (const Stretch& s : stretches) {
        if (plain) {
            out.AddTail(CLineTypeShape(width, 0, CPointList{s.from, s.to}));
        } else {
            pieces.RemoveAll();
            if (LayOutStretch(s, pieces)) drawnPlain = true;
            // The dashes of a long stretch far from the area are not kept.
            for (const CLineTypeShape& piece : pieces)
                if (Meets(piece.GetBoundRect(), area)) out.AddTail(piece);
        }
        if (out.GetCount() > kMaxPieces) return false;
    }
    return true;
}

bool CLineFillLayout::LayOutStretch(const Stretch& s, CLineTypeShapeList& out) const
{
    bool plain = false;
    WithStretchCurve(s.from, s.to, m_style, [&](COpenCurveElement& curve) {
        plain = curve.HasLazyDashes() || curve.HasTooManyPeriods();
        if (plain) {
            // Thousands of dashes on each of thousands of fill lines are
            // kept from no fill: such a line is drawn plain.
            out.AddTail(CLineTypeShape(m_style.GetLineAttr().GetWidth(), 0, CPointList{s.from, s.to}));
        } else {
            CLineTypeShapeList shapes;
            curve.GetLineShapes(shapes);
            out.AddTail(shapes);
        }
    });
    return plain;
}
