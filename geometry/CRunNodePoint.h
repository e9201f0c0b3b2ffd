// A node of an offset curve that remembers which run of the source curve
// (a straight chain of corners, or one smooth stretch between corners)
// produced it, counted from 0. Neighbouring runs are offset one by one, and
// where the run number changes the offset pieces still have to be joined.
#pragma once

#include "geometry/CNodePoint.h"

#include "platform/CList.h"

class CRunNodePoint : public CNodePoint {
public:
    CRunNodePoint() = default;
    CRunNodePoint(int px, int py, int nodeKind, int runIndex)
        : CNodePoint(px, py, nodeKind), run(runIndex)
    {
    }

    bool operator==(const CRunNodePoint& o) const
    {
        return CNodePoint::operator==(o) && run == o.run;
    }
    bool operator!=(const CRunNodePoint& o) const { return !(*this == o); }

    int run = 0;
};

using CRunNodePointList = CList<CRunNodePoint>;
