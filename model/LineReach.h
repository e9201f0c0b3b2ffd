// How far the pieces of a line paint beyond their path: what a curve's
// line and the fill lines of a line-filled outline both reckon with when
// they lay out only the pieces a paint can show.
#pragma once

#include "platform/Types.h"

#include <algorithm>
#include <climits>

namespace LineReach {

// Pen width of the thin side and centre lines.
constexpr int kThinPen = 10;
// A mitred join of a stroked piece reaches this many pen widths past its
// vertex.
constexpr int kJoinReach = 5;

// The rectangle grown by `by` on every side, kept in the int range (`by`
// may itself lie beyond it).
inline CRect Inflated(const CRect& r, long long by)
{
    auto clamp = [](long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    return CRect(clamp(r.left - by), clamp(r.top - by), clamp(r.right + by), clamp(r.bottom + by));
}

}  // namespace LineReach
