// What the plotter commands draw and how they place it: pen moves, lines
// that go on over several commands, scaling, arcs, circles, rectangles,
// wedges, line types, label settings and encoded polylines.
#include "HpglTestSupport.h"

#include "library/HpglEncodedPolyline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CDoublePoint> Points(const CHpglPrimitive& p)
{
    std::vector<CDoublePoint> out;
    for (std::size_t i = 0; i < p.PointCount(); ++i) out.push_back(p.PointAt(i));
    return out;
}

CDoublePoint Plot(const CHpglPrimitive& p, std::size_t k)
{
    return {HpglCoordToModel(p, 2 * k), HpglCoordToModel(p, 2 * k + 1)};
}

} // namespace

TEST(HpglInterpreter, PenMovesDrawFromThePenItself)
{
    struct Case {
        const char* name;
        const char* input;
        std::vector<std::vector<CDoublePoint>> lines;
        CDoublePoint pen;
    } const cases[] = {
        {"PD from the pen", "IN;PA0,0;PD100,0,100,100;", {{{0., 0.}, {100., 0.}, {100., 100.}}}, {100., 100.}},
        {"relative PD", "IN;PR;PD10,0,10,0;", {{{0., 0.}, {10., 0.}, {20., 0.}}}, {20., 0.}},
        {"PA with the pen down", "PD;PA10,10;", {{{0., 0.}, {10., 10.}}}, {10., 10.}},
        {"PA with the pen up", "PU;PA10,10;", {}, {10., 10.}},
        {"PR with the pen up", "IN;PU3,4;PR5,5;", {}, {8., 9.}},
        {"PU lifts between lines", "IN;PD5,0;PU9,9;PD9,0;", {{{0., 0.}, {5., 0.}}, {{9., 9.}, {9., 0.}}}, {9., 0.}},
        {"an outline in several commands is one line",
         "IN;PU0,0;PD;PA10,0;PA10,10;PD0,10;PR0,-10;",
         {{{0., 0.}, {10., 0.}, {10., 10.}, {0., 10.}, {0., 0.}}},
         {0., 0.}},
        {"a new pen starts a new line", "IN;SP1;PD5,0;SP2;PD5,5;", {{{0., 0.}, {5., 0.}}, {{5., 0.}, {5., 5.}}}, {5., 5.}},
        {"a new line type starts a new line", "IN;PD5,0;LT2;PD5,5;", {{{0., 0.}, {5., 0.}}, {{5., 0.}, {5., 5.}}}, {5., 5.}},
    };
    for (const Case& c : cases) {
        const HpglState s = Interpret(c.input);
        ASSERT_EQ(s.primitives.size(), c.lines.size()) << c.name;
        for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(Points(s.primitives[i]), c.lines[i]) << c.name;
        EXPECT_EQ(s.penPosition, c.pen) << c.name;
    }
}

TEST(HpglInterpreter, UserUnitsBecomePlotUnitsThroughTheScaling)
{
    struct Case {
        const char* name;
        const char* input;
        CDoublePoint first; // plot units of the line's first point
        CDoublePoint second;
    } const cases[] = {
        // A plotter unit is 0.025 mm: 2.5 hundredths of a millimetre.
        {"plotter units", "IN;PD100,0;", {0., 0.}, {250., 0.}},
        {"SC over the default P1, P2", "IN;SC0,100,0,100;PD1,1;", {0., 0.}, {1000., 1000.}},
        {"IP alone leaves user units as plotter units", "IN;IP0,0,10300,7650;PD100,100;", {0., 0.}, {250., 250.}},
        {"SC; switches the scaling off", "IN;SC0,100,0,100;SC;PD100,0;", {0., 0.}, {250., 0.}},
        {"SC with too few values changes nothing", "IN;SC0,100,0,100;SC0,100;PD1,0;", {0., 0.}, {1000., 0.}},
        {"the user window's corner lands on P1", "IN;IP1000,2000,2000,3000;SC-10,10,-10,10;PU-10,-10;PD10,10;",
         {2500., 5000.}, {5000., 7500.}},
        {"IR in percent of the hard-clip limits", "IN;IR0,0,50,50;SC0,100,0,100;PD1,0;", {0., 0.}, {500., 0.}},
        {"isotropic: the spare room counts from P1", "IN;IP1000,1000,3000,2000;SC0,10,0,10,1;PU0,0;PD10,10;",
         {3750., 2500.}, {6250., 5000.}},
        {"isotropic with the spare room to the left", "IN;IP1000,1000,3000,2000;SC0,10,0,10,1,0,0;PU0,0;PD10,10;",
         {2500., 2500.}, {5000., 5000.}},
        {"point factor", "IN;IP100,200,300,400;SC5,2,7,3,2;PU5,7;PD6,8;", {250., 500.}, {255., 507.5}},
    };
    for (const Case& c : cases) {
        const HpglState s = Interpret(c.input);
        ASSERT_EQ(s.primitives.size(), 1u) << c.name;
        EXPECT_NEAR(DistanceTo(Plot(s.primitives[0], 0), c.first), 0.0, 1e-6) << c.name;
        EXPECT_NEAR(DistanceTo(Plot(s.primitives[0], 1), c.second), 0.0, 1e-6) << c.name;
    }
}

TEST(HpglInterpreter, CirclesAreClosedChordsAboutThePen)
{
    const HpglState s = Interpret("IN;PU100,0;CI50;");
    ASSERT_EQ(s.primitives.size(), 1u);
    const std::vector<CDoublePoint> pts = Points(s.primitives[0]);
    // 5 degrees a chord unless CT says otherwise.
    ASSERT_EQ(pts.size(), 73u);
    EXPECT_EQ(pts.front(), CDoublePoint(150.0, 0.0));
    EXPECT_EQ(pts.back(), pts.front());
    for (const CDoublePoint& p : pts) EXPECT_NEAR(DistanceTo(p, {100.0, 0.0}), 50.0, 1e-9);
    EXPECT_EQ(s.penPosition, CDoublePoint(100.0, 0.0));
    EXPECT_FALSE(s.penDown);

    EXPECT_EQ(Interpret("IN;CI50,30;").primitives.at(0).PointCount(), 13u);
    // By deviation: 10 of a radius of 100 needs chords of 51.7 degrees.
    EXPECT_EQ(Interpret("IN;CT1;CI100,10;").primitives.at(0).PointCount(), 8u);
}

TEST(HpglInterpreter, ArcsAboutACentreDrawOnlyWithThePenDown)
{
    const HpglState down = Interpret("IN;PU10,0;PD;AA0,0,90;");
    ASSERT_EQ(down.primitives.size(), 1u);
    EXPECT_EQ(down.primitives[0].PointCount(), 19u);
    EXPECT_NEAR(DistanceTo(down.penPosition, {0.0, 10.0}), 0.0, 1e-9);
    for (const CDoublePoint& p : Points(down.primitives[0])) EXPECT_NEAR(DistanceTo(p, {}), 10.0, 1e-9);

    const HpglState up = Interpret("IN;PU10,0;AA0,0,90;");
    EXPECT_TRUE(up.primitives.empty());
    EXPECT_NEAR(DistanceTo(up.penPosition, {0.0, 10.0}), 0.0, 1e-9);

    // Relative centre, clockwise.
    const HpglState relative = Interpret("IN;PU10,0;PD;AR-10,0,-180,10;");
    EXPECT_EQ(relative.primitives.at(0).PointCount(), 19u);
    EXPECT_NEAR(DistanceTo(relative.penPosition, {-10.0, 0.0}), 0.0, 1e-9);
    EXPECT_LT(relative.primitives[0].PointAt(9).y, -9.9);
}

TEST(HpglInterpreter, ThreePointArcs)
{
    struct Case {
        const char* name;
        const char* input;
        std::size_t points; // of the one line, 0 for none
        CDoublePoint pen;
    } const cases[] = {
        {"both chords vertical", "IN;PD;AT0,10,0,20;", 3, {0., 20.}},
        {"collinear slope", "IN;PD;AT5,5,10,10;", 3, {10., 10.}},
        {"out and back", "IN;PD;AT0,10,0,0;", 0, {0., 0.}},
        {"start on the middle point", "IN;PD;AT0,0,5,5;", 2, {5., 5.}},
        {"pen up moves only", "IN;AT10,10,20,0;", 0, {20., 0.}},
        {"half circle", "IN;PD;AT10,10,20,0;", 37, {20., 0.}},
        {"relative", "IN;PU5,5;PD;RT10,10,20,0;", 37, {25., 5.}},
    };
    for (const Case& c : cases) {
        const HpglState s = Interpret(c.input);
        if (c.points == 0) {
            EXPECT_TRUE(s.primitives.empty()) << c.name;
        } else {
            ASSERT_EQ(s.primitives.size(), 1u) << c.name;
            EXPECT_EQ(s.primitives[0].PointCount(), c.points) << c.name;
        }
        EXPECT_NEAR(DistanceTo(s.penPosition, c.pen), 0.0, 1e-9) << c.name;
    }
    // The half circle goes up through its middle point.
    const HpglState arc = Interpret("IN;PD;AT10,10,20,0;");
    for (const CDoublePoint& p : Points(arc.primitives[0])) {
        EXPECT_NEAR(DistanceTo(p, {10.0, 0.0}), 10.0, 1e-9);
        EXPECT_GE(p.y, -1e-9);
    }
}

TEST(HpglInterpreter, RectanglesAndWedgesAreClosedOutlinesAndThePenStays)
{
    const HpglState s = Interpret("IN;PU10,20;EA30,40;ER-5,-5;RA0,0;RR1,1;EW100,0,90;WG50,90,360;");
    ASSERT_EQ(s.primitives.size(), 6u);
    EXPECT_EQ(Points(s.primitives[0]),
              (std::vector<CDoublePoint>{{10., 20.}, {30., 20.}, {30., 40.}, {10., 40.}, {10., 20.}}));
    EXPECT_EQ(Points(s.primitives[1]),
              (std::vector<CDoublePoint>{{10., 20.}, {5., 20.}, {5., 15.}, {10., 15.}, {10., 20.}}));
    const std::vector<CDoublePoint> wedge = Points(s.primitives[4]);
    EXPECT_EQ(wedge.front(), CDoublePoint(10.0, 20.0));
    EXPECT_EQ(wedge.back(), CDoublePoint(10.0, 20.0));
    EXPECT_EQ(wedge[1], CDoublePoint(110.0, 20.0));
    EXPECT_NEAR(DistanceTo(wedge[wedge.size() - 2], {10.0, 120.0}), 0.0, 1e-9);
    // A full wedge is the circle alone.
    const std::vector<CDoublePoint> full = Points(s.primitives[5]);
    EXPECT_EQ(full.size(), 73u);
    EXPECT_EQ(full.front(), full.back());
    EXPECT_EQ(s.penPosition, CDoublePoint(10.0, 20.0));
}

TEST(HpglInterpreter, LineTypesMapToTheFourLineKinds)
{
    const struct {
        const char* command;
        int kind;
    } cases[] = {{"LT;", 0}, {"LT0;", 3}, {"LT1;", 2}, {"LT2;", 1}, {"LT-3;", 1},
                 {"LT4;", 3}, {"LT8,2;", 3}, {"LT9;", 3}, {"LT6.4;", 3}};
    for (const auto& c : cases) {
        // Start from kind 3 (LT4) so that "leaves it" shows.
        const HpglState s = Interpret(std::string("IN;LT4;") + c.command + "PD1,1;");
        ASSERT_EQ(s.primitives.size(), 1u) << c.command;
        EXPECT_EQ(s.primitives[0].lineType, c.kind) << c.command;
    }
}

TEST(HpglInterpreter, LabelSettings)
{
    const HpglState s = Interpret("IN;SC0,100,0,100;PU1,2;SI0.5,1.2;DI0,1;LO16;LBa\x03SI;DI;LO10;LBb\x03");
    ASSERT_EQ(s.labels.size(), 2u);
    const CHpglLabel& a = s.labels[0];
    EXPECT_DOUBLE_EQ(a.x, 1000.0);
    EXPECT_DOUBLE_EQ(a.y, 2000.0);
    EXPECT_DOUBLE_EQ(a.charWidth, 0.5);
    EXPECT_DOUBLE_EQ(a.charHeight, 1.2);
    EXPECT_NEAR(a.direction, 1.5707963267948966, 1e-12);
    EXPECT_EQ(a.origin, 16);
    // SI; DI; and LO10 bring back the defaults.
    const CHpglLabel& b = s.labels[1];
    EXPECT_DOUBLE_EQ(b.charWidth, 0.285);
    EXPECT_DOUBLE_EQ(b.charHeight, 0.375);
    EXPECT_DOUBLE_EQ(b.direction, 0.0);
    EXPECT_EQ(b.origin, 1);
}

// Numbers of encoded polylines by hand: 8-bit mode ends a number with a
// byte from 191, 7-bit mode with one from 95; the lowest bit is the sign.
TEST(HpglEncodedPolyline, NumbersDecodeByHand)
{
    EXPECT_EQ(EncodeHpglNumber(0), std::string("\xbf"));
    EXPECT_EQ(EncodeHpglNumber(1), std::string("\xc1"));
    EXPECT_EQ(EncodeHpglNumber(-1), std::string("\xc2"));
    EXPECT_EQ(EncodeHpglNumber(100, true), "Ge");
    EXPECT_EQ(EncodeHpglNumber(-100, true), "He");

    const std::vector<HpglEncodedStep> steps = DecodeHpglPolyline("7:a<=GeHe_Ge\r\n_He");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, HpglEncodedStep::SelectPen);
    EXPECT_EQ(steps[0].pen, 1);
    EXPECT_EQ(steps[1].point, CDoublePoint(100.0, -100.0));
    EXPECT_TRUE(steps[1].penUp);
    EXPECT_TRUE(steps[1].absolute);
    EXPECT_EQ(steps[2].point, CDoublePoint(0.0, 100.0));
    EXPECT_FALSE(steps[2].penUp);
    EXPECT_FALSE(steps[2].absolute);
    EXPECT_EQ(steps[3].point, CDoublePoint(0.0, -100.0));
}

TEST(HpglEncodedPolyline, FractionBitsAndCutOffData)
{
    // Two fraction bits: 10 is 2.5.
    const std::vector<HpglEncodedStep> steps =
        DecodeHpglPolyline(">" + EncodeHpglNumber(2) + EncodeHpglNumber(10) + EncodeHpglNumber(-6) + "\x7f\x80" +
                           EncodeHpglNumber(4) + "?");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].point, CDoublePoint(2.5, -1.5));
}

TEST(HpglInterpreter, EncodedPolylinesDrawFromThePen)
{
    auto enc = [](long long v) { return EncodeHpglNumber(v); };
    const std::string square = "IN;PE:" + enc(3) + "<=" + enc(100) + enc(200) + enc(50) + enc(0) + enc(0) + enc(50) +
                               enc(-50) + enc(0) + enc(0) + enc(-50) + "<" + enc(10) + enc(10) + ";PR;";
    const HpglState s = Interpret(square);
    ASSERT_EQ(s.primitives.size(), 1u);
    EXPECT_EQ(Points(s.primitives[0]),
              (std::vector<CDoublePoint>{{100., 200.}, {150., 200.}, {150., 250.}, {100., 250.}, {100., 200.}}));
    EXPECT_EQ(s.primitives[0].pen, 3);
    EXPECT_EQ(s.penPosition, CDoublePoint(110.0, 210.0));
    EXPECT_FALSE(s.penDown);
    EXPECT_FALSE(s.absolute);
}
