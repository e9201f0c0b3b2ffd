// Point and rectangle arithmetic at the ends of the int range: device
// pixels of far points lie there, and every sum stops at the end instead
// of overflowing (the sanitizer build catches one that does not).
#include "platform/Types.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Types, RectangleArithmeticStopsAtTheEndsOfTheRange)
{
    CRect r(INT_MIN + 1, -5, INT_MAX - 1, 5);
    r.InflateRect(3, 3);
    EXPECT_EQ(r, CRect(INT_MIN, -8, INT_MAX, 8));
    EXPECT_EQ(r.Width(), INT_MAX);
    EXPECT_EQ(r.Height(), 16);
    EXPECT_EQ(r.CenterPoint(), CPoint(0, 0));
    r.OffsetRect(INT_MAX, INT_MIN);
    EXPECT_EQ(r, CRect(-1, INT_MIN, INT_MAX, INT_MIN + 8));
    r.DeflateRect(INT_MIN, 2);
    EXPECT_EQ(r, CRect(INT_MIN, INT_MIN + 2, INT_MAX, INT_MIN + 6));
    EXPECT_EQ(CRect(CPoint(INT_MAX - 10, INT_MIN + 10), CSize(100, -100)),
              CRect(INT_MAX - 10, INT_MIN + 10, INT_MAX, INT_MIN));
    EXPECT_EQ(CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN).Width(), INT_MIN);

    // Within the range nothing changes.
    CRect small(10, 20, 30, 60);
    small.InflateRect(2, 3);
    small.OffsetRect(-5, 7);
    EXPECT_EQ(small, CRect(3, 24, 27, 70));
    EXPECT_EQ(small.CenterPoint(), CPoint(15, 47));
    EXPECT_EQ(CRect(-7, -7, 0, 0).CenterPoint(), CPoint(-3, -3));
}

TEST(Types, PointArithmeticStopsAtTheEndsOfTheRange)
{
    EXPECT_EQ(CPoint(INT_MAX, INT_MIN) + CPoint(1, -1), CPoint(INT_MAX, INT_MIN));
    EXPECT_EQ(CPoint(INT_MIN, INT_MAX) - CPoint(1, -1), CPoint(INT_MIN, INT_MAX));
    EXPECT_EQ(CPoint(0, 0) - CPoint(INT_MIN, INT_MIN), CPoint(INT_MAX, INT_MAX));
    EXPECT_EQ(CPoint(INT_MAX - 1, 0) + CSize(5, -5), CPoint(INT_MAX, -5));
    CPoint p(INT_MAX - 1, INT_MIN + 1);
    p += CPoint(10, -10);
    EXPECT_EQ(p, CPoint(INT_MAX, INT_MIN));
    p -= CPoint(INT_MIN, INT_MAX);
    EXPECT_EQ(p, CPoint(INT_MAX, INT_MIN));
    p.Offset(-INT_MAX, INT_MAX);
    EXPECT_EQ(p, CPoint(0, -1));
    EXPECT_EQ(CPoint(3, 4) + CPoint(-5, 6) - CSize(1, 1), CPoint(-3, 9));
}
