// One polyline of a plotter drawing in the user units of the file, with
// the scaling, line type and pen in force when it was started.
#pragma once

#include "geometry/CDoublePoint.h"
#include "platform/Types.h"

#include <vector>

struct CHpglPrimitive {
    static constexpr int kPolyline = 13;

    // Plotter units = user units x scale + origin, per axis.
    CDoublePoint origin;
    double scaleX = 1.0;
    double scaleY = 1.0;
    int kind = kPolyline;
    // User units, x and y alternating.
    std::vector<double> coords;
    int lineType = 0;
    CRect inputWindow;
    int pen = 0;
    int rotation = 0;
    CRect hardClip;

    std::size_t PointCount() const { return coords.size() / 2; }
    CDoublePoint PointAt(std::size_t i) const { return {coords[2 * i], coords[2 * i + 1]}; }
    void Append(const CDoublePoint& p)
    {
        coords.push_back(p.x);
        coords.push_back(p.y);
    }
};

// Coordinate i of a primitive (even: x, odd: y) in plot units, hundredths
// of a millimetre of the plotted drawing (a plotter unit is 0.025 mm).
double HpglCoordToModel(const CHpglPrimitive& primitive, std::size_t i);
