// The mapping between model coordinates (0.01 mm) and device pixels, and
// drawing through it.
//
// A mapping is given by the scale (model units per pixel, > 0) and the
// origin (the model point shown at device pixel (0, 0)); both y axes point
// down. device = RoundToInt((model - origin) / scale) and
// model = origin + RoundToInt(device * scale).
#pragma once

#include "platform/CList.h"
#include "platform/LogFont.h"
#include "platform/Types.h"

#include <string>

class CDC;
class QPen;

void DeviceToModel(int dx, int dy, double scale, int originX, int originY, int& x, int& y);
CPoint DeviceToModelPoint(int dx, int dy, double scale, int originX, int originY);
// Corners mapped one by one; the rectangle is not normalised.
CRect DeviceToModelRect(int left, int top, int right, int bottom, double scale, int originX, int originY);

void ModelToDevice(int x, int y, double scale, int originX, int originY, int& dx, int& dy);
// Unrounded device coordinates, for anti-aliased drawing.
void ModelToDeviceF(int x, int y, double scale, int originX, int originY, double& dx, double& dy);
CPoint ModelToDevicePoint(int x, int y, double scale, int originX, int originY);
// Corners mapped one by one; the rectangle is not normalised.
CRect ModelToDeviceRect(int left, int top, int right, int bottom, double scale, int originX, int originY);

// A font height or width in model units as device pixels: rounded, at most
// 32000 in size, never 0 (a 0 would ask for the default size). The sign
// is kept: negative heights give the character height, positive ones the
// cell height.
int ModelToDeviceFontSize(int length, double scale);

// The points mapped and drawn with the dc's current pen (and brush, for
// the polygon, which is closed from the last point back to the first).
// An empty list draws nothing.
void DrawMappedPolygon(CDC& dc, const CPointList& points, double scale, int originX, int originY);
void DrawMappedPolyline(CDC& dc, const CPointList& points, double scale, int originX, int originY);

// Anti-aliased variants in the given colour and pen width (pixels, 0 is a
// hairline), at sub-pixel positions. The polygon's outline is stroked,
// then its inside filled (even-odd), so the fill covers the inner half of
// the outline. Lists of fewer than two points draw nothing.
// The smooth pen: flat caps, joins mitred up to kSmoothMiterLimit pen
// widths.
constexpr double kSmoothMiterLimit = 10.0;
QPen SmoothPen(COLORREF color, float penWidth);
void DrawMappedPolygonSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale,
                             int originX, int originY);
void DrawMappedPolylineSmooth(CDC& dc, COLORREF color, float penWidth, const CPointList& points, double scale,
                              int originX, int originY);

// Draws every line of the text, line 0 with the top-left of its cell at
// the model point (x, y). The font's height and width are model units, its
// escapement tenths of a degree; successive lines follow each other
// perpendicular to the escapement (downwards for escapement 0). The text
// is drawn with a transparent background in the dc's text colour; the
// dc's font and background mode are restored afterwards.
void DrawTextBlock(CDC& dc, int x, int y, LogFont font, const std::string& text, double scale, int originX,
                   int originY);
