#include "Mapping.h"

#include "Constants.h"
#include "Distance.h"
#include "Lines.h"
#include "TextMeasure.h"

#include "platform/CDC.h"

#include <QPainter>
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

QPen SmoothPen(COLORREF color, float penWidth)
{
    QPen pen(ToQColor(color));
    pen.setWidthF(penWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10.0);
    return pen;
}

// The smooth polygon differs from the smooth polyline only in closing the
// outline and filling it in the same colour.
void DrawSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale, int originX,
                int originY, bool polygon)
{
    if (points.GetCount() < 2) return;
    const QPolygonF device = MapPointsF(points, scale, originX, originY);
    QPainter* painter = dc.Painter();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(SmoothPen(color, penWidth));
    painter->setBrush(Qt::NoBrush);
    if (polygon) {
        painter->drawPolygon(device);
        painter->setPen(Qt::NoPen);
        painter->setBrush(ToQColor(color));
        painter->drawPolygon(device, Qt::OddEvenFill);
    } else {
        painter->drawPolyline(device);
    }
    painter->restore();
}

} // namespace

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
    const std::vector<CPoint> device = MapPoints(points, scale, originX, originY);
    dc.Polygon(device.data(), static_cast<int>(device.size()));
}

void DrawMappedPolyline(CDC& dc, const CPointList& points, double scale, int originX, int originY)
{
    if (points.IsEmpty()) return;
    const std::vector<CPoint> device = MapPoints(points, scale, originX, originY);
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
