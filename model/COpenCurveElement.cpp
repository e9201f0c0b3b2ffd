#include "model/COpenCurveElement.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// The side and double lines stand ten line widths off the curve.
int SideLineDistance(int width, int sign)
{
    const long long d = 10LL * width * sign;
    return int(std::clamp<long long>(d, -INT_MAX, INT_MAX));
}

CPointList OffsetPath(const CPointList& path, int distance)
{
    CPointList in = path;  // the offset drops repeated points from its input
    CPointList out;
    GetOffsetPolyline(in, 0, distance, out);
    return out;
}

bool IsFilledKind(int kind) { return kind == ARROW_FILLED || kind == ARROW_NOTCHED; }

// Cuts the path back to the point at `length` from its start (a negative
// length: from its end). A path shorter than that is left whole; the
// arrowhead covers it.
void CutPathBack(CPointList& path, double length)
{
    CPoint point;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    const int reached = PointAtSignedLength(path, length, point, segStart, vertex, segEnd);
    if (!vertex && !(reached && segStart)) return;
    const POSITION keep = vertex ? vertex : path.InsertAfter(segStart, point);
    if (length >= 0.0) {
        while (path.GetHeadPosition() != keep) path.RemoveHead();
    } else {
        while (path.GetTailPosition() != keep) path.RemoveTail();
    }
}

}  // namespace

COpenCurveElement::COpenCurveElement(CPage* page, int level) : CCurveElement(page, level, 0) {}

COpenCurveElement::COpenCurveElement(CPage* page, int level, const CLineAttr& line,
                                     COLORREF color, const CCurveNodeList& nodes, int startKind,
                                     int startSize, double startAngle, int endKind, int endSize,
                                     double endAngle, CCurveElement* mirrorSource)
    : CCurveElement(page, level, 0, line, color, nodes, mirrorSource)
{
    m_start = {startKind, startSize, startAngle};
    m_end = {endKind, endSize, endAngle};
}

// ---------------------------------------------------------------------------
// Arrow values

void COpenCurveElement::SetStartArrowKind(int kind)
{
    m_start.kind = kind;
    InvalidateBounds();
}

void COpenCurveElement::SetStartArrowSize(int size)
{
    m_start.size = size;
    InvalidateBounds();
}

void COpenCurveElement::SetStartArrowAngle(double angle)
{
    m_start.angle = angle;
    InvalidateBounds();
}

void COpenCurveElement::SetEndArrowKind(int kind)
{
    m_end.kind = kind;
    InvalidateBounds();
}

void COpenCurveElement::SetEndArrowSize(int size)
{
    m_end.size = size;
    InvalidateBounds();
}

void COpenCurveElement::SetEndArrowAngle(double angle)
{
    m_end.angle = angle;
    InvalidateBounds();
}

void COpenCurveElement::GetArrowHeads(int& startKind, int& startSize, double& startAngle,
                                      int& endKind, int& endSize, double& endAngle) const
{
    startKind = m_start.kind;
    startSize = m_start.size;
    startAngle = m_start.angle;
    endKind = m_end.kind;
    endSize = m_end.size;
    endAngle = m_end.angle;
}

void COpenCurveElement::GetStartHeadOutline(CPointList& out)
{
    RecalcIfDirty();
    out = m_startHead;
}

void COpenCurveElement::GetEndHeadOutline(CPointList& out)
{
    RecalcIfDirty();
    out = m_endHead;
}

// ---------------------------------------------------------------------------
// Geometry

void COpenCurveElement::BuildArrowHeads()
{
    m_startHead.RemoveAll();
    m_endHead.RemoveAll();
    m_startBack = m_endBack = 0.0;
    if (m_lineAttr.GetKind() == LINE_CUSTOM) return;
    BuildArrowHead(m_start, false, m_startHead, m_startBack);
    BuildArrowHead(m_end, true, m_endHead, m_endBack);
}

double COpenCurveElement::HeadSide(const Arrow& arrow) const
{
    if (arrow.kind != ARROW_FILLED && arrow.kind != ARROW_OPEN && arrow.kind != ARROW_NOTCHED) return 0.0;
    // An opening of 0 or 360 degrees (or outside them) has no sides to
    // draw; its side length would divide by zero.
    if (!(arrow.angle > 0.0 && arrow.angle < 360.0)) return 0.0;
    const double half = (arrow.angle / 2.0) / 180.0 * Geo::kPi;
    const double span = double(m_lineAttr.GetWidth()) * arrow.size / 100.0;
    return std::max((span / 2.0) / std::sin(half), double(UnitsPerMM()));
}

long long COpenCurveElement::EndReach() const
{
    if (m_lineAttr.GetKind() == LINE_CUSTOM) return 0;
    const double side = std::max(HeadSide(m_start), HeadSide(m_end));
    if (!(side > 0.0)) return 0;
    // The head's direction is taken a millimetre along the outline (no
    // more than a side), and a notch lies within two sides of the tip;
    // the line is cut back no farther.
    return static_cast<long long>(std::min(2.0 * side, 1.0e12)) + 2;
}

void COpenCurveElement::BuildArrowHead(const Arrow& arrow, bool atEnd, CPointList& head,
                                       double& back) const
{
    const double side = HeadSide(arrow);
    if (!(side > 0.0)) return;
    const POSITION tipPos = atEnd ? m_outline.GetTailPosition() : m_outline.GetHeadPosition();
    if (!tipPos) return;

    const double mm = UnitsPerMM();
    const double half = (arrow.angle / 2.0) / 180.0 * Geo::kPi;
    const CPoint tip = m_outline.GetAt(tipPos);
    // The direction from the first vertex a millimetre along the line. It
    // is walked from the tip's own end of the outline, which matters when
    // the outline comes back to its start.
    CPoint dirPoint = tip;
    VertexAlongPathFromNode(m_outline, tipPos, atEnd ? -mm : mm, dirPoint);
    double dirLength = 0.0;
    PointDistance(tip.x, tip.y, dirPoint.x, dirPoint.y, dirLength);
    if (!(dirLength > 0.0)) return;  // all of the line lies on its tip
    // In doubles: the line may run from one end of the coordinates to the
    // other.
    const double dx = (double(dirPoint.x) - tip.x) / dirLength;
    const double dy = (double(dirPoint.y) - tip.y) / dirLength;

    const double span = double(m_lineAttr.GetWidth()) * arrow.size / 100.0;

    // Sums in double and saturated: a damaged file can give a width and an
    // arrow size whose head reaches beyond the coordinate range.
    const CPoint w(RoundToInt(double(tip.x) + RoundToInt(dx * side)),
                   RoundToInt(double(tip.y) + RoundToInt(dy * side)));
    CPoint w1 = w, w2 = w;
    RotatePoint(w1, tip.x, tip.y, std::sin(half), std::cos(half));
    RotatePoint(w2, tip.x, tip.y, std::sin(-half), std::cos(-half));

    if (arrow.kind == ARROW_NOTCHED) {
        const double a = std::cos(half) * side;
        const double beta = ((90.0 - arrow.angle / 2.0) / 2.0) / 180.0 * Geo::kPi;
        const double d = a - std::tan(beta) * span / 2.0;
        const CPoint notch(RoundToInt(double(tip.x) + RoundToInt(dx * d)),
                           RoundToInt(double(tip.y) + RoundToInt(dy * d)));
        head.AddTail(notch);
        PointDistance(tip.x, tip.y, notch.x, notch.y, back);
    } else if (arrow.kind == ARROW_FILLED) {
        const double mx = (double(w1.x) + w2.x) / 2.0 - tip.x;
        const double my = (double(w1.y) + w2.y) / 2.0 - tip.y;
        back = std::sqrt(mx * mx + my * my);
    }
    head.AddTail(w1);
    head.AddTail(tip);
    head.AddTail(w2);
}

void COpenCurveElement::ShortenPath(CPointList& path) const
{
    // The line stops at the base of a filled head so that its width does
    // not show round the tip; an open V lies on the line.
    if (IsFilledKind(m_start.kind) && !m_startHead.IsEmpty()) CutPathBack(path, m_startBack);
    if (IsFilledKind(m_end.kind) && !m_endHead.IsEmpty()) CutPathBack(path, -m_endBack);
}

void COpenCurveElement::RecalcGeometry()
{
    CCurveElement::RecalcGeometry();
    BuildArrowHeads();

    CPointList path = m_outline;
    const int kind = m_lineAttr.GetKind();
    if (kind != LINE_CUSTOM) ShortenPath(path);

    const int width = m_lineAttr.GetWidth();
    const int mm = UnitsPerMM();
    double length = 0.0;
    PolylineLength(path, length);
    int k = kind;
    if (length < mm) k = LINE_PLAIN;
    if (k >= LINE_DASH && k <= LINE_DASH_TRIPLE && m_lineAttr.GetPeriod() <= mm) k = LINE_PLAIN;

    switch (k) {
    case LINE_DASH: BuildDashLine(path); break;
    case LINE_DOT: BuildDotLine(path); break;
    case LINE_DASH_PAIR: BuildDashPairLine(path); break;
    case LINE_DASH_TRIPLE: BuildDashTripleLine(path); break;
    case LINE_CUSTOM: BuildCustomPatternLine(path); break;
    case LINE_SIDE_PLUS:
    case LINE_SIDE_MINUS:
    case LINE_SIDE_BOTH:
        m_shapes.RemoveAll();
        AddPlainShape(path, width);
        if (k != LINE_SIDE_MINUS) BuildSideDashLine(OffsetPath(path, SideLineDistance(width, 1)));
        if (k != LINE_SIDE_PLUS) BuildSideDashLine(OffsetPath(path, SideLineDistance(width, -1)));
        break;
    case LINE_DOUBLE:
        m_shapes.RemoveAll();
        AddPlainShape(OffsetPath(path, SideLineDistance(width, 1)), width);
        BuildSideDashLine(path);
        AddPlainShape(OffsetPath(path, SideLineDistance(width, -1)), width);
        break;
    default:
        // Plain, too short for its pattern, or a kind this program does
        // not know: one plain line.
        m_shapes.RemoveAll();
        AddPlainShape(path, width);
        break;
    }
}

CRect COpenCurveElement::GetBoundRect()
{
    // An outline built for a paint has the whole one's bounds and heads.
    if (IsBoundsDirty()) RecalcGeometry();
    CRect bounds = CCurveElement::GetBoundRect();
    if (m_lineAttr.GetKind() == LINE_CUSTOM) return bounds;
    if (m_start.kind != ARROW_NONE && !m_startHead.IsEmpty())
        bounds.UnionRect(bounds, PolylineBoundRect(m_startHead));
    if (m_end.kind != ARROW_NONE && !m_endHead.IsEmpty())
        bounds.UnionRect(bounds, PolylineBoundRect(m_endHead));
    return bounds;
}

// ---------------------------------------------------------------------------
// Drawing

void COpenCurveElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    if (!dc) return;
    RecalcForPaint(scale, originX, originY, clip);
    CCurveElement::Draw(dc, scale, originX, originY, clip);
    DrawArrowHeads(dc, m_color, scale, originX, originY);
}

void COpenCurveElement::DrawHighlight(CDC* dc, double scale, int originX, int originY,
                                      const CRect& clip)
{
    if (!dc) return;
    RecalcForPaint(scale, originX, originY, clip);
    CCurveElement::DrawHighlight(dc, scale, originX, originY, clip);
    DrawArrowHeads(dc, dc->GetPen().color, scale, originX, originY);
}

void COpenCurveElement::DrawArrowHeads(CDC* dc, COLORREF color, double scale, int originX,
                                       int originY) const
{
    if (!(scale > 0.0)) return;
    // Arrowheads are drawn plain (not anti-aliased), on screen as on paper.
    const int penWidth = std::max(1, RoundToInt(m_lineAttr.GetWidth() / scale));
    const CPen oldPen = dc->SelectPen(CPen{PS_SOLID, 1, color});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Solid(color));
    const std::pair<const Arrow*, const CPointList*> heads[] = {{&m_start, &m_startHead},
                                                                {&m_end, &m_endHead}};
    for (const auto& [arrow, head] : heads) {
        if (head->IsEmpty()) continue;
        if (IsFilledKind(arrow->kind)) {
            dc->SelectPen(CPen{PS_SOLID, 1, color});
            DrawMappedPolygon(*dc, *head, scale, originX, originY);
        } else if (arrow->kind == ARROW_OPEN) {
            dc->SelectPen(CPen{PS_SOLID, penWidth, color});
            DrawMappedPolyline(*dc, *head, scale, originX, originY);
        }
    }
    dc->SelectPen(oldPen);
    dc->SelectBrush(oldBrush);
}

// ---------------------------------------------------------------------------
// Copy and records

void COpenCurveElement::CopyFrom(const CGraphElement& other)
{
    CCurveElement::CopyFrom(other);
    const auto* source = dynamic_cast<const COpenCurveElement*>(&other);
    if (source) {
        m_start = source->m_start;
        m_end = source->m_end;
    }
    InvalidateBounds();
    if (source && source != this) CopyRecordBounds(*source);
}

void COpenCurveElement::LoadArrows(CArchive& ar)
{
    std::int32_t kind = 0, size = 0;
    double angle = 0.0;
    ar >> kind >> size >> angle;
    m_start = {kind, size, angle};
    ar >> kind >> size >> angle;
    m_end = {kind, size, angle};
    InvalidateBounds();
}

void COpenCurveElement::StoreArrows(CArchive& ar) const
{
    ar << std::int32_t(m_start.kind) << std::int32_t(m_start.size) << m_start.angle;
    ar << std::int32_t(m_end.kind) << std::int32_t(m_end.size) << m_end.angle;
}

int COpenCurveElement::Load(CArchive& ar)
{
    CRect stored;
    const bool hasBounds = LoadCurve(ar, stored);
    LoadArrows(ar);
    if (hasBounds) KeepRecordBounds(stored);
    return 1;
}

int COpenCurveElement::Store(CArchive& ar) const
{
    CCurveElement::Store(ar);
    StoreArrows(ar);
    return 1;
}

int COpenCurveElement::LoadFromLibrary(CArchive& ar, const std::vector<CSharedPoint*>& points,
                                       int version)
{
    LoadLibraryCurve(ar, points, version);
    LoadArrows(ar);
    return 1;
}

int COpenCurveElement::StoreForLibrary(CArchive& ar, const CList<CSharedPoint*>& points) const
{
    StoreLibraryCurve(ar, points);
    StoreArrows(ar);
    return 1;
}

int COpenCurveElement::StoreForLibrary(CArchive& ar, const CLibraryPointNumbers& numbers) const
{
    StoreLibraryCurve(ar, numbers);
    StoreArrows(ar);
    return 1;
}
