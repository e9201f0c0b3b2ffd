#include "model/CClosedCurveElement.h"

#include "model/CDrawPreparation.h"
#include "model/LineReach.h"
#include "model/CPage.h"
#include "model/CPictureFile.h"
#include "model/FillPainting.h"
#include "model/ShapePainting.h"

#include "geometry/ClipToView.h"
#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Every point of the page: laying the fill lines out for it lays out all.
const CRect kWholePage(-INT_MAX, -INT_MAX, INT_MAX, INT_MAX);

// The side and double lines stand ten line widths off the outline.
int SideLineDistance(int width, int sign)
{
    const long long d = 10LL * width * sign;
    return int(std::clamp<long long>(d, -INT_MAX, INT_MAX));
}

CPointList ClosedOffset(const CPointList& outline, int distance)
{
    CPointList in = outline;  // the offset drops repeated points from its input
    CPointList out;
    GetOffsetPolyline(in, 1, distance, out);
    return out;
}

// The fill rule of a fill mode; false for a mode that paints nothing.
bool FillRuleOf(int mode, Qt::FillRule& rule)
{
    if (mode == FILL_MODE_ALTERNATE) rule = Qt::OddEvenFill;
    else if (mode == FILL_MODE_WINDING) rule = Qt::WindingFill;
    else return false;
    return true;
}

// The move of a device point from one paint to the next, when a kept fill
// image can follow it; false for a move farther than any image reaches
// (points far off reach the ends of the int range, beyond which no
// difference can be taken).
bool ImageMove(const QPoint& before, const QPoint& now, QPoint& move)
{
    constexpr long long kFarthest = 1LL << 24;
    const long long dx = static_cast<long long>(now.x()) - before.x();
    const long long dy = static_cast<long long>(now.y()) - before.y();
    if (dx < -kFarthest || dx > kFarthest || dy < -kFarthest || dy > kFarthest) return false;
    move = QPoint(int(dx), int(dy));
    return true;
}

// v rounded to the nearest integer as RoundToInt rounds it, halves away
// from zero, but beyond the int range too.
double Rounded(double v)
{
    return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

// The radius of the circle about c that reaches the farthest corner of the
// area's bounds, whole pixels apart; c may lie beyond the int range.
double ReachingRadius(const QRectF& bounds, const QPointF& c)
{
    const double cx = Rounded(c.x());
    const double cy = Rounded(c.y());
    const double xs[2] = {Rounded(bounds.left()), Rounded(bounds.right())};
    const double ys[2] = {Rounded(bounds.top()), Rounded(bounds.bottom())};
    double radius = 0.0;
    for (const double x : xs) {
        for (const double y : ys) {
            const double dx = x - cx;
            const double dy = y - cy;
            radius = std::max(radius, Rounded(std::sqrt(dx * dx + dy * dy)));
        }
    }
    return radius;
}

// Outer band of the start colour up to the second blend position, then a
// blend through the middle colour at the blend position to the centre.
std::shared_ptr<const CGradientRamp> CentredRamp(COLORREF outer, COLORREF centre, double blend,
                                                 double outerBand, int alpha, int gamma)
{
    return CGradientRamp::Shared(
        std::vector<CGradientRamp::Stop>{{0.0, FillColor(outer, alpha)},
                                         {outerBand, FillColor(outer, alpha)},
                                         {blend, FillColor(MiddleColor(outer, centre), alpha)},
                                         {1.0, FillColor(centre, alpha)}},
        gamma != 0);
}

}  // namespace

// The fill lines laid out for one area of the page.
struct CClosedCurveElement::LineFillDrawing : LazyDrawing {
    CLineFillLayout::Result result;
};

// ---------------------------------------------------------------------------
// Construction

CClosedCurveElement::CClosedCurveElement(CPage* page, int level)
    : CCurveElement(page, level, 1)
{
    InitFill();
}

CClosedCurveElement::CClosedCurveElement(CPage* page, int level, const CLineAttr& line,
                                         COLORREF color, const CCurveNodeList& nodes,
                                         CCurveElement* mirrorSource)
    : CCurveElement(page, level, 1, line, color, nodes, mirrorSource)
{
    InitFill();
    m_fillKind = FILL_NONE;
}

CClosedCurveElement::CClosedCurveElement(CPage* page, int level, const CLineAttr& line,
                                         COLORREF color, const CCurveNodeList& nodes,
                                         CCurveElement* mirrorSource, COLORREF solidColor)
    : CCurveElement(page, level, 1, line, color, nodes, mirrorSource)
{
    InitFill();
    m_fillKind = FILL_SOLID;
    m_startColor = solidColor;
}

CClosedCurveElement::CClosedCurveElement(
    CPage* page, int level, const CLineAttr& line, COLORREF color, const CCurveNodeList& nodes,
    CCurveElement* mirrorSource, int gradientKind, COLORREF startColor, COLORREF endColor,
    const CPoint& gradientStart, const CPoint& gradientEnd, double blendPosition,
    double secondBlendPosition, const CPoint& gradientCenter, COLORREF centerColor,
    double fillAngle, int gamma)
    : CCurveElement(page, level, 1, line, color, nodes, mirrorSource)
{
    InitFill();
    m_fillKind = gradientKind;
    m_startColor = startColor;
    m_endColor = endColor;
    m_gradientStart = gradientStart;
    m_gradientEnd = gradientEnd;
    m_blendPosition = blendPosition;
    m_secondBlendPosition = secondBlendPosition;
    m_gradientCenter = gradientCenter;
    m_centerColor = centerColor;
    m_fillAngle = fillAngle;
    m_gamma = gamma;
}

CClosedCurveElement::CClosedCurveElement(CPage* page, int level, const CLineAttr& line,
                                         COLORREF color, const CCurveNodeList& nodes,
                                         CCurveElement* mirrorSource, const QImage& bitmap,
                                         const CSize& tileSize, const CPoint& tileCenter,
                                         double bitmapFillValue, double fillAngle)
    : CCurveElement(page, level, 1, line, color, nodes, mirrorSource)
{
    InitFill();
    m_fillKind = FILL_BITMAP;
    SetFillBitmap(bitmap);
    m_tileSize = tileSize;
    m_tileCenter = tileCenter;
    m_bitmapFillValue = bitmapFillValue;
    m_fillAngle = fillAngle;
}

CClosedCurveElement::CClosedCurveElement(CPage* page, int level, const CLineAttr& line,
                                         COLORREF color, const CCurveNodeList& nodes,
                                         CCurveElement* mirrorSource,
                                         const CFillStyle& lineFill)
    : CCurveElement(page, level, 1, line, color, nodes, mirrorSource)
{
    InitFill();
    m_fillKind = FILL_LINES;
    m_lineFill = lineFill;
}

CClosedCurveElement::~CClosedCurveElement() = default;

void CClosedCurveElement::InitFill()
{
    m_fillMode = FILL_MODE_ALTERNATE;
    m_alpha = 255;
    m_fillBitmap.Clear();
}

// ---------------------------------------------------------------------------
// Fill fields

void CClosedCurveElement::GetGradientColors(COLORREF& start, COLORREF& end) const
{
    start = m_startColor;
    end = m_endColor;
}

void CClosedCurveElement::SetGradientColors(COLORREF start, COLORREF end)
{
    m_startColor = start;
    m_endColor = end;
}

void CClosedCurveElement::GetGradientPoints(CPoint& start, CPoint& end) const
{
    start = m_gradientStart;
    end = m_gradientEnd;
}

void CClosedCurveElement::SetGradientPoints(int x1, int y1, int x2, int y2)
{
    m_gradientStart = CPoint(x1, y1);
    m_gradientEnd = CPoint(x2, y2);
}

const CPixelBlock* CClosedCurveElement::GetFillBitmap() const
{
    return m_fillBitmap.IsEmpty() ? nullptr : &m_fillBitmap;
}

int CClosedCurveElement::LoadFillBitmap(const QString& path)
{
    // Read aside first: a picture that cannot be read leaves the fill as it
    // was, and the reader refuses what a document could not hold again.
    CPixelBlock pixels;
    if (!CPictureFile::Read(path, pixels)) return 0;
    m_fillBitmap = std::move(pixels);
    InvalidateBounds();
    return 1;
}

int CClosedCurveElement::SetFillBitmap(const QImage& bitmap)
{
    // A texture larger than a stored block may be would make a document
    // that cannot be opened again.
    if (bitmap.width() > CPictureFile::kMaxSide || bitmap.height() > CPictureFile::kMaxSide) {
        m_fillBitmap.Clear();
        return 0;
    }
    m_fillBitmap.SetImage(bitmap);
    return m_fillBitmap.IsEmpty() ? 0 : 1;
}

void CClosedCurveElement::SetLineFillStyle(const CFillStyle& style)
{
    m_lineFill = style;
    InvalidateBounds();
}

void CClosedCurveElement::SetLineFillAttr(const CLineAttr& line)
{
    m_lineFill.SetLineAttr(line);
    InvalidateBounds();
}

void CClosedCurveElement::SetLineFillAngle(double angle)
{
    m_lineFill.SetAngle(angle);
    InvalidateBounds();
}

void CClosedCurveElement::SetLineFillOrigin(int x, int y)
{
    m_lineFill.SetOrigin(x, y);
    InvalidateBounds();
}

void CClosedCurveElement::SetLineFillSpacing(int spacing)
{
    m_lineFill.SetSpacing(spacing);
    InvalidateBounds();
}

void CClosedCurveElement::GetFillLineShapes(CLineTypeShapeList& out)
{
    RecalcIfDirty();
    // Laid out aside: the lines kept for the paint stay as they are.
    out.RemoveAll();
    if (m_lineFillLayout) m_lineFillLayout->LayOut(kWholePage, out);
}

// ---------------------------------------------------------------------------
// Geometry

CRect CClosedCurveElement::GetBoundRect()
{
    if (IsBoundsDirty()) RecalcGeometry();
    return CCurveElement::GetBoundRect();
}

void CClosedCurveElement::RecalcGeometry()
{
    CCurveElement::RecalcGeometry();
    BuildOutlineShapes();
    // The lines themselves are laid out where they are painted.
    m_lineFillLayout.reset();
    if (m_fillKind == FILL_LINES)
        m_lineFillLayout = std::make_unique<CLineFillLayout>(m_outline, GetBoundRect(), m_lineFill);
}

bool CClosedCurveElement::MayCutOutlineForPaint() const
{
    // Within the paint's area a cut outline has the same inside, so a fill
    // of one colour paints the same there, and so do plain fill lines: each
    // piece of them there lies between the same crossings. A gradient is
    // laid over the outline's bounds, and dashes along a fill line from
    // where it crosses the outline, beyond the area too.
    if (!CCurveElement::MayCutOutlineForPaint()) return false;
    switch (m_fillKind) {
    case FILL_NONE:
    case FILL_SOLID: return true;
    case FILL_LINES: return m_lineFill.GetLineAttr().GetKind() == LINE_PLAIN;
    default: return false;
    }
}

long long CClosedCurveElement::PaintReach() const
{
    const double pen = std::max(std::fabs(double(m_lineFill.GetLineAttr().GetWidth())), double(LineReach::kThinPen));
    return std::max(CCurveElement::PaintReach(),
                    static_cast<long long>(std::min(LineReach::kJoinReach * pen, 1.0e12)) + 2);
}

void CClosedCurveElement::ReleaseGeometry()
{
    if (IsBoundsDirty()) return;
    CCurveElement::ReleaseGeometry();
    m_lineFillLayout.reset();
    m_lineFillDrawing.reset();
}

void CClosedCurveElement::BuildOutlineShapes()
{
    const int width = m_lineAttr.GetWidth();
    const int mm = UnitsPerMM();
    double length = 0.0;
    PolylineLength(m_outline, length);
    int k = m_lineAttr.GetKind();
    if (mm > length) k = LINE_PLAIN;
    if (k >= LINE_DASH && k <= LINE_DASH_TRIPLE && m_lineAttr.GetPeriod() <= mm) k = LINE_PLAIN;

    switch (k) {
    case LINE_DASH: BuildDashLine(m_outline); break;
    case LINE_DOT: BuildDotLine(m_outline); break;
    case LINE_DASH_PAIR: BuildDashPairLine(m_outline); break;
    case LINE_DASH_TRIPLE: BuildDashTripleLine(m_outline); break;
    case LINE_CUSTOM: BuildCustomPatternLine(m_outline); break;
    case LINE_SIDE_PLUS:
    case LINE_SIDE_MINUS:
    case LINE_SIDE_BOTH:
        m_shapes.RemoveAll();
        AddPlainShape(m_outline, width);
        if (k != LINE_SIDE_MINUS)
            BuildSideDashLine(ClosedOffset(m_outline, SideLineDistance(width, 1)));
        if (k != LINE_SIDE_PLUS)
            BuildSideDashLine(ClosedOffset(m_outline, SideLineDistance(width, -1)));
        break;
    case LINE_DOUBLE:
        m_shapes.RemoveAll();
        AddPlainShape(ClosedOffset(m_outline, SideLineDistance(width, 1)), width);
        BuildSideDashLine(m_outline);
        AddPlainShape(ClosedOffset(m_outline, SideLineDistance(width, -1)), width);
        break;
    default:
        // Plain, too short for its pattern, or a kind this program does not
        // know: one plain line, so no shapes of an earlier kind linger.
        m_shapes.RemoveAll();
        AddPlainShape(m_outline, width);
        break;
    }
}

int CClosedCurveElement::GetLineFillStride()
{
    if (IsBoundsDirty()) RecalcGeometry();
    return m_lineFillLayout ? m_lineFillLayout->Stride() : 1;
}

long long CClosedCurveElement::GetLineFillWork()
{
    RecalcIfDirty();
    if (!m_lineFillLayout) return 0;
    CLineTypeShapeList shapes;
    return m_lineFillLayout->LayOut(kWholePage, shapes).work;
}

CLineFillLayout::Shortfall CClosedCurveElement::GetLineFillShortfall(double scale, int originX, int originY,
                                                                     const CRect& clip)
{
    RecalcForPaint(scale, originX, originY, clip);
    return LineFillForPaint(scale, originX, originY, clip).result.shortfall;
}

// ---------------------------------------------------------------------------
// Drawing

// Everything of the fill that its pixels depend on besides the outline.
struct CClosedCurveElement::FillInputs {
    int kind = 0;
    int mode = 0;
    int alpha = 0;
    double angle = 0.0;
    COLORREF start = 0;
    COLORREF end = 0;
    COLORREF centre = 0;
    CPoint gradientStart;
    CPoint gradientEnd;
    CPoint gradientCentre;
    double blend = 0.0;
    double secondBlend = 0.0;
    int gamma = 0;
    qint64 bitmap = 0;
    CSize tileSize;
    CPoint tileCentre;

    bool operator==(const FillInputs& o) const
    {
        return kind == o.kind && mode == o.mode && alpha == o.alpha && angle == o.angle
            && start == o.start && end == o.end && centre == o.centre
            && gradientStart == o.gradientStart && gradientEnd == o.gradientEnd
            && gradientCentre == o.gradientCentre && blend == o.blend
            && secondBlend == o.secondBlend && gamma == o.gamma && bitmap == o.bitmap
            && tileSize == o.tileSize && tileCentre == o.tileCentre;
    }
};

// The outline and the fill's points in device pixels for one scale, origin
// and geometry, and the fill's image, kept while the inputs stay the same.
struct CClosedCurveElement::FillCache {
    bool mapped = false;
    unsigned version = 0;
    double scale = 0.0;
    int originX = 0;
    int originY = 0;
    std::vector<QPoint> polygon;
    // Gradient start, end and centre, tile centre: rounded, to tell how
    // the fill moved, and exact, to paint it (a point of a fill reaching
    // far off may lie beyond the int range of device pixels).
    QPoint points[4];
    QPointF exact[4];
    QRectF bounds;

    bool hasInputs = false;
    FillInputs inputs;
    CFillImage image;
    // The gradient's colours along its position, kept while the inputs
    // stay the same: they do not depend on the scale.
    std::shared_ptr<const CGradientRamp> ramp;
    // The image made before the paint that follows (CDrawPreparation), for
    // the device pixels of pendingTarget.
    QImage pendingImage;
    QRect pendingTarget;

    // The outline's page bounds (one past its greatest point).
    bool hasModelBounds = false;
    unsigned modelBoundsVersion = 0;
    CRect modelBounds;
};

CClosedCurveElement::FillInputs CClosedCurveElement::CurrentFillInputs() const
{
    FillInputs in;
    in.kind = m_fillKind;
    in.mode = m_fillMode;
    in.alpha = m_alpha;
    in.angle = m_fillAngle;
    in.start = m_startColor;
    in.end = m_endColor;
    in.centre = m_centerColor;
    in.gradientStart = m_gradientStart;
    in.gradientEnd = m_gradientEnd;
    in.gradientCentre = m_gradientCenter;
    in.blend = m_blendPosition;
    in.secondBlend = m_secondBlendPosition;
    in.gamma = m_gamma;
    in.bitmap = m_fillBitmap.IsEmpty() ? 0 : m_fillBitmap.Image().cacheKey();
    in.tileSize = m_tileSize;
    in.tileCentre = m_tileCenter;
    return in;
}

bool CClosedCurveElement::PaintsAreaFill() const
{
    // The fan is clipped to the outline by the alternate rule whatever the
    // fill mode says; the other kinds paint nothing in an unknown mode.
    if (m_fillKind == FILL_CONICAL) return true;
    Qt::FillRule rule;
    return m_fillKind >= FILL_BITMAP && m_fillKind <= FILL_SQUARE && FillRuleOf(m_fillMode, rule);
}

void CClosedCurveElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    if (!dc) return;
    RecalcForPaint(scale, originX, originY, clip);

    QPainter* painter = dc->Painter();
    if (painter && m_outline.GetCount() >= 3 && PaintsAreaFill())
        PaintFill(dc, *painter, scale, originX, originY);
    if (m_fillKind == FILL_LINES) PaintLineFill(dc, scale, originX, originY, clip);

    // The outline always lies on top of the fill, also when the fill could
    // not be painted.
    CCurveElement::Draw(dc, scale, originX, originY, clip);
}

void CClosedCurveElement::UpdateDeviceOutline(FillCache& cache, double scale, int originX,
                                              int originY) const
{
    // The fill's points are mapped at every paint: setting them marks
    // nothing dirty.
    QPoint points[4];
    const CPoint model[4] = {m_gradientStart, m_gradientEnd, m_gradientCenter, m_tileCenter};
    for (int i = 0; i < 4; ++i) {
        double x = 0.0, y = 0.0;
        ModelToDeviceF(model[i].x, model[i].y, scale, originX, originY, x, y);
        cache.exact[i] = QPointF(x, y);
        points[i] = QPoint(RoundToInt(x), RoundToInt(y));
    }
    if (cache.mapped && cache.version == GeometryVersion() && cache.scale == scale
        && cache.originX == originX && cache.originY == originY) {
        for (int i = 0; i < 4; ++i) cache.points[i] = points[i];
        return;
    }

    std::vector<QPoint> polygon;
    polygon.reserve(std::size_t(m_outline.GetCount()));
    for (const CPoint& p : m_outline) {
        const CPoint d = ModelToDevicePoint(p.x, p.y, scale, originX, originY);
        polygon.emplace_back(d.x, d.y);
    }

    // A view scrolled by whole pixels shows the same fill moved: the image
    // moves with it. Anything else makes a new image.
    QPoint shift;
    bool moved = cache.mapped && cache.scale == scale && !polygon.empty()
        && polygon.size() == cache.polygon.size() && !cache.image.IsEmpty()
        && ImageMove(cache.polygon.front(), polygon.front(), shift);
    QPoint move;
    for (std::size_t i = 0; moved && i < polygon.size(); ++i)
        moved = ImageMove(cache.polygon[i], polygon[i], move) && move == shift;
    for (int i = 0; moved && i < 4; ++i) moved = ImageMove(cache.points[i], points[i], move) && move == shift;
    if (moved) cache.image.Translate(shift.x(), shift.y());
    else cache.image.Clear();

    int left = 0, top = 0, right = 0, bottom = 0;
    if (!polygon.empty()) {
        left = right = polygon.front().x();
        top = bottom = polygon.front().y();
        for (const QPoint& p : polygon) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    }
    cache.bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
    cache.polygon = std::move(polygon);
    for (int i = 0; i < 4; ++i) cache.points[i] = points[i];
    cache.mapped = true;
    cache.version = GeometryVersion();
    cache.scale = scale;
    cache.originX = originX;
    cache.originY = originY;
}

namespace {

// A tile enlarged smoothly as the tiling brush shows it: its edges blend
// into the neighbouring tiles, which begin with its opposite edges.
QImage EnlargeTile(const QImage& tile, const QSize& size)
{
    const int w = tile.width();
    const int h = tile.height();
    QImage padded(w + 2, h + 2, tile.format());
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= w; ++x) padded.setPixel(x + 1, y + 1, tile.pixel((x + w) % w, (y + h) % h));
    const double kx = double(size.width()) / w;
    const double ky = double(size.height()) / h;
    const QImage scaled = padded.scaled(RoundToInt((w + 2) * kx), RoundToInt((h + 2) * ky), Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    return scaled.copy(RoundToInt(kx), RoundToInt(ky), size.width(), size.height());
}

}  // namespace

QRect CClosedCurveElement::UpdateFillCache(FillCache& cache, double scale, int originX, int originY,
                                           const QRectF& paintable) const
{
    // An outline whose page bounds fall outside what the painter can reach
    // paints nothing: it is not even mapped (most of a page, zoomed in).
    if (!cache.hasModelBounds || cache.modelBoundsVersion != GeometryVersion()) {
        cache.modelBounds = PolylineBoundRect(m_outline);
        cache.modelBoundsVersion = GeometryVersion();
        cache.hasModelBounds = true;
    }
    const CPoint low = ModelToDevicePoint(cache.modelBounds.left, cache.modelBounds.top, scale,
                                          originX, originY);
    const CPoint high = ModelToDevicePoint(cache.modelBounds.right, cache.modelBounds.bottom,
                                           scale, originX, originY);
    if (ReachablePixels(paintable, QRectF(QPointF(low.x, low.y), QPointF(high.x, high.y))).isEmpty())
        return QRect();

    UpdateDeviceOutline(cache, scale, originX, originY);
    const FillInputs inputs = CurrentFillInputs();
    if (!cache.hasInputs || !(cache.inputs == inputs)) {
        cache.image.Clear();
        cache.ramp.reset();
        cache.inputs = inputs;
        cache.hasInputs = true;
    }
    return ReachablePixels(paintable, cache.bounds);
}

QPainterPath CClosedCurveElement::FillArea(const FillCache& cache) const
{
    QPolygonF polygon;
    polygon.reserve(int(cache.polygon.size()));
    for (const QPoint& p : cache.polygon) polygon << QPointF(p);
    QPainterPath area;
    area.addPolygon(polygon);
    area.closeSubpath();
    Qt::FillRule rule = Qt::OddEvenFill;
    if (m_fillKind != FILL_CONICAL) FillRuleOf(m_fillMode, rule);
    area.setFillRule(rule);
    return area;
}

void CClosedCurveElement::PrepareDraw(const CDrawPreparation& prep)
{
    if (IsBoundsDirty()) return;
    CCurveElement::PrepareDraw(prep);
    if (m_fillKind == FILL_LINES) {
        // The lines are laid out for the area here too, off the paint.
        LineFillDrawing& drawing = LineFillForPaint(prep.scale, prep.originX, prep.originY, prep.clip);
        drawing.device.Prepare(drawing.shapes, drawing.layout, prep.scale, prep.originX, prep.originY,
                               prep.tolerance, prep.clip);
        return;
    }
    // Fills are made as images of their pixels, the costly part of a paint
    // at a new scale; a texture is left to the painter's own brush.
    const bool kept = m_fillKind >= FILL_SOLID && m_fillKind <= FILL_SQUARE;
    if (!prep.wholePixels || !kept || m_outline.GetCount() < 3 || !PaintsAreaFill()) return;
    if (!m_fillCache) m_fillCache = std::make_unique<FillCache>();
    FillCache& cache = *m_fillCache;
    cache.pendingImage = QImage();
    const QRect target = UpdateFillCache(cache, prep.scale, prep.originX, prep.originY, prep.paintable);
    if (target.isEmpty()) return;
    if (!cache.image.IsEmpty() && cache.image.Rect().contains(target)) return;
    if (m_fillKind == FILL_SOLID) {
        cache.pendingImage = RenderCoveredFill(FillArea(cache), target, SolidBrush());
    } else {
        const CFillShader shader = MakeShader(cache);
        if (shader.PaintsNothing()) return;
        cache.pendingImage = RenderCoveredFill(FillArea(cache), target, shader);
    }
    cache.pendingTarget = target;
}

QBrush CClosedCurveElement::SolidBrush() const
{
    return QBrush(QColor::fromRgba(FillColor(m_startColor, m_alpha)));
}

void CClosedCurveElement::PaintFill(CDC* dc, QPainter& painter, double scale, int originX,
                                    int originY) const
{
    if (!m_fillCache) m_fillCache = std::make_unique<FillCache>();
    FillCache& cache = *m_fillCache;
    // An image prepared for this paint is used now or never.
    QImage prepared = std::move(cache.pendingImage);
    cache.pendingImage = QImage();

    const QRect target = UpdateFillCache(cache, scale, originX, originY, PaintableRect(painter));
    if (target.isEmpty()) return;
    const bool keep = !dc->IsPrinting() && WholePixelTransform(painter.worldTransform());
    if (m_fillKind == FILL_SOLID && !keep) {
        PaintSolidFill(painter, cache);
        return;
    }
    if (keep && !cache.image.IsEmpty() && cache.image.Rect().contains(target)) {
        cache.image.Touch();
        painter.drawImage(target.topLeft(), cache.image.Image(),
                          target.translated(-cache.image.Rect().topLeft()));
        return;
    }
    if (keep && !prepared.isNull() && cache.pendingTarget == target) {
        painter.drawImage(target.topLeft(), prepared);
        cache.image.Keep(std::move(prepared), target);
        return;
    }

    const QPainterPath area = FillArea(cache);
    QImage image;
    if (m_fillKind == FILL_SOLID) {
        // One colour is filled by the painter in one go, not shaded pixel
        // by pixel; the image is kept for the paints that follow.
        image = RenderCoveredFill(area, target, SolidBrush());
    } else if (m_fillKind == FILL_BITMAP) {
        QBrush brush;
        // Without a texture only the outline shows.
        // A printer gets each tile enlarged smoothly to its own pixels, as
        // the screen blends the bitmap's pixels when it draws.
        const double devicePixels =
            dc->IsPrinting() ? std::sqrt(std::fabs(painter.deviceTransform().determinant())) : 0.0;
        if (!MakeBitmapBrush(cache, scale, brush, devicePixels)) return;
        if (!keep) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.setBrushOrigin(0, 0);
            FillPathBanded(painter, area, brush);
            painter.restore();
            return;
        }
        image = RenderCoveredFill(area, target, brush);
    } else {
        const CFillShader shader = MakeShader(cache);
        if (shader.PaintsNothing()) return;
        if (!keep) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            PaintShadedArea(painter, area, shader);
            painter.restore();
            return;
        }
        image = RenderCoveredFill(area, target, shader);
    }
    if (image.isNull()) return;
    painter.drawImage(target.topLeft(), image);
    cache.image.Keep(std::move(image), target);
}

void CClosedCurveElement::PaintSolidFill(QPainter& painter, const FillCache& cache) const
{
    // One colour needs no image: the painter fills the outline itself,
    // anti-aliased, as fast as it can.
    QPolygonF polygon;
    polygon.reserve(int(cache.polygon.size()));
    for (const QPoint& p : cache.polygon) polygon << QPointF(p);
    Qt::FillRule rule = Qt::OddEvenFill;
    FillRuleOf(m_fillMode, rule);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(FillColor(m_startColor, m_alpha)));
    painter.drawPolygon(polygon, rule);
    painter.restore();
}

std::shared_ptr<const CGradientRamp> CClosedCurveElement::MakeRamp() const
{
    switch (m_fillKind) {
    case FILL_LINEAR:
        return CGradientRamp::Shared(
            std::vector<CGradientRamp::Stop>{
                {0.0, FillColor(m_startColor, m_alpha)},
                {m_blendPosition, FillColor(MiddleColor(m_startColor, m_endColor), m_alpha)},
                {1.0, FillColor(m_endColor, m_alpha)}},
            m_gamma != 0);
    case FILL_CIRCULAR:
    case FILL_SQUARE:
        return CentredRamp(m_startColor, m_centerColor, m_blendPosition, m_secondBlendPosition, m_alpha, m_gamma);
    default:
        return nullptr;
    }
}

CFillShader CClosedCurveElement::MakeShader(FillCache& cache) const
{
    // On whole pixels, as ever, but not bound to the int range.
    auto pixel = [](const QPointF& p) { return QPointF(Rounded(p.x()), Rounded(p.y())); };
    const QPointF start = pixel(cache.exact[0]);
    const QPointF end = pixel(cache.exact[1]);
    const QPointF centre = pixel(cache.exact[2]);
    if (!cache.ramp) cache.ramp = MakeRamp();
    switch (m_fillKind) {
    case FILL_SOLID:
        return CFillShader::Solid(FillColor(m_startColor, m_alpha));
    case FILL_LINEAR:
        return CFillShader::Linear(start, end, cache.ramp);
    case FILL_CIRCULAR:
        return CFillShader::Circular(centre, ReachingRadius(cache.bounds, centre), cache.ramp);
    case FILL_CONICAL:
        return CFillShader::Conical(
            centre, m_fillAngle,
            ConicalGradientColors(m_startColor, m_endColor, RoundToInt(m_blendPosition * 180.0),
                                  m_alpha));
    case FILL_SQUARE:
        // The square of side 2R about the centre, turned about its middle,
        // which is the centre itself.
        return CFillShader::Square(centre, ReachingRadius(cache.bounds, centre), m_fillAngle, cache.ramp);
    default:
        return CFillShader();
    }
}

bool CClosedCurveElement::MakeBitmapBrush(const FillCache& cache, double scale, QBrush& brush,
                                          double devicePixels) const
{
    if (m_fillBitmap.IsEmpty()) return false;
    QImage image = m_fillBitmap.Image();
    const double w = m_tileSize.cx / scale;
    const double h = m_tileSize.cy / scale;
    const double angle = std::isfinite(m_fillAngle) ? m_fillAngle : 0.0;
    if (!std::isfinite(w) || !std::isfinite(h)) return false;

    // The reference tile: centred on the tile centre, turned about it, its
    // corner rounded to a pixel. In doubles: the centre of a fill reaching
    // far off may lie beyond the int range of device pixels, and the tiles
    // must still fall where they belong.
    const double cx = std::round(cache.exact[3].x());
    const double cy = std::round(cache.exact[3].y());
    const double corner[2] = {-std::round(w / 2.0), -std::round(h / 2.0)};
    const double radians = angle * Geo::kPi / 180.0;
    const double sine = std::sin(radians), cosine = std::cos(radians);
    const QPointF t(cx + std::round(corner[0] * cosine - corner[1] * sine),
                    cy + std::round(corner[0] * sine + corner[1] * cosine));

    if (devicePixels > 0.0 && std::isfinite(devicePixels)) {
        // The tile's size on the device, within a budget of pixels.
        constexpr double kLargestTilePixels = double(1 << 22);
        double tw = std::fabs(w) * devicePixels;
        double th = std::fabs(h) * devicePixels;
        if (tw * th > kLargestTilePixels) {
            const double shrink = std::sqrt(kLargestTilePixels / (tw * th));
            tw *= shrink;
            th *= shrink;
        }
        const QSize size(std::max(image.width(), int(std::ceil(tw))), std::max(image.height(), int(std::ceil(th))));
        if (size != image.size()) image = EnlargeTile(image, size);
    }
    QTransform transform = QTransform::fromScale(w / image.width(), h / image.height());
    transform *= QTransform().rotate(angle);
    transform *= QTransform::fromTranslate(t.x(), t.y());
    // A tile of no size cannot be repeated: no texture, and no fill.
    if (!transform.isInvertible()) return false;

    brush = QBrush(image);
    brush.setTransform(transform);
    return true;
}

CClosedCurveElement::LineFillDrawing& CClosedCurveElement::LineFillFor(const CRect& area)
{
    if (!m_lineFillDrawing) m_lineFillDrawing = std::make_unique<LineFillDrawing>();
    LineFillDrawing& drawing = *m_lineFillDrawing;
    // A layout for an area holding this one holds every piece that can show
    // in it, unless it had to leave some out or draw them plain.
    const bool holds = drawing.area.left <= area.left && drawing.area.top <= area.top
                       && drawing.area.right >= area.right && drawing.area.bottom >= area.bottom;
    if (drawing.valid && drawing.geometry == GeometryVersion()
        && (drawing.area == area || (holds && drawing.result.shortfall == CLineFillLayout::Shortfall::None)))
        return drawing;

    drawing.shapes.RemoveAll();
    drawing.result = CLineFillLayout::Result();
    if (m_lineFillLayout) drawing.result = m_lineFillLayout->LayOut(area, drawing.shapes);
    drawing.valid = true;
    drawing.geometry = GeometryVersion();
    drawing.area = area;
    ++drawing.layout;
    return drawing;
}

CClosedCurveElement::LineFillDrawing& CClosedCurveElement::LineFillForPaint(double scale, int originX, int originY,
                                                                            const CRect& clip)
{
    return LineFillFor(PaintArea(scale, originX, originY, clip));
}

void CClosedCurveElement::PaintLineFill(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    LineFillDrawing& drawing = LineFillForPaint(scale, originX, originY, clip);
    QPainter* painter = dc->Painter();
    if (!painter || dc->IsPrinting()) {
        for (const CLineTypeShape& shape : drawing.shapes)
            shape.Draw(dc, m_lineFill.GetColor(), scale, originX, originY, clip);
        return;
    }
    drawing.device.Draw(*painter, drawing.shapes, drawing.layout, m_lineFill.GetColor(), scale, originX, originY,
                        clip);
}

void CClosedCurveElement::DrawHighlight(CDC* dc, double scale, int originX, int originY,
                                        const CRect& clip)
{
    RecalcForPaint(scale, originX, originY, clip);
    CCurveElement::DrawHighlight(dc, scale, originX, originY, clip);
}

// ---------------------------------------------------------------------------
// Copy and records

void CClosedCurveElement::CopyFrom(const CGraphElement& other)
{
    CCurveElement::CopyFrom(other);
    const auto* source = dynamic_cast<const CClosedCurveElement*>(&other);
    if (!source || source == this) return;
    CopyFillFrom(*source);
    InvalidateBounds();
    CopyRecordBounds(*source);
}

void CClosedCurveElement::CopyFillFrom(const CClosedCurveElement& o)
{
    m_fillKind = o.m_fillKind;
    m_fillMode = o.m_fillMode;
    m_alpha = o.m_alpha;
    switch (m_fillKind) {
    case FILL_BITMAP:
        m_fillAngle = o.m_fillAngle;
        m_bitmapFillValue = o.m_bitmapFillValue;
        m_tileSize = o.m_tileSize;
        m_tileCenter = o.m_tileCenter;
        m_fillBitmap = o.m_fillBitmap;
        break;
    case FILL_SOLID:
        m_startColor = o.m_startColor;
        break;
    case FILL_LINEAR:
        m_fillAngle = o.m_fillAngle;
        m_startColor = o.m_startColor;
        m_endColor = o.m_endColor;
        m_gradientStart = o.m_gradientStart;
        m_gradientEnd = o.m_gradientEnd;
        m_blendPosition = o.m_blendPosition;
        m_secondBlendPosition = o.m_secondBlendPosition;
        m_gamma = o.m_gamma;
        break;
    case FILL_CIRCULAR:
        m_startColor = o.m_startColor;
        m_gradientStart = o.m_gradientStart;
        m_centerColor = o.m_centerColor;
        m_gradientCenter = o.m_gradientCenter;
        m_blendPosition = o.m_blendPosition;
        m_secondBlendPosition = o.m_secondBlendPosition;
        m_gamma = o.m_gamma;
        break;
    case FILL_CONICAL:
        m_fillAngle = o.m_fillAngle;
        m_startColor = o.m_startColor;
        m_endColor = o.m_endColor;
        m_gradientStart = o.m_gradientStart;
        m_gradientEnd = o.m_gradientEnd;
        m_gradientCenter = o.m_gradientCenter;
        m_blendPosition = o.m_blendPosition;
        break;
    case FILL_SQUARE:
        m_fillAngle = o.m_fillAngle;
        m_startColor = o.m_startColor;
        m_gradientStart = o.m_gradientStart;
        m_centerColor = o.m_centerColor;
        m_gradientCenter = o.m_gradientCenter;
        m_blendPosition = o.m_blendPosition;
        m_secondBlendPosition = o.m_secondBlendPosition;
        m_gamma = o.m_gamma;
        break;
    case FILL_LINES:
        m_lineFill = o.m_lineFill;
        break;
    default:
        break;
    }
}

int CClosedCurveElement::Load(CArchive& ar)
{
    CRect stored;
    const bool hasBounds = LoadCurve(ar, stored);
    LoadFill(ar);
    InvalidateBounds();
    if (hasBounds) KeepRecordBounds(stored);
    return 1;
}

int CClosedCurveElement::Store(CArchive& ar) const
{
    CCurveElement::Store(ar);
    StoreFill(ar);
    return 1;
}

int CClosedCurveElement::LoadFromLibrary(CArchive& ar, const std::vector<CSharedPoint*>& points,
                                         int version)
{
    LoadLibraryCurve(ar, points, version);
    LoadFill(ar);
    InvalidateBounds();
    return 1;
}

int CClosedCurveElement::StoreForLibrary(CArchive& ar, const CList<CSharedPoint*>& points) const
{
    StoreLibraryCurve(ar, points);
    StoreFill(ar);
    return 1;
}

int CClosedCurveElement::StoreForLibrary(CArchive& ar, const CLibraryPointNumbers& numbers) const
{
    StoreLibraryCurve(ar, numbers);
    StoreFill(ar);
    return 1;
}

void CClosedCurveElement::LoadFill(CArchive& ar)
{
    std::int32_t kind = 0, mode = 0, alpha = 0;
    ar >> kind >> mode >> alpha;
    m_fillKind = kind;
    m_fillMode = mode;
    m_alpha = alpha;

    std::int32_t gamma = 0;
    DWORD start = 0, end = 0, centre = 0;
    switch (kind) {
    case FILL_BITMAP:
        ar >> m_fillAngle >> m_bitmapFillValue >> m_tileSize >> m_tileCenter;
        m_fillBitmap.Clear();
        m_fillBitmap.Load(ar);
        break;
    case FILL_SOLID:
        ar >> start;
        m_startColor = start;
        break;
    case FILL_LINEAR:
        ar >> m_fillAngle >> start >> end >> m_gradientStart >> m_gradientEnd >> m_blendPosition
            >> m_secondBlendPosition >> gamma;
        m_startColor = start;
        m_endColor = end;
        m_gamma = gamma;
        break;
    case FILL_CIRCULAR:
        ar >> start >> m_gradientStart >> centre >> m_gradientCenter >> m_blendPosition
            >> m_secondBlendPosition >> gamma;
        m_startColor = start;
        m_centerColor = centre;
        m_gamma = gamma;
        break;
    case FILL_CONICAL:
        ar >> m_fillAngle >> start >> end >> m_gradientStart >> m_gradientEnd >> m_gradientCenter
            >> m_blendPosition;
        m_startColor = start;
        m_endColor = end;
        break;
    case FILL_SQUARE:
        ar >> m_fillAngle >> start >> m_gradientStart >> centre >> m_gradientCenter
            >> m_blendPosition >> m_secondBlendPosition >> gamma;
        m_startColor = start;
        m_centerColor = centre;
        m_gamma = gamma;
        break;
    case FILL_LINES:
        m_lineFill.Load(ar);
        break;
    default:
        // No fill, or a kind this program does not know: the record ends
        // after the alpha.
        break;
    }
}

void CClosedCurveElement::StoreFill(CArchive& ar) const
{
    ar << std::int32_t(m_fillKind) << std::int32_t(m_fillMode) << std::int32_t(m_alpha);
    switch (m_fillKind) {
    case FILL_BITMAP:
        ar << m_fillAngle << m_bitmapFillValue << m_tileSize << m_tileCenter;
        // Without a bitmap an empty block keeps the record readable.
        m_fillBitmap.Store(ar);
        break;
    case FILL_SOLID:
        ar << DWORD(m_startColor);
        break;
    case FILL_LINEAR:
        ar << m_fillAngle << DWORD(m_startColor) << DWORD(m_endColor) << m_gradientStart
           << m_gradientEnd << m_blendPosition << m_secondBlendPosition << std::int32_t(m_gamma);
        break;
    case FILL_CIRCULAR:
        ar << DWORD(m_startColor) << m_gradientStart << DWORD(m_centerColor) << m_gradientCenter
           << m_blendPosition << m_secondBlendPosition << std::int32_t(m_gamma);
        break;
    case FILL_CONICAL:
        ar << m_fillAngle << DWORD(m_startColor) << DWORD(m_endColor) << m_gradientStart
           << m_gradientEnd << m_gradientCenter << m_blendPosition;
        break;
    case FILL_SQUARE:
        ar << m_fillAngle << DWORD(m_startColor) << m_gradientStart << DWORD(m_centerColor)
           << m_gradientCenter << m_blendPosition << m_secondBlendPosition
           << std::int32_t(m_gamma);
        break;
    case FILL_LINES:
        m_lineFill.Store(ar);
        break;
    default:
        break;
    }
}
