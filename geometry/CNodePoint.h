// One node of a curve as the offset functions see it: its position and
// whether the curve runs smooth through it or turns a corner there (the
// node kinds of the curve model: 0 corner, 1 smooth).
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

class CNodePoint {
public:
    CNodePoint() = default;
    CNodePoint(int px, int py, int nodeKind) : x(px), y(py), kind(nodeKind) {}

    CPoint GetPoint() const { return CPoint(x, y); }
    bool IsCorner() const { return kind == 0; }
    bool SamePlace(const CNodePoint& o) const { return x == o.x && y == o.y; }

    bool operator==(const CNodePoint& o) const { return x == o.x && y == o.y && kind == o.kind; }
    bool operator!=(const CNodePoint& o) const { return !(*this == o); }

    int x = 0;
    int y = 0;
    int kind = 0;
};

using CNodePointList = CList<CNodePoint>;
