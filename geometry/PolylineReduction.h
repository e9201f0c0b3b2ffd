// A polyline cut down to what a raster of a given resolution can show of
// it: a picture a few pixels across draws the same whether its outline has
// ten points or ten million, so the points it cannot show are dropped before
// anything is drawn.
#pragma once

#include "geometry/CDoublePoint.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <cstddef>
#include <vector>

// The points of `points` taken to a device by x' = x * scale + dx,
// y' = y * scale + dy, with every point dropped that lies within
// `tolerance` (device units) of the path through the points kept. Runs of
// points along one line (also back and forth along it) keep their first,
// their farthest and their last point. The first and the last point are
// always kept, so a closed outline stays closed. When the tolerance would
// keep more than `maxPoints` (at least 2), only evenly spaced ones of those
// are kept, about `maxPoints` / 2 to `maxPoints` of them. One pass, a few
// sums a point, and never more than `maxPoints` + 1 points held.
std::vector<CDoublePoint> SimplifyPolyline(const CPointList& points, double scale, double dx, double dy,
                                           double tolerance, std::size_t maxPoints);

// At most `maxPoints` (at least 2) of `points`, evenly spaced along the
// list, the first and the last among them.
void ThinPolyline(std::vector<CDoublePoint>& points, std::size_t maxPoints);
