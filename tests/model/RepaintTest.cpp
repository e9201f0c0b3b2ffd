// Repainting a page: what one paint keeps for the next (fill images, the
// lines' device points, node marks) must never show a stale picture. Each
// test paints once, changes the element, and checks the next paint's
// pixels against a page made afresh with the changed element.
#include "model/CClosedCurveElement.h"

#include "model/CCurveNode.h"
#include "model/CLineAttr.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/FillPainting.h"
#include "platform/CDC.h"
#include "tests/model/ColourSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
// Ten page units a pixel on a 200 x 200 canvas.
const double kScale = 10.0;

// The number of pixels that differ between two paints.
int Differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// A page of its own, so that a second page with the same content can be
// painted without anything kept from the first.
struct TestPage {
    CPageSet set{107, 100};
    CPage* page = nullptr;
    std::vector<CSharedPoint*> points;

    TestPage()
    {
        set.AppendPage();
        page = set.GetPageAt(0);
    }

    CCurveNodeList Nodes(std::initializer_list<CPoint> corners)
    {
        CCurveNodeList nodes;
        for (const CPoint& p : corners) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            points.push_back(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        return nodes;
    }

    // A square from 100 to 1900 (device pixels 10 to 190) with a gradient
    // from its left edge to its right one.
    CClosedCurveElement* GradientSquare(int kind, COLORREF start, COLORREF other,
                                        std::initializer_list<CPoint> corners = {
                                            {100, 100}, {1900, 100}, {1900, 1900}, {100, 1900}})
    {
        auto* e = new CClosedCurveElement(page, 0, CLineAttr(10), kBlack, Nodes(corners), nullptr,
                                          kind, start, other, CPoint(100, 1000),
                                          CPoint(1900, 1000), 0.5, 0.2, CPoint(1000, 1000), other,
                                          0.0, 0);
        page->AddElement(e);
        return e;
    }

    QImage Paint(double scale = kScale, int originX = 0, int originY = 0, int size = 200)
    {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            CDC dc(&painter);
            page->Draw(&dc, scale, originX, originY, CRect(0, 0, size, size));
        }
        painter.end();
        return image;
    }
};

TEST(RepaintTest, NewGradientColoursShowAtTheNextPaint)
{
    TestPage t;
    CClosedCurveElement* e = t.GradientSquare(FILL_LINEAR, kRed, kBlue);
    const QImage first = t.Paint();
    EXPECT_TRUE(Near(first.pixel(15, 100), Rgb(kRed), 8));
    // Painted again unchanged: the very same pixels.
    EXPECT_EQ(Differing(t.Paint(), first), 0);

    e->SetGradientColors(kGreen, kYellow);
    const QImage changed = t.Paint();
    EXPECT_TRUE(Near(changed.pixel(15, 100), Rgb(kGreen), 8));
    EXPECT_TRUE(Near(changed.pixel(185, 100), Rgb(kYellow), 8));

    TestPage fresh;
    fresh.GradientSquare(FILL_LINEAR, kGreen, kYellow);
    EXPECT_EQ(Differing(changed, fresh.Paint()), 0);
}

TEST(RepaintTest, EveryFillFieldIsSeenByTheNextPaint)
{
    // Each change made after a first paint must give what a page made with
    // the changed element gives.
    struct Change {
        const char* name;
        int kind;
        void (*apply)(CClosedCurveElement&);
    };
    const Change changes[] = {
        {"blend", FILL_LINEAR, [](CClosedCurveElement& e) { e.SetBlendPosition(0.2); }},
        {"gamma", FILL_LINEAR, [](CClosedCurveElement& e) { e.SetGammaCorrection(1); }},
        {"alpha", FILL_LINEAR, [](CClosedCurveElement& e) { e.SetFillAlpha(90); }},
        {"gradient end", FILL_LINEAR,
         [](CClosedCurveElement& e) { e.SetGradientPoints(100, 100, 1200, 1900); }},
        {"centre", FILL_CIRCULAR, [](CClosedCurveElement& e) { e.SetGradientCenter(500, 700); }},
        {"centre colour", FILL_CIRCULAR, [](CClosedCurveElement& e) { e.SetCenterColor(kGreen); }},
        {"outer band", FILL_CIRCULAR,
         [](CClosedCurveElement& e) { e.SetSecondBlendPosition(0.6); }},
        {"square angle", FILL_SQUARE, [](CClosedCurveElement& e) { e.SetFillAngle(30.0); }},
        {"cone angle", FILL_CONICAL, [](CClosedCurveElement& e) { e.SetFillAngle(120.0); }},
        {"kind", FILL_LINEAR, [](CClosedCurveElement& e) { e.SetFillKind(FILL_SOLID); }},
        {"solid colour", FILL_SOLID, [](CClosedCurveElement& e) { e.SetStartColor(kGreen); }},
        {"unfilled", FILL_SOLID, [](CClosedCurveElement& e) { e.SetFillKind(FILL_NONE); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        TestPage t;
        CClosedCurveElement* e = t.GradientSquare(c.kind, kRed, kBlue);
        const QImage before = t.Paint();
        c.apply(*e);
        const QImage after = t.Paint();
        EXPECT_GT(Differing(before, after), 100);

        TestPage fresh;
        c.apply(*fresh.GradientSquare(c.kind, kRed, kBlue));
        EXPECT_EQ(Differing(after, fresh.Paint()), 0);
    }
}

TEST(RepaintTest, AMovedNodeMovesTheFillAndTheLine)
{
    for (int kind : {FILL_SOLID, FILL_CIRCULAR}) {
        SCOPED_TRACE(kind);
        TestPage t;
        t.GradientSquare(kind, kRed, kBlue);
        const QImage before = t.Paint();
        EXPECT_FALSE(Near(before.pixel(180, 180), kWhite, 0));

        // The lower right corner moves in to the middle: the lower right
        // quarter empties, and the diagonal edge is drawn.
        t.points[2]->MoveTo(1000, 1000, 1);
        const QImage after = t.Paint();
        EXPECT_TRUE(Near(after.pixel(180, 180), kWhite, 0));
        EXPECT_TRUE(Near(after.pixel(60, 100), before.pixel(60, 100), 0));

        TestPage fresh;
        fresh.GradientSquare(kind, kRed, kBlue,
                             {{100, 100}, {1900, 100}, {1000, 1000}, {100, 1900}});
        EXPECT_EQ(Differing(after, fresh.Paint()), 0);
    }
}

TEST(RepaintTest, AScrolledViewShowsTheSameFillMoved)
{
    TestPage t;
    t.GradientSquare(FILL_CIRCULAR, kRed, kBlue);
    const QImage still = t.Paint(kScale, 0, 0, 260);
    // Scrolled by 3 and 5 pixels, and back.
    const QImage scrolled = t.Paint(kScale, 30, 50, 260);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(scrolled.pixel(x, y), still.pixel(x + 3, y + 5)) << x << "," << y;
    EXPECT_EQ(Differing(t.Paint(kScale, 0, 0, 260), still), 0);

    // A zoom paints the fill anew at the new size.
    TestPage fresh;
    fresh.GradientSquare(FILL_CIRCULAR, kRed, kBlue);
    EXPECT_EQ(Differing(t.Paint(7.0, 0, 0, 260), fresh.Paint(7.0, 0, 0, 260)), 0);
}

TEST(RepaintTest, AFillSeenInPartIsCompletedWhenMoreShows)
{
    TestPage t;
    t.GradientSquare(FILL_LINEAR, kRed, kBlue);
    QImage part(200, 200, QImage::Format_ARGB32);
    part.fill(Qt::white);
    {
        QPainter painter(&part);
        painter.setClipRect(QRect(0, 0, 60, 200));
        CDC dc(&painter);
        t.page->Draw(&dc, kScale, 0, 0, CRect(0, 0, 200, 200));
    }
    EXPECT_TRUE(Near(part.pixel(150, 100), kWhite, 0));
    const QImage whole = t.Paint();
    EXPECT_TRUE(Near(whole.pixel(185, 100), Rgb(kBlue), 8));
    TestPage fresh;
    fresh.GradientSquare(FILL_LINEAR, kRed, kBlue);
    EXPECT_EQ(Differing(whole, fresh.Paint()), 0);
}

TEST(RepaintTest, FillsBeyondTheBudgetArePaintedAllTheSame)
{
    const std::size_t budget = CFillImage::Budget();
    TestPage t;
    t.GradientSquare(FILL_CIRCULAR, kRed, kBlue);
    const QImage kept = t.Paint();
    EXPECT_GT(CFillImage::BytesKept(), 0u);

    // Nothing may be kept: every paint computes the fill again.
    CFillImage::SetBudget(0);
    EXPECT_EQ(CFillImage::BytesKept(), 0u);
    EXPECT_EQ(Differing(t.Paint(), kept), 0);
    EXPECT_EQ(CFillImage::BytesKept(), 0u);
    CFillImage::SetBudget(budget);
}

TEST(RepaintTest, ALineShowsItsNewColourShapeAndMarks)
{
    TestPage t;
    auto* line = new COpenCurveElement(t.page, 0, CLineAttr(60), kBlack,
                                       t.Nodes({{200, 1000}, {1800, 1000}}), 0, 600, 53.0, 0,
                                       600, 53.0);
    t.page->AddElement(line);
    EXPECT_TRUE(Near(t.Paint().pixel(100, 100), Rgb(kBlack), 0));

    // The colour is read at each paint.
    line->SetColor(kBlue);
    EXPECT_TRUE(Near(t.Paint().pixel(100, 100), Rgb(kBlue), 0));

    // Moving an end turns the line.
    t.points[1]->MoveTo(1800, 1800, 1);
    const QImage turned = t.Paint();
    EXPECT_TRUE(Near(turned.pixel(100, 100), kWhite, 0));
    EXPECT_TRUE(Near(turned.pixel(100, 140), Rgb(kBlue), 0));

    // A node marked after a paint shows its dot at the next one, and an
    // unmarked one loses it.
    TestPage fresh;
    auto* same = new COpenCurveElement(fresh.page, 0, CLineAttr(60), kYellow,
                                       fresh.Nodes({{200, 1000}, {1800, 1800}}), 0, 600, 53.0, 0,
                                       600, 53.0);
    fresh.page->AddElement(same);
    line->GetFirstNode()->SetMark(1);
    line->SetColor(kYellow);
    const QImage marked = t.Paint();
    EXPECT_TRUE(Near(marked.pixel(20, 100), Rgb(kBlack), 0));
    EXPECT_GT(Differing(marked, fresh.Paint()), 8);
    line->GetFirstNode()->SetMark(0);
    const QImage unmarked = t.Paint();
    EXPECT_EQ(Differing(unmarked, fresh.Paint()), 0);

    // A dashed line after a solid one: the gaps open.
    line->SetLineAttr(CLineAttr(60, 0, 0));
    const QImage dashed = t.Paint();
    same->SetLineAttr(CLineAttr(60, 0, 0));
    EXPECT_EQ(Differing(dashed, fresh.Paint()), 0);
    EXPECT_GT(Differing(dashed, unmarked), 20);
}

}  // namespace

namespace {

// A page of many overlapping elements, enough for the page to prepare its
// paints on several threads: shaded fills of every kind, solid fills, line
// fills, dashed and plain lines, in three levels.
void FillManyElements(TestPage& t)
{
    const int kinds[] = {FILL_LINEAR, FILL_CIRCULAR, FILL_CONICAL, FILL_SQUARE, FILL_SOLID, FILL_LINES};
    for (int i = 0; i < 360; ++i) {
        const int x = 50 + (i * 37) % 1700;
        const int y = 50 + (i * 53) % 1700;
        const int side = 150 + (i * 11) % 300;
        const int kind = kinds[i % 6];
        auto* e = new CClosedCurveElement(t.page, i % 3, CLineAttr(10 + i % 20), RGB(i % 250, 40, 90),
                                          t.Nodes({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}),
                                          nullptr, kind == FILL_LINES ? FILL_NONE : kind,
                                          RGB(255, i % 255, 0), RGB(0, 0, 255), CPoint(x, y),
                                          CPoint(x + side, y + side), 0.4, 0.2, CPoint(x + side / 2, y + side / 2),
                                          RGB(0, 255, i % 255), 15.0 * i, i % 2);
        if (kind == FILL_LINES) {
            e->SetFillKind(FILL_LINES);
            e->SetLineFillAttr(CLineAttr::Dashed(5));
            e->SetLineFillColor(RGB(0, 120, 0));
            e->SetLineFillAngle(30.0);
            e->SetLineFillSpacing(40);
        }
        t.page->AddElement(e);
        if (i % 4 == 0) {
            auto* line = new COpenCurveElement(t.page, 2, i % 8 ? CLineAttr(20) : CLineAttr::Dashed(10), kBlack,
                                               t.Nodes({{x, y + side}, {x + side, y}}), 1, 600, 53.0, 0, 600, 53.0);
            t.page->AddElement(line);
        }
    }
}

// The same page painted by drawing its elements one by one in level
// order, nothing prepared beforehand.
QImage PaintOneByOne(TestPage& t, double scale, int originX, int originY, int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter);
        for (int level = 0; level <= t.page->GetMaxLevel(); ++level)
            for (CGraphElement* e : t.page->Elements())
                if (e->GetLevel() == level) e->Draw(&dc, scale, originX, originY, CRect(0, 0, size, size));
    }
    return image;
}

} // namespace

TEST(RepaintTest, APagePreparedOnSeveralThreadsPaintsAsOneDrawnElementByElement)
{
    TestPage prepared;
    FillManyElements(prepared);
    ASSERT_GE(std::size_t(prepared.page->GetElementCount()), CPage::kPreparedPaintElements);
    TestPage plain;
    FillManyElements(plain);
    struct View {
        double scale;
        int originX, originY;
    };
    // A first paint, the same again (kept images), another scale, a
    // scrolled view, a view zoomed in on part of the page.
    const View views[] = {{kScale, 0, 0}, {kScale, 0, 0}, {7.5, -20, 30}, {7.5, 133, -40}, {2.0, 600, 500}};
    for (const View& v : views) {
        SCOPED_TRACE(testing::Message() << "scale " << v.scale << " origin " << v.originX << ", " << v.originY);
        const QImage a = prepared.Paint(v.scale, v.originX, v.originY, 260);
        const QImage b = PaintOneByOne(plain, v.scale, v.originX, v.originY, 260);
        EXPECT_EQ(Differing(a, b), 0);
    }
}
