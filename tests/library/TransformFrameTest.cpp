// The transform frame of the process-drawing tool on its own: the base
// rectangle, the handles under the mouse, moves, turns and scaling drags
// with their refusals and bounds, and the mapping of points.
#include "library/CTransformFrame.h"

#include "geometry/Constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

// A frame around (1000, 1000)-(3001, 2001): the base runs 1000..3000 by
// 1000..2000, centre (2000, 1500), 2000 wide and 1000 high.
CTransformFrame Frame()
{
    CTransformFrame frame;
    frame.Reset(CRect(1000, 1000, 3001, 2001));
    return frame;
}

// A whole drag: press on the handle, steps to each point, press again.
void Drag(CTransformFrame& frame, int kind, CPoint from, std::initializer_list<CPoint> to,
          double unitsPerPixel = 1.0)
{
    frame.BeginDrag(kind, from);
    CPoint anchor = from;
    for (const CPoint& mouse : to) {
        CPoint current;
        frame.StepTo(kind, anchor, mouse, current);
        frame.Update(kind, anchor, current, unitsPerPixel);
        anchor = current;
    }
}

} // namespace

TEST(TransformFrame, BaseComesOneUnitInExceptOnNarrowSides)
{
    CTransformFrame frame = Frame();
    EXPECT_EQ(frame.Q(0), CPoint(1000, 1000));
    EXPECT_EQ(frame.Q(2), CPoint(3000, 2000));
    EXPECT_EQ(frame.BaseCentre(), CPoint(2000, 1500));
    EXPECT_EQ(frame.Width(), 2000);
    EXPECT_EQ(frame.Height(), 1000);
    EXPECT_TRUE(frame.IsUnchanged());

    // One unit wide keeps its right edge.
    frame.Reset(CRect(500, 0, 501, 300));
    EXPECT_EQ(frame.Q(1), CPoint(501, 0));
    EXPECT_EQ(frame.Q(2), CPoint(501, 299));
    EXPECT_EQ(frame.Width(), 1);
}

TEST(TransformFrame, HandlesUnderTheMouse)
{
    const CTransformFrame frame = Frame();
    // A third of the shorter side (333) is more than 10 pixels at 1 unit
    // per pixel; at 50 units per pixel the third is the smaller.
    EXPECT_EQ(frame.Tolerance(1.0), 10);
    EXPECT_EQ(frame.Tolerance(50.0), 333);
    CTransformFrame small;
    small.Reset(CRect(0, 0, 401, 301));
    EXPECT_EQ(small.Tolerance(1.0), 10);
    EXPECT_EQ(small.Tolerance(50.0), 100);

    struct Case {
        CPoint mouse;
        bool shift;
        int kind;
    };
    const Case cases[] = {
        {{2000, 1003}, false, CTransformFrame::kEdgeTop},
        {{2995, 1500}, false, CTransformFrame::kEdgeRight},
        {{2000, 2008}, false, CTransformFrame::kEdgeBottom},
        {{991, 1500}, false, CTransformFrame::kEdgeLeft},
        {{2000, 1500}, false, CTransformFrame::kMove},
        {{1003, 1004}, false, CTransformFrame::kRotate},
        {{1003, 1004}, true, CTransformFrame::kCorner1},
        {{3002, 998}, true, CTransformFrame::kCorner2},
        {{2996, 2001}, true, CTransformFrame::kCorner3},
        {{1000, 2009}, true, CTransformFrame::kCorner4},
        {{500, 500}, false, CTransformFrame::kNone},
        {{2000, 1020}, false, CTransformFrame::kMove},
        {{2000, 980}, false, CTransformFrame::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mouse.x << "," << c.mouse.y << (c.shift ? " shift" : ""));
        EXPECT_EQ(frame.HitTest(c.mouse, 1.0, c.shift), c.kind);
    }
}

TEST(TransformFrame, MovesAndMapsPoints)
{
    CTransformFrame frame = Frame();
    Drag(frame, CTransformFrame::kMove, {2000, 1500}, {{2100, 1500}, {2300, 1900}});
    EXPECT_EQ(frame.Centre(), CPoint(2300, 1900));
    EXPECT_EQ(frame.P(0), CPoint(1300, 1400));
    EXPECT_EQ(frame.P(2), CPoint(3300, 2400));
    EXPECT_EQ(frame.MapPoint({1000, 1000}), CPoint(1300, 1400));
    EXPECT_EQ(frame.MapPictureCorner({3000, 2000}), CPoint(3300, 2400));
    EXPECT_FALSE(frame.IsUnchanged());
}

TEST(TransformFrame, TurnsAboutTheCentre)
{
    CTransformFrame frame = Frame();
    // A quarter turn from the right of the centre to below it (y down).
    Drag(frame, CTransformFrame::kRotate, {3000, 1500}, {{2707, 2207}, {2000, 2500}});
    EXPECT_NEAR(frame.Angle(), Geo::kHalfPi, 1e-3);
    EXPECT_EQ(frame.MapPoint({3000, 1500}), CPoint(2000, 2500));
    EXPECT_EQ(frame.P(0), CPoint(2500, 500));

    // Twice round stays within one turn.
    CTransformFrame twice = Frame();
    Drag(twice, CTransformFrame::kRotate, {3000, 1500},
         {{2000, 2500}, {1000, 1500}, {2000, 500}, {3000, 1501}, {2000, 2500}, {1000, 1500}, {2000, 500},
          {3000, 1500}});
    EXPECT_LT(twice.Angle(), Geo::kTwoPi);
    EXPECT_GE(twice.Angle(), 0.0);

    // Points on the centre have no direction: the turn takes no angle.
    CTransformFrame centred = Frame();
    Drag(centred, CTransformFrame::kRotate, {2000, 1500}, {{2000, 1500}, {2900, 1500}, {2000, 1500}}, 1.0);
    EXPECT_EQ(centred.Angle(), 0.0);
    EXPECT_TRUE(std::isfinite(centred.Angle()));
}

TEST(TransformFrame, EdgeDragsScaleFromTheOppositeSide)
{
    CTransformFrame frame = Frame();
    Drag(frame, CTransformFrame::kEdgeRight, {3000, 1500}, {{3500, 1600}, {4000, 1500}});
    EXPECT_EQ(frame.Width(), 3000);
    EXPECT_EQ(frame.Height(), 1000);
    EXPECT_EQ(frame.P(0), CPoint(1000, 1000));
    EXPECT_EQ(frame.P(2), CPoint(4000, 2000));
    EXPECT_DOUBLE_EQ(frame.ScaleX(), 1.5);
    EXPECT_EQ(frame.MapPoint({3000, 1000}), CPoint(4000, 1000));

    CTransformFrame top = Frame();
    Drag(top, CTransformFrame::kEdgeTop, {2000, 1000}, {{2000, 500}});
    EXPECT_EQ(top.Height(), 1500);
    EXPECT_EQ(top.P(3), CPoint(1000, 2000));
    EXPECT_EQ(top.P(0), CPoint(1000, 500));
}

TEST(TransformFrame, CornerDragsKeepTheProportions)
{
    CTransformFrame frame = Frame();
    // Shift on P3: the mouse off the diagonal is taken onto it.
    Drag(frame, CTransformFrame::kCorner3, {3000, 2000}, {{5000, 2200}});
    EXPECT_EQ(frame.P(0), CPoint(1000, 1000));
    EXPECT_NEAR(double(frame.Width()) / frame.Height(), 2.0, 0.01);
    EXPECT_GT(frame.Width(), 2000);
}

TEST(TransformFrame, ASideCannotCrossTheFixedSide)
{
    CTransformFrame frame = Frame();
    frame.BeginDrag(CTransformFrame::kEdgeRight, {3000, 1500});
    CPoint current;
    EXPECT_TRUE(frame.StepTo(CTransformFrame::kEdgeRight, {3000, 1500}, {1500, 1500}, current));
    EXPECT_FALSE(frame.StepTo(CTransformFrame::kEdgeRight, {1500, 1500}, {500, 1500}, current));
    EXPECT_EQ(current, CPoint(1500, 1500));
    EXPECT_FALSE(frame.StepTo(CTransformFrame::kEdgeRight, {1500, 1500}, {900, 1500}, current));

    // Onto the fixed side itself: the width stays one unit.
    frame.Update(CTransformFrame::kEdgeRight, {3000, 1500}, {1000, 1500}, 1.0);
    EXPECT_EQ(frame.Width(), 1);
    EXPECT_TRUE(std::isfinite(frame.ScaleX()));
    EXPECT_GT(frame.ScaleX(), 0.0);

    CTransformFrame corner = Frame();
    corner.BeginDrag(CTransformFrame::kCorner1, {1000, 1000});
    EXPECT_FALSE(corner.StepTo(CTransformFrame::kCorner1, {1000, 1000}, {4000, 2600}, current));
    EXPECT_EQ(current, CPoint(1000, 1000));
}

TEST(TransformFrame, ALongDragOverASmallFrameIsBounded)
{
    CTransformFrame frame;
    frame.Reset(CRect(0, 0, 3, 3));
    Drag(frame, CTransformFrame::kCorner3, {2, 2}, {{2000000000, 2000000000}});
    EXPECT_LE(frame.Width(), 2 * int(CTransformFrame::kMaxScale));
    EXPECT_LE(frame.ScaleX(), CTransformFrame::kMaxScale);
    const CPoint far = frame.MapPoint({2, 2});
    EXPECT_LT(std::abs(far.x), 1000000);
    EXPECT_LT(std::abs(far.y), 1000000);

    CTransformFrame large;
    large.Reset(CRect(0, 0, 50001, 50001));
    Drag(large, CTransformFrame::kEdgeRight, {50000, 20000}, {{2100000000, 20000}});
    EXPECT_LE(large.Width(), CTransformFrame::kMaxSide);

    // A selection without width (an empty text) scales along its height
    // only, and never divides by its width.
    CTransformFrame flat;
    flat.Reset(CRect(100, 100, 100, 400));
    Drag(flat, CTransformFrame::kCorner3, {100, 399}, {{900, 900}});
    EXPECT_EQ(flat.Width(), 0);
    EXPECT_DOUBLE_EQ(flat.ScaleX(), 1.0);
    EXPECT_TRUE(std::isfinite(flat.ScaleY()));
}
