// Small value types with the Windows conventions the drawing model was
// designed around: integer points, sizes and rectangles whose right and
// bottom edges are exclusive, and colours packed as 0x00BBGGRR.
#pragma once

#include <algorithm>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;
using COLORREF = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Sums and differences of coordinates, taken in 64 bits and brought back
// into an int at its nearest end when they lie beyond. Device pixels of
// far points reach the ends of the int range (zoomed in, a point a few
// kilometres off lies billions of pixels away), so the point and rectangle
// arithmetic below saturates rather than overflowing.
constexpr int SaturateToInt(long long v)
{
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int>(v);
}
constexpr int SumToInt(long long a, long long b) { return SaturateToInt(a + b); }
constexpr int DifferenceToInt(long long a, long long b) { return SaturateToInt(a - b); }

struct CSize {
    int cx = 0;
    int cy = 0;
    constexpr CSize() = default;
    constexpr CSize(int w, int h) : cx(w), cy(h) {}
    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    constexpr bool operator!=(const CSize& o) const { return !(*this == o); }
};

struct CPoint {
    int x = 0;
    int y = 0;
    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}
    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
    constexpr CPoint operator+(const CPoint& o) const { return {SumToInt(x, o.x), SumToInt(y, o.y)}; }
    constexpr CPoint operator-(const CPoint& o) const { return {DifferenceToInt(x, o.x), DifferenceToInt(y, o.y)}; }
    constexpr CPoint operator+(const CSize& s) const { return {SumToInt(x, s.cx), SumToInt(y, s.cy)}; }
    constexpr CPoint operator-(const CSize& s) const { return {DifferenceToInt(x, s.cx), DifferenceToInt(y, s.cy)}; }
    CPoint& operator+=(const CPoint& o) { return *this = *this + o; }
    CPoint& operator-=(const CPoint& o) { return *this = *this - o; }
    void Offset(int dx, int dy) { *this = *this + CPoint(dx, dy); }
};

// A rectangle whose right and bottom edges lie outside it, as in Win32.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& topLeft, const CPoint& bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}
    constexpr CRect(const CPoint& topLeft, const CSize& size)
        : left(topLeft.x), top(topLeft.y), right(SumToInt(topLeft.x, size.cx)), bottom(SumToInt(topLeft.y, size.cy))
    {
    }

    constexpr int Width() const { return DifferenceToInt(right, left); }
    constexpr int Height() const { return DifferenceToInt(bottom, top); }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const
    {
        return {SaturateToInt((static_cast<long long>(left) + right) / 2),
                SaturateToInt((static_cast<long long>(top) + bottom) / 2)};
    }

    // Empty when it has no area (zero or negative width or height).
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(const CPoint& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void NormalizeRect()
    {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    void OffsetRect(int dx, int dy)
    {
        SetRect(SumToInt(left, dx), SumToInt(top, dy), SumToInt(right, dx), SumToInt(bottom, dy));
    }
    void InflateRect(int dx, int dy)
    {
        SetRect(DifferenceToInt(left, dx), DifferenceToInt(top, dy), SumToInt(right, dx), SumToInt(bottom, dy));
    }
    void DeflateRect(int dx, int dy)
    {
        SetRect(SumToInt(left, dx), SumToInt(top, dy), DifferenceToInt(right, dx), DifferenceToInt(bottom, dy));
    }

    // Intersection of two normalised rectangles; FALSE (and an empty result)
    // when they do not overlap.
    BOOL IntersectRect(const CRect& a, const CRect& b)
    {
        CRect r(std::max(a.left, b.left), std::max(a.top, b.top),
                std::min(a.right, b.right), std::min(a.bottom, b.bottom));
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r;
        return TRUE;
    }
    // Union of two rectangles; an empty one takes no part.
    BOOL UnionRect(const CRect& a, const CRect& b)
    {
        if (a.IsRectEmpty()) { *this = b; }
        else if (b.IsRectEmpty()) { *this = a; }
        else {
            *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top),
                          std::max(a.right, b.right), std::max(a.bottom, b.bottom));
        }
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }

    constexpr bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

// Colour helpers in the 0x00BBGGRR layout.
constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }
