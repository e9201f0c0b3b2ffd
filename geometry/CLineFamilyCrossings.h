// The crossings of a family of parallel lines a x + b y + c = 0 with a
// polyline, the lines met in increasing order of c. Each line is tested
// only against the segments whose span of c reaches it: the segments are
// sorted by their spans once, and a scan keeps the ones the current line
// lies within. A line across a long outline then costs what it meets,
// not the length of the outline.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <set>
#include <vector>

class CLineFamilyCrossings {
public:
    // (a, b) is the family's normal; the polyline is copied.
    CLineFamilyCrossings(const CPointList& polyline, double a, double b);

    // What LineEquationPolylineIntersections(a, b, c, polyline, out) gives,
    // crossings in the order of the polyline's segments. c must not be less
    // than at the previous call.
    int Crossings(double c, CPointList& out);

    // Starts the scan over, so that the next call may take any line
    // constant; the segments stay sorted.
    void Restart();

    // Segments tested against a line so far: the work done.
    long long Tested() const { return m_tested; }

private:
    struct Segment {
        CPoint from;
        CPoint to;
        // The span of line constants the segment can report a crossing for.
        double low = 0.0;
        double high = 0.0;
    };

    double m_a;
    double m_b;
    std::vector<Segment> m_segments;
    // Segment indices by the low and by the high end of their spans.
    std::vector<int> m_byLow;
    std::vector<int> m_byHigh;
    std::size_t m_nextLow = 0;
    std::size_t m_nextHigh = 0;
    // The segments the current line lies within, in polyline order.
    std::set<int> m_active;
    long long m_tested = 0;
};
