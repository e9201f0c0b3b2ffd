// Point helpers shared by the geometry tests.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <ostream>
#include <vector>

// Readable failure messages for points.
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

using Points = std::vector<CPoint>;

// A list as a vector, which the matchers compare and print point by point.
inline Points ToVector(const CPointList& list) { return Points(list.begin(), list.end()); }
