// The plotter's state while a file is read: pen, scaling, label settings,
// and the polylines and labels drawn so far. Each owner of an import keeps
// its own.
#pragma once

#include "library/CHpglLabel.h"
#include "library/CHpglPrimitive.h"

#include "geometry/CDoublePoint.h"
#include "platform/Types.h"

#include <string>
#include <vector>

struct HpglState {
    static constexpr char kDefaultTerminator = 3; // ETX
    static constexpr double kDefaultCharWidth = 0.285;
    static constexpr double kDefaultCharHeight = 0.375;
    static constexpr double kDefaultChordAngle = 5.0;

    int pen = 0;
    CDoublePoint penPosition;
    bool penDown = false;
    CRect hardClip{0, 0, 40000, 40000};
    CRect inputWindow;
    // Plotter units = user units x scale + origin, per axis.
    CDoublePoint origin;
    CDoublePoint p1;
    CDoublePoint p2{40000.0, 40000.0};
    double scaleX = 1.0;
    double scaleY = 1.0;
    // User units are plotter units until SC sets a scaling.
    bool scaling = false;
    int rotation = 0;
    bool absolute = true;
    char terminator = kDefaultTerminator;
    // Whether a label shows its terminator (DT mode 0).
    bool printTerminator = false;
    double direction = 0.0;
    double charWidth = kDefaultCharWidth;
    double charHeight = kDefaultCharHeight;
    int labelOrigin = 1;
    int lineType = 0;
    double scXMin = 0.0;
    double scXMax = 40000.0;
    double scYMin = 0.0;
    double scYMax = 40000.0;
    int scType = 0;
    double scLeft = 50.0;
    double scBottom = 50.0;
    // Chord tolerance: 0 gives chords by angle, 1 by deviation.
    int chordMode = 0;

    std::vector<CHpglPrimitive> primitives;
    std::vector<CHpglLabel> labels;
    // The primitive whose last point is the pen, which a further pen-down
    // move continues; -1 after anything that lifts or changes the pen.
    long continuing = -1;

    // Every setting to its start value; the lists are left alone.
    void Reset();
    // The origin and scales from P1, P2 and the SC settings.
    void UpdateScaling();
    // A user point in plot units (hundredths of a millimetre, y up).
    CDoublePoint ToPlot(const CDoublePoint& user) const;
};
