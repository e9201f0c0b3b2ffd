// 64-bit helpers for the table's coordinates: a damaged record may hold
// any corners, and sums or differences of them must not overflow.
#pragma once

#include "platform/Types.h"

#include <algorithm>
#include <climits>

namespace TableArithmetic {

inline int Clamp(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

inline long long Width(const CRect& r)
{
    return (long long)r.right - r.left;
}

inline long long Height(const CRect& r)
{
    return (long long)r.bottom - r.top;
}

inline CRect Offset(const CRect& r, long long dx, long long dy)
{
    return CRect(Clamp(r.left + dx), Clamp(r.top + dy), Clamp(r.right + dx), Clamp(r.bottom + dy));
}

} // namespace TableArithmetic
