#include "model/CClosedCurveElement.h"

#include "model/CCurveNode.h"
#include "model/CGradientRamp.h"
#include "model/CLineAttr.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/FillPainting.h"
#include "platform/CDC.h"
#include "tests/model/ColourSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <initializer_list>
#include <string>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);
// Ten page units a pixel: the square from 100 to 1900 covers device pixels
// 10 to 190 of a 200 x 200 canvas; its middle is device (100, 100).
const double kScale = 10.0;
const CPoint kMiddle(1000, 1000);

class FillDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        set.AppendPage();
        page = set.GetPageAt(0);
    }

    CCurveNodeList NodesOn(std::initializer_list<CPoint> points)
    {
        CCurveNodeList nodes;
        for (const CPoint& p : points) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        return nodes;
    }
    CCurveNodeList Square() { return NodesOn({{100, 100}, {1900, 100}, {1900, 1900}, {100, 1900}}); }

    // A square with a black outline of the given width and the fill the
    // arguments choose.
    template <class... Fill>
    CClosedCurveElement* Make(int outlineWidth, Fill&&... fill)
    {
        auto* e = new CClosedCurveElement(page, 0, CLineAttr(outlineWidth), kBlack, Square(),
                                          nullptr, std::forward<Fill>(fill)...);
        page->AddElement(e);
        return e;
    }
    CClosedCurveElement* Gradient(int kind, COLORREF start, COLORREF other, double blend,
                                  double secondBlend, double angle, int gamma,
                                  CPoint from = CPoint(100, 1000), CPoint to = CPoint(1900, 1000))
    {
        // The other colour is the end colour of kinds 3 and 5 and the centre
        // colour of kinds 4 and 6.
        return Make(10, kind, start, other, from, to, blend, secondBlend, kMiddle, other, angle,
                    gamma);
    }

    static QImage Render(CClosedCurveElement& e)
    {
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        e.Draw(&dc, kScale, 0, 0, CRect(0, 0, 200, 200));
        painter.end();
        return image;
    }

    CPageSet set{107, 100};
    CPage* page = nullptr;
};

// ---------------------------------------------------------------------------
// Solid fill, fill modes and the outline

TEST_F(FillDrawingTest, SolidFillWithTheOutlineOnTop)
{
    CClosedCurveElement* e = Make(60, kGreen);
    const QImage image = Render(*e);
    EXPECT_TRUE(Near(image.pixel(100, 100), Rgb(kGreen), 0));
    EXPECT_TRUE(Near(image.pixel(30, 30), Rgb(kGreen), 0));
    // The outline, six pixels wide on the border, covers the fill.
    EXPECT_TRUE(Near(image.pixel(10, 100), Rgb(kBlack), 0));
    EXPECT_TRUE(Near(image.pixel(12, 100), Rgb(kBlack), 0));
    EXPECT_TRUE(Near(image.pixel(100, 189), Rgb(kBlack), 0));
    EXPECT_TRUE(Near(image.pixel(3, 100), qRgb(255, 255, 255), 0));
}

TEST_F(FillDrawingTest, SolidFillTakesTheAlpha)
{
    CClosedCurveElement* e = Make(10, kGreen);
    e->SetFillAlpha(0x180);  // only the low byte counts
    EXPECT_TRUE(Near(Render(*e).pixel(100, 100), qRgb(127, 255, 127), 2));
}

TEST_F(FillDrawingTest, FillModesChooseTheRuleOrPaintNothing)
{
    // The outline runs twice round the square: inside by the winding rule,
    // outside by the alternate one.
    auto* twice = new CClosedCurveElement(
        page, 0, CLineAttr(10), kBlack,
        NodesOn({{100, 100}, {1900, 100}, {1900, 1900}, {100, 1900}, {100, 100}, {1900, 100},
                 {1900, 1900}, {100, 1900}}),
        nullptr, kGreen);
    page->AddElement(twice);
    EXPECT_TRUE(Near(Render(*twice).pixel(100, 100), qRgb(255, 255, 255), 0));
    twice->SetFillMode(FILL_MODE_WINDING);
    EXPECT_TRUE(Near(Render(*twice).pixel(100, 100), Rgb(kGreen), 0));

    for (int mode : {0, 3, -1}) {
        SCOPED_TRACE(mode);
        CClosedCurveElement* e = Make(60, kGreen);
        e->SetFillMode(mode);
        const QImage image = Render(*e);
        EXPECT_TRUE(Near(image.pixel(100, 100), qRgb(255, 255, 255), 0));
        EXPECT_TRUE(Near(image.pixel(10, 100), Rgb(kBlack), 0));
    }
}

TEST_F(FillDrawingTest, UnfilledKindsPaintOnlyTheOutline)
{
    for (int kind : {FILL_NONE, 8, -3}) {
        SCOPED_TRACE(kind);
        CClosedCurveElement* e = Make(60, kGreen);
        e->SetFillKind(kind);
        const QImage image = Render(*e);
        EXPECT_TRUE(Near(image.pixel(100, 100), qRgb(255, 255, 255), 0));
        EXPECT_TRUE(Near(image.pixel(10, 100), Rgb(kBlack), 0));
    }
}

// ---------------------------------------------------------------------------
// Linear gradient

TEST_F(FillDrawingTest, LinearGradientRunsFromStartThroughTheMiddleToTheEnd)
{
    const QImage even = Render(*Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 0));
    EXPECT_TRUE(Near(even.pixel(11, 100), Rgb(kRed), 4));
    EXPECT_TRUE(Near(even.pixel(100, 40), qRgb(128, 0, 128), 2));
    EXPECT_TRUE(Near(even.pixel(188, 160), Rgb(kBlue), 4));
    // Constant across the gradient's direction.
    EXPECT_EQ(even.pixel(60, 20), even.pixel(60, 180));

    // The blend position moves the middle colour.
    const QImage early = Render(*Gradient(FILL_LINEAR, kRed, kBlue, 0.25, 0.0, 0.0, 0));
    EXPECT_TRUE(Near(early.pixel(55, 100), qRgb(128, 0, 128), 3));
}

TEST_F(FillDrawingTest, LinearGradientRepeatsBeyondItsEnd)
{
    const QImage image = Render(
        *Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 0, CPoint(100, 1000), CPoint(1000, 1000)));
    EXPECT_TRUE(Near(image.pixel(98, 100), Rgb(kBlue), 8));
    EXPECT_TRUE(Near(image.pixel(101, 100), Rgb(kRed), 8));
    EXPECT_TRUE(Near(image.pixel(145, 100), qRgb(128, 0, 128), 4));
}

TEST_F(FillDrawingTest, LinearGradientFollowsASlantedDirection)
{
    const QImage image = Render(
        *Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 0, CPoint(100, 100), CPoint(1900, 1900)));
    EXPECT_TRUE(Near(image.pixel(100, 100), qRgb(128, 0, 128), 2));
    EXPECT_TRUE(Near(image.pixel(170, 30), qRgb(128, 0, 128), 2));
    EXPECT_TRUE(Near(image.pixel(12, 12), Rgb(kRed), 4));
}

// A gradient whose start and end lie 20 km off, zoomed in as far as the
// view goes: their device pixels lie beyond the int range, and still
// stripe the near square as the same gradient moved near does (the far
// start lies straight across the gradient's direction from the near one).
// Rounded into the int range, start and end fell on one pixel and the
// square stayed white, or on two the wrong way.
TEST_F(FillDrawingTest, FarGradientPointsPaintTheirStripesZoomedIn)
{
    constexpr double kZoomedIn = 0.75;
    constexpr int kOff = -2000000000;
    auto render = [&](CPoint from, CPoint to) {
        auto* e = new CClosedCurveElement(page, 0, CLineAttr(10), kBlack, NodesOn({{0, 0}, {150, 0}, {150, 150}, {0, 150}}),
                                          nullptr, FILL_LINEAR, kRed, kBlue, from, to, 0.5, 0.0, kMiddle, kBlue, 0.0, 0);
        page->AddElement(e);
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        e->Draw(&dc, kZoomedIn, 0, 0, CRect(0, 0, 200, 200));
        painter.end();
        return image;
    };
    const QImage near = render(CPoint(0, 0), CPoint(150, -150));
    // Stripes along the diagonal: a quarter of the way at x - y = 100.
    EXPECT_TRUE(Near(near.pixel(150, 50), qRgb(191, 0, 64), 4));
    EXPECT_EQ(near.pixel(150, 50), near.pixel(120, 20));
    EXPECT_NE(near.pixel(150, 50), near.pixel(120, 50));
    const QImage far = render(CPoint(kOff, kOff), CPoint(kOff + 150, kOff - 150));
    EXPECT_EQ(far, near);
}

TEST_F(FillDrawingTest, LinearGradientWithoutLengthPaintsNothing)
{
    const QImage image = Render(
        *Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 0, CPoint(500, 500), CPoint(500, 500)));
    EXPECT_TRUE(Near(image.pixel(100, 100), qRgb(255, 255, 255), 0));
}

TEST_F(FillDrawingTest, GammaCorrectionBlendsInLinearLight)
{
    // A quarter of the way: half-way between red and the middle colour.
    const QRgb plain = Render(*Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 0)).pixel(55, 100);
    const QRgb gamma = Render(*Gradient(FILL_LINEAR, kRed, kBlue, 0.5, 0.0, 0.0, 1)).pixel(55, 100);
    EXPECT_TRUE(Near(plain, qRgb(191, 0, 64), 2));
    EXPECT_TRUE(Near(gamma, qRgb(204, 0, 93), 2));
    EXPECT_TRUE(Near(CGradientRamp::Blend(qRgb(255, 0, 0), qRgb(0, 0, 255), 0.5, true),
                     qRgb(186, 0, 186), 1));
}

// ---------------------------------------------------------------------------
// Circular and square gradients

TEST_F(FillDrawingTest, CircularGradientFromTheOuterBandToTheCentre)
{
    // The circle reaches the farthest corner: radius 127 pixels.
    const QImage image = Render(*Gradient(FILL_CIRCULAR, kRed, kBlue, 0.5, 0.2, 0.0, 0));
    EXPECT_TRUE(Near(image.pixel(100, 100), Rgb(kBlue), 3));
    EXPECT_TRUE(Near(image.pixel(163, 100), qRgb(128, 0, 128), 3));
    EXPECT_TRUE(Near(image.pixel(100, 36), qRgb(128, 0, 128), 3));
    // Beyond 80% of the radius the start colour is solid.
    EXPECT_TRUE(Near(image.pixel(15, 15), Rgb(kRed), 0));
    EXPECT_TRUE(Near(image.pixel(185, 185), Rgb(kRed), 0));
    // Between the outer band and the middle colour.
    EXPECT_TRUE(Near(image.pixel(100, 12), qRgb(208, 0, 47), 2));

    const QImage gamma = Render(*Gradient(FILL_CIRCULAR, kRed, kBlue, 0.5, 0.2, 0.0, 1));
    EXPECT_FALSE(Near(gamma.pixel(100, 12), image.pixel(100, 12), 5));
    EXPECT_TRUE(Near(gamma.pixel(15, 15), Rgb(kRed), 0));
}

TEST_F(FillDrawingTest, SquareGradientHasSquareRingsTurnedByTheAngle)
{
    const QImage upright = Render(*Gradient(FILL_SQUARE, kRed, kBlue, 0.5, 0.0, 0.0, 0));
    EXPECT_TRUE(Near(upright.pixel(100, 100), Rgb(kBlue), 3));
    // A ring 40 pixels out: on the axis and on the diagonal alike.
    EXPECT_TRUE(Near(upright.pixel(140, 100), qRgb(82, 0, 174), 3));
    EXPECT_TRUE(Near(upright.pixel(140, 140), upright.pixel(140, 100), 1));
    EXPECT_TRUE(Near(upright.pixel(60, 140), upright.pixel(140, 100), 1));

    // Turned by 45 degrees the corners of the rings lie on the axes.
    const QImage turned = Render(*Gradient(FILL_SQUARE, kRed, kBlue, 0.5, 0.0, 45.0, 0));
    EXPECT_TRUE(Near(turned.pixel(140, 100), turned.pixel(100, 140), 1));
    EXPECT_FALSE(Near(turned.pixel(140, 140), turned.pixel(140, 100), 10));

    const QImage gamma = Render(*Gradient(FILL_SQUARE, kRed, kBlue, 0.5, 0.0, 0.0, 1));
    EXPECT_FALSE(Near(gamma.pixel(140, 100), upright.pixel(140, 100), 5));
}

TEST_F(FillDrawingTest, SquareGradientKeepsItsOuterBand)
{
    const QImage image = Render(*Gradient(FILL_SQUARE, kRed, kBlue, 0.8, 0.5, 0.0, 0));
    // Half the radius out from the middle is still the start colour.
    EXPECT_TRUE(Near(image.pixel(20, 100), Rgb(kRed), 0));
    EXPECT_TRUE(Near(image.pixel(100, 20), Rgb(kRed), 0));
}

// ---------------------------------------------------------------------------
// Conical gradient

TEST_F(FillDrawingTest, ConicalGradientFansFromTheStartAngle)
{
    // Split at 90 degrees: start colour to the right, the middle colour
    // below and above, the end colour opposite the start.
    const QImage image = Render(*Gradient(FILL_CONICAL, kRed, kBlue, 0.5, 0.0, 0.0, 0));
    EXPECT_TRUE(Near(image.pixel(150, 100), Rgb(kRed), 0));
    EXPECT_TRUE(Near(image.pixel(100, 150), qRgb(128, 0, 128), 3));
    EXPECT_TRUE(Near(image.pixel(100, 50), qRgb(128, 0, 128), 3));
    EXPECT_TRUE(Near(image.pixel(50, 100), Rgb(kBlue), 3));

    // Turned a quarter: the start colour lies below.
    const QImage turned = Render(*Gradient(FILL_CONICAL, kRed, kBlue, 0.5, 0.0, 90.0, 0));
    EXPECT_TRUE(Near(turned.pixel(99, 150), Rgb(kRed), 0));
    EXPECT_TRUE(Near(turned.pixel(100, 50), Rgb(kBlue), 3));
}

TEST_F(FillDrawingTest, ConicalGradientIgnoresTheFillMode)
{
    CClosedCurveElement* e = Gradient(FILL_CONICAL, kRed, kBlue, 0.5, 0.0, 0.0, 0);
    e->SetFillMode(0);
    EXPECT_TRUE(Near(Render(*e).pixel(150, 100), Rgb(kRed), 0));
}

TEST_F(FillDrawingTest, ConicalGradientWithoutSplitBlendsFromTheMiddleColour)
{
    const QImage image = Render(*Gradient(FILL_CONICAL, kRed, kBlue, 0.0, 0.0, 0.0, 0));
    // Only the first degree is the start colour.
    EXPECT_TRUE(Near(image.pixel(150, 100), Rgb(kRed), 0));
    EXPECT_TRUE(Near(image.pixel(150, 101), qRgb(128, 0, 128), 3));
    EXPECT_TRUE(Near(image.pixel(100, 150), qRgb(64, 0, 191), 3));
    EXPECT_TRUE(Near(image.pixel(50, 100), Rgb(kBlue), 3));
}

TEST_F(FillDrawingTest, ConicalSplitOfHalfATurnEndsInTheEndColour)
{
    const std::vector<QRgb> colors = ConicalGradientColors(kRed, kBlue, 180, 255);
    ASSERT_EQ(colors.size(), 360u);
    EXPECT_EQ(colors[0], qRgba(255, 0, 0, 255));
    EXPECT_EQ(colors[180], qRgba(0, 0, 255, 255));
    EXPECT_TRUE(Near(colors[179], qRgb(128, 0, 128), 1));
    EXPECT_TRUE(Near(colors[181], qRgb(128, 0, 128), 1));
    EXPECT_TRUE(Near(colors[90], qRgb(191, 0, 64), 1));

    const QImage image = Render(*Gradient(FILL_CONICAL, kRed, kBlue, 1.0, 0.0, 0.0, 0));
    EXPECT_TRUE(Near(image.pixel(50, 99), Rgb(kBlue), 0));
    EXPECT_TRUE(Near(image.pixel(50, 101), qRgb(128, 0, 128), 2));
}

TEST_F(FillDrawingTest, ConicalColoursOfAnySplitStayInRange)
{
    for (int split : {-2147483647, -500, 0, 1, 179, 181, 359, 360, 5000, 2147483646}) {
        SCOPED_TRACE(split);
        const std::vector<QRgb> colors = ConicalGradientColors(kRed, kBlue, split, 7);
        ASSERT_EQ(colors.size(), 360u);
        for (QRgb c : colors) EXPECT_EQ(qAlpha(c), 7);
    }
}

// ---------------------------------------------------------------------------
// Bitmap texture

// Textures are scaled smoothly, so even the middle of a texel takes a
// little of its neighbours.
const int kSmoothed = 32;

class BitmapFillTest : public FillDrawingTest {
protected:
    // Red, green / blue, white.
    static QImage Checker()
    {
        QImage image(2, 2, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        image.setPixel(1, 0, qRgb(0, 255, 0));
        image.setPixel(0, 1, qRgb(0, 0, 255));
        image.setPixel(1, 1, qRgb(255, 255, 255));
        return image;
    }
    // Tiles of 20 x 20 pixels centred on the middle of the square.
    CClosedCurveElement* Textured(double angle, const QImage& image = Checker())
    {
        return Make(60, image, CSize(200, 200), kMiddle, 0.0, angle);
    }
};

TEST_F(BitmapFillTest, OneBitmapCoversOneTileAboutTheTileCentre)
{
    const QImage image = Render(*Textured(0.0));
    EXPECT_TRUE(Near(image.pixel(95, 95), qRgb(255, 0, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(105, 95), qRgb(0, 255, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(95, 105), qRgb(0, 0, 255), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(105, 105), qRgb(255, 255, 255), kSmoothed));
    // Repeated over the plane.
    EXPECT_TRUE(Near(image.pixel(115, 95), qRgb(255, 0, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(55, 135), qRgb(255, 0, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(10, 100), Rgb(kBlack), 0));
}

TEST_F(BitmapFillTest, TilesTurnWithTheFillAngle)
{
    const QImage image = Render(*Textured(90.0));
    EXPECT_TRUE(Near(image.pixel(105, 95), qRgb(255, 0, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(95, 95), qRgb(0, 0, 255), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(105, 105), qRgb(0, 255, 0), kSmoothed));
}

TEST_F(BitmapFillTest, TilesMoveWithTheTileCentre)
{
    CClosedCurveElement* e = Textured(0.0);
    e->SetBitmapCenter(1100, 1000);
    const QImage image = Render(*e);
    EXPECT_TRUE(Near(image.pixel(105, 95), qRgb(255, 0, 0), kSmoothed));
    EXPECT_TRUE(Near(image.pixel(115, 95), qRgb(0, 255, 0), kSmoothed));
}

TEST_F(BitmapFillTest, TheAlphaDoesNotApplyToTextures)
{
    CClosedCurveElement* e = Textured(0.0);
    e->SetFillAlpha(10);
    EXPECT_TRUE(Near(Render(*e).pixel(95, 95), qRgb(255, 0, 0), kSmoothed));
}

TEST_F(BitmapFillTest, WithoutATextureTheOutlineIsStillDrawn)
{
    CClosedCurveElement* noBitmap = Textured(0.0, QImage());
    CClosedCurveElement* noTile = Textured(0.0);
    noTile->SetBitmapTileSize(0, 200);
    for (CClosedCurveElement* e : {noBitmap, noTile}) {
        const QImage image = Render(*e);
        EXPECT_TRUE(Near(image.pixel(100, 100), qRgb(255, 255, 255), 0));
        EXPECT_TRUE(Near(image.pixel(10, 100), Rgb(kBlack), 0));
    }
}

// ---------------------------------------------------------------------------
// Line fill

TEST_F(FillDrawingTest, FillLinesAreDrawnInTheStyleColourAtTheirSpacing)
{
    CFillStyle style;
    style.SetLineAttr(CLineAttr(20));
    style.SetColor(kBlue);
    style.SetAngle(0.0);
    style.SetOrigin(0, 1000);
    style.SetSpacing(200);
    CClosedCurveElement* e = Make(10, style);
    e->SetFillMode(0);  // does not apply to line fills
    const QImage image = Render(*e);
    for (int y : {40, 60, 80, 100, 120, 140, 160}) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(Near(image.pixel(100, y), Rgb(kBlue), 0));
        EXPECT_TRUE(Near(image.pixel(100, y + 10), qRgb(255, 255, 255), 0));
    }

    // A new colour shows at the next drawing without a rebuild.
    e->SetLineFillColor(kGreen);
    EXPECT_TRUE(Near(Render(*e).pixel(100, 100), Rgb(kGreen), 0));

    e->SetLineFillAngle(90.0);
    const QImage turned = Render(*e);
    EXPECT_TRUE(Near(turned.pixel(100, 50), Rgb(kGreen), 0));
    EXPECT_TRUE(Near(turned.pixel(110, 50), qRgb(255, 255, 255), 0));
}

TEST_F(FillDrawingTest, OutlineOfFewerThanThreePointsPaintsNoFill)
{
    auto* e = new CClosedCurveElement(page, 0, CLineAttr(10), kBlack,
                                      NodesOn({{500, 500}}), nullptr, kGreen);
    page->AddElement(e);
    EXPECT_EQ(Render(*e).pixel(100, 100), qRgb(255, 255, 255));
}

TEST(GradientRamp, StopsOutOfOrderMeetAndEndsHoldTheirColours)
{
    const CGradientRamp ramp({{0.0, qRgb(255, 0, 0)}, {0.8, qRgb(255, 0, 0)},
                              {0.4, qRgb(0, 255, 0)}, {1.0, qRgb(0, 0, 255)}},
                             false);
    EXPECT_EQ(ramp.ColorAt(-1.0), qRgb(255, 0, 0));
    EXPECT_EQ(ramp.ColorAt(0.5), qRgb(255, 0, 0));
    EXPECT_TRUE(Near(ramp.ColorAt(0.9), qRgb(0, 128, 128), 1));
    EXPECT_EQ(ramp.ColorAt(2.0), qRgb(0, 0, 255));
    EXPECT_EQ(ramp.TableColorAt(std::nan("")), qRgb(255, 0, 0));
}

TEST(GradientRamp, FillsOfTheSameColoursShareOneTable)
{
    const std::vector<CGradientRamp::Stop> redToBlue{{0.0, qRgb(255, 0, 0)}, {0.5, qRgb(128, 0, 128)},
                                                     {1.0, qRgb(0, 0, 255)}};
    const std::shared_ptr<const CGradientRamp> a = CGradientRamp::Shared(redToBlue, false);
    EXPECT_EQ(CGradientRamp::Shared(redToBlue, false), a);
    EXPECT_NE(CGradientRamp::Shared(redToBlue, true), a);
    std::vector<CGradientRamp::Stop> moved = redToBlue;
    moved[1].position = 0.6;
    EXPECT_NE(CGradientRamp::Shared(moved, false), a);
    // A table learnt on several threads at once holds the colours one
    // thread alone would have learnt.
    const std::shared_ptr<const CGradientRamp> shared = CGradientRamp::Shared(moved, true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&shared] {
            for (int i = 0; i < CGradientRamp::kTableSize; ++i) shared->PremultipliedAt(i / 4095.0);
        });
    for (std::thread& t : threads) t.join();
    const CGradientRamp alone(moved, true);
    for (int i = 0; i < CGradientRamp::kTableSize; i += 7)
        EXPECT_EQ(shared->PremultipliedAt(i / 4095.0), alone.PremultipliedAt(i / 4095.0)) << i;
}

TEST(GradientRamp, MiddleColourRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MiddleColor(RGB(0, 0, 0), RGB(1, 255, 3)), RGB(1, 128, 2));
    EXPECT_EQ(FillColor(RGB(1, 2, 3), 0x1FF), qRgba(1, 2, 3, 255));
}

}  // namespace
