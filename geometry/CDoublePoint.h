// A point of two doubles: the coordinates of plotter drawings before they
// are rounded to page units.
#pragma once

struct CDoublePoint {
    double x = 0.0;
    double y = 0.0;

    constexpr CDoublePoint() = default;
    constexpr CDoublePoint(double px, double py) : x(px), y(py) {}
    constexpr CDoublePoint(int px, int py) : x(px), y(py) {}

    CDoublePoint& operator+=(const CDoublePoint& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr CDoublePoint operator+(const CDoublePoint& o) const { return {x + o.x, y + o.y}; }
    constexpr CDoublePoint operator-(const CDoublePoint& o) const { return {x - o.x, y - o.y}; }
    // Exact: no tolerance.
    constexpr bool operator==(const CDoublePoint& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const CDoublePoint& o) const { return !(*this == o); }
};
