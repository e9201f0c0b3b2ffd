// Angles, distances and arcs on double points, and arcs and circles laid
// out as chords (the way a pen plotter draws them).
#pragma once

#include "geometry/CDoublePoint.h"

#include <vector>

// atan2 of the direction from a to b, in (-pi, pi].
double HpglLineAngle(const CDoublePoint& a, const CDoublePoint& b);
double HpglDistance(const CDoublePoint& a, const CDoublePoint& b);
// The three points lie on one line: both chords vertical, or neither
// vertical and their slopes exactly equal.
bool HpglPointsCollinear(const CDoublePoint& p, const CDoublePoint& q, const CDoublePoint& r);

// The points of an arc about `centre` that starts at `start` and turns by
// `sweepDegrees` (counter-clockwise when positive, y up), in chords of at
// most `chordDegrees`. The first point is `start`; a sweep of 360 degrees
// or more ends exactly on the first point. Chord angles are taken within
// [0.36, 180] degrees; no sweep, or a start on the centre, gives `start`
// alone.
std::vector<CDoublePoint> ArcChordPoints(const CDoublePoint& centre, const CDoublePoint& start,
                                         double sweepDegrees, double chordDegrees);

// The chord angle, in degrees, whose chords stray at most `deviation` from
// a circle of `radius`; 180 when the deviation spans the whole circle.
double ChordAngleForDeviation(double radius, double deviation);

// The centre of the circle through three points that are not collinear;
// false when they are (or nearly so, for doubles).
bool CircleThroughPoints(const CDoublePoint& a, const CDoublePoint& b, const CDoublePoint& c,
                         CDoublePoint& centre);

// The arc from p through q to r as chords of at most `chordDegrees`:
// p first, r last, q on the way. Empty when the points are collinear.
std::vector<CDoublePoint> ArcThroughPoints(const CDoublePoint& p, const CDoublePoint& q, const CDoublePoint& r,
                                           double chordDegrees);
