// A dash pattern laid out along a path: dash and gap lengths in turn (as
// measured along the path) repeated period after period, an open path
// ending with one more first dash that reaches its last point. Each dash
// is handed over as the stretch of a working copy of the path between two
// positions (points that fall between vertices are put in for the time of
// the call), for the caller to turn into shapes.
//
// A line of a few dashes is laid out whole once. A damaged line can hold a
// hundred thousand periods winding over the page, and laying all of them
// out at every change costs by their number: such a line is laid out only
// where it is drawn, the dashes that can meet the part of the page shown.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>
#include <vector>

class CDashLayout {
public:
    using Emit = std::function<void(CPointList& work, POSITION from, POSITION to)>;

    CDashLayout(const CPointList& path, std::vector<double> pattern, int periods, bool closed);

    // How many dashes the whole layout has.
    long long DashCount() const;
    const CPointList& Path() const { return m_path; }

    // Every dash, from the path's start on.
    void LayOutAll(const Emit& emit) const;
    // The dashes that run through the rectangle, each once and in order
    // along the path: those whose stretch of the path overlaps the parts of
    // the path inside the rectangle, found by their lengths along it, so
    // that the work goes by the dashes found rather than by the whole.
    void LayOutMeeting(const CRect& rect, const Emit& emit) const;

private:
    CPointList m_path;
    std::vector<double> m_pattern;
    int m_periods;
    bool m_closed;
};
