#include "Mapping.h"

#include "ClipToView.h"
#include "Constants.h"
#include "Distance.h"
#include "Lines.h"
#include "TextMeasure.h"

#include "platform/CDC.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kMaxFontPixels = 32000.0;

// origin + offset kept inside the range RoundToInt saturates to, so a far
// zoomed-out view cannot overflow.
int AddSaturated(int origin, int offset)
{
    const long long sum = static_cast<long long>(origin) + offset;
    return static_cast<int>(std::clamp<long long>(sum, -2147483647LL, 2147483646LL));
}

std::vector<CPoint> MapPoints(const CPointList& points, double scale, int originX, int originY)
{
    std::vector<CPoint> device;
    device.reserve(static_cast<std::size_t>(points.GetCount()));
    for (const CPoint& p : points) device.push_back(ModelToDevicePoint(p.x, p.y, scale, originX, originY));
    return device;
}

// Device points for the painter: QPainter puts pixel centres at +0.5,
// where the anti-aliased drawing of the original put them on the integers.
QPolygonF MapPointsF(const CPointList& points, double scale, int originX, int originY)
{
    QPolygonF device;
    device.reserve(points.GetCount());
    for (const CPoint& p : points) {
        double dx = 0;
        double dy = 0;
        ModelToDeviceF(p.x, p.y, scale, originX, originY, dx, dy);
        device << QPointF(dx + 0.5, dy + 0.5);
    }
    return device;
}

// The visible area of the painter grown by a margin of `pen` pixels more
// than the cut margin.
QRectF CutArea(const QPainter& painter, double pen)
{
    const double m = kCutMargin + pen;
    return VisibleArea(painter).adjusted(-m, -m, m, m);
}

// A pen wider than what can be seen is painted as the area it covers there.
bool IsWiderThanView(double penWidth, const QRectF& visible)
{
    return penWidth > std::max(visible.width(), visible.height());
}

// The polygon, cut to the area when it reaches past it.
QPolygonF CutToArea(const QPolygonF& polygon, const QRectF& area)
{
    return area.contains(polygon.boundingRect()) ? polygon : ClipPolygonToRect(polygon, area);
}

// The smooth polygon differs from the smooth polyline only in closing the
// outline and filling it in the same colour.
void DrawSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale, int originX,
                int originY, bool polygon)
{
    if (points.GetCount() < 2) return;
    QPolygonF device = MapPointsF(points, scale, originX, originY);
    QPainter* painter = dc.Painter();
    const QRectF visible = VisibleArea(*painter);
    if (!polygon && IsWiderThanView(penWidth, visible)) {
        FillStrokeArea(*painter, StrokeAreaInRect(device, penWidth, kSmoothMiterLimit, CutArea(*painter, 0.0)),
                       ToQColor(color));
        return;
    }
    if (polygon) {
        device = CutToArea(device, CutArea(*painter, penWidth));
        if (device.isEmpty()) return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(SmoothPen(color, penWidth));
    painter->setBrush(Qt::NoBrush);
    if (polygon) {
        painter->drawPolygon(device);
        QPainterPath inside;
        inside.setFillRule(Qt::OddEvenFill);
        inside.addPolygon(device);
        inside.closeSubpath();
        FillPathBanded(*painter, inside, ToQColor(color));
    } else {
        StrokePolylineBanded(*painter, device, visible);
    }
    painter->restore();
}

} // namespace

QPen SmoothPen(COLORREF color, float penWidth)
{
    QPen pen(ToQColor(color));
    pen.setWidthF(penWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(kSmoothMiterLimit);
    return pen;
}

void DeviceToModel(int dx, int dy, double scale, int originX, int originY, int& x, int& y)
{
    x = AddSaturated(originX, RoundToInt(dx * scale));
    y = AddSaturated(originY, RoundToInt(dy * scale));
}

CPoint DeviceToModelPoint(int dx, int dy, double scale, int originX, int originY)
{
    CPoint p;
    DeviceToModel(dx, dy, scale, originX, originY, p.x, p.y);
    return p;
}

CRect DeviceToModelRect(int left, int top, int right, int bottom, double scale, int originX, int originY)
{
    return CRect(DeviceToModelPoint(left, top, scale, originX, originY),
                 DeviceToModelPoint(right, bottom, scale, originX, originY));
}

void ModelToDevice(int x, int y, double scale, int originX, int originY, int& dx, int& dy)
{
    double fx = 0;
    double fy = 0;
    ModelToDeviceF(x, y, scale, originX, originY, fx, fy);
    dx = RoundToInt(fx);
    dy = RoundToInt(fy);
}

void ModelToDeviceF(int x, int y, double scale, int originX, int originY, double& dx, double& dy)
{
    // The differences in doubles: x - originX can overflow an int.
    dx = (static_cast<double>(x) - originX) / scale;
    dy = (static_cast<double>(y) - originY) / scale;
}

CPoint ModelToDevicePoint(int x, int y, double scale, int originX, int originY)
{
    CPoint p;
    ModelToDevice(x, y, scale, originX, originY, p.x, p.y);
    return p;
}

CRect ModelToDeviceRect(int left, int top, int right, int bottom, double scale, int originX, int originY)
{
    return CRect(ModelToDevicePoint(left, top, scale, originX, originY),
                 ModelToDevicePoint(right, bottom, scale, originX, originY));
}

int ModelToDeviceFontSize(int length, double scale)
{
    const double pixels = length / scale;
    if (std::fabs(pixels) >= kMaxFontPixels) return pixels < 0 ? -32000 : 32000;
    const int rounded = RoundToInt(pixels);
    if (rounded != 0) return rounded;
    return length < 0 ? -1 : 1;
}

void DrawMappedPolygon(CDC& dc, const CPointList& points, double scale, int originX, int originY)
{
    if (points.IsEmpty()) return;
    std::vector<CPoint> device = MapPoints(points, scale, originX, originY);
    if (const QPainter* painter = dc.Painter()) {
        // Cut on whole pixels, so the points stay those the system draws.
        const QRectF area = CutArea(*painter, std::max(1, dc.GetPen().width)).toAlignedRect();
        QPolygonF polygon;
        polygon.reserve(int(device.size()));
        for (const CPoint& p : device) polygon << QPointF(p.x, p.y);
        if (!area.contains(polygon.boundingRect())) {
            device.clear();
            for (const QPointF& p : ClipPolygonToRect(polygon, area))
                device.push_back(CPoint(RoundToInt(p.x()), RoundToInt(p.y())));
            if (device.empty()) return;
        }
    }
    dc.Polygon(device.data(), static_cast<int>(device.size()));
}

void DrawMappedPolyline(CDC& dc, const CPointList& points, double scale, int originX, int originY)
{
    if (points.IsEmpty()) return;
    const std::vector<CPoint> device = MapPoints(points, scale, originX, originY);
    const CPen& pen = dc.GetPen();
    QPainter* painter = dc.Painter();
    if (painter && pen.style == PS_SOLID && IsWiderThanView(pen.width, VisibleArea(*painter))) {
        QPolygonF line;
        line.reserve(int(device.size()));
        for (const CPoint& p : device) line << QPointF(p.x + 0.5, p.y + 0.5);
        FillStrokeArea(*painter, StrokeAreaInRect(line, pen.width, kSmoothMiterLimit, CutArea(*painter, 0.0)),
                       ToQColor(pen.color));
        return;
    }
    dc.Polyline(device.data(), static_cast<int>(device.size()));
}

void DrawMappedPolygonSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale,
                             int originX, int originY)
{
    DrawSmooth(dc, color, penWidth, points, scale, originX, originY, true);
}

void DrawMappedPolylineSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale,
                              int originX, int originY)
{
    DrawSmooth(dc, color, penWidth, points, scale, originX, originY, false);
}

void DrawTextBlock(CDC& dc, int x, int y, LogFont font, const std::string& text, double scale, int originX,
                   int originY)
{
    font.lfHeight = ModelToDeviceFontSize(font.lfHeight, scale);
    if (font.lfWidth != 0) font.lfWidth = ModelToDeviceFontSize(font.lfWidth, scale);

    // The block is measured upright; its height is what the lines share.
    LogFont upright = font;
    upright.lfEscapement = 0;
    upright.lfOrientation = 0;
    const LogFont previousFont = dc.SelectFont(upright);
    int lines = 0;
    const CSize block = MeasureTextBlock(dc, text, lines);
    if (lines <= 0) {
        dc.SelectFont(previousFont);
        return;
    }

    // The block's height in model units, turned to run across the text's
    // direction: (x + H sin a, y + H cos a).
    const double angle = font.lfEscapement / 1800.0 * Geo::kPi;
    CPoint end(x, y + RoundToInt(block.cy * scale));
    RotatePoint(end, x, y, std::sin(-angle), std::cos(-angle));
    const double stepX = (static_cast<double>(end.x) - x) / lines;
    const double stepY = (static_cast<double>(end.y) - y) / lines;

    dc.SelectFont(font);
    const int previousBkMode = dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < lines; ++i) {
        const int lineX = AddSaturated(x, RoundToInt(i * stepX));
        const int lineY = AddSaturated(y, RoundToInt(i * stepY));
        int dx = 0;
        int dy = 0;
        ModelToDevice(lineX, lineY, scale, originX, originY, dx, dy);
        dc.TextOut(dx, dy, GetTextLine(text, i));
    }
    dc.SetBkMode(previousBkMode);
    dc.SelectFont(previousFont);
}
