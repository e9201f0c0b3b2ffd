// Dash patterns laid out whole and only where drawn: the dashes laid out
// for a rectangle are exactly those of the whole layout that meet it, and a
// curve of more dashes than are laid out at once draws and bounds the same
// as its whole set of shapes.
#include "model/CDashLayout.h"

#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "geometry/Offset.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

// A dash: the points of its stretch of the path.
using Dash = std::vector<CPoint>;

// A path of whole lengths: dashes of 30 and gaps of 20 end on whole
// units, so the whole layout and a partial one cut the same points.
CPointList Zigzag(int legs)
{
    CPointList path;
    for (int i = 0; i <= legs; ++i) path.AddTail(CPoint(i * 300, (i % 2) * 400));
    return path;
}

CPointList Straight(int length)
{
    CPointList path;
    path.AddTail(CPoint(0, 0));
    path.AddTail(CPoint(length, 0));
    return path;
}

std::vector<Dash> Dashes(const CDashLayout& layout, const CRect* rect)
{
    std::vector<Dash> dashes;
    const CDashLayout::Emit emit = [&dashes](CPointList& work, POSITION from, POSITION to) {
        Dash dash;
        for (POSITION pos = from;; pos = CPointList::NextOf(pos)) {
            dash.push_back(work.GetAt(pos));
            if (pos == to) break;
        }
        dashes.push_back(dash);
    };
    if (rect) layout.LayOutMeeting(*rect, emit);
    else layout.LayOutAll(emit);
    return dashes;
}

bool SegmentMeets(const CPoint& a, const CPoint& b, const CRect& r)
{
    // Sampled finely enough for these paths of whole units.
    for (int i = 0; i <= 1000; ++i) {
        const double x = a.x + (b.x - a.x) * i / 1000.0, y = a.y + (b.y - a.y) * i / 1000.0;
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return true;
    }
    return false;
}

bool RunsThrough(const Dash& d, const CRect& r)
{
    for (std::size_t i = 0; i + 1 < d.size(); ++i)
        if (SegmentMeets(d[i], d[i + 1], r)) return true;
    return false;
}

bool BoundsMeet(const Dash& d, const CRect& r)
{
    const CRect b = PolylineBoundRect([&d] {
        CPointList l;
        for (const CPoint& p : d) l.AddTail(p);
        return l;
    }());
    return b.left <= r.right && b.right > r.left && b.top <= r.bottom && b.bottom > r.top;
}

} // namespace

TEST(DashLayout, DashesForARectangleAreThoseOfTheWholeLayoutThatMeetIt)
{
    // The zigzag's legs are 500 long: ten periods of 50 each.
    const struct {
        const char* name;
        CPointList path;
        bool closed;
        int periods;
        CRect rect;
    } cases[] = {
        {"all of it", Zigzag(8), false, 80, CRect(-10, -10, 2500, 500)},
        {"a middle leg", Zigzag(8), false, 80, CRect(1000, 100, 1100, 300)},
        {"the end", Zigzag(8), false, 80, CRect(2350, 300, 2410, 410)},
        {"a corner", Zigzag(8), false, 80, CRect(880, 380, 920, 420)},
        {"nothing", Zigzag(8), false, 80, CRect(5000, 5000, 6000, 6000)},
        {"closed", Straight(1000), true, 20, CRect(480, -5, 620, 5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CDashLayout layout(c.path, {30.0, 20.0}, c.periods, c.closed);
        const std::vector<Dash> all = Dashes(layout, nullptr);
        ASSERT_EQ(static_cast<long long>(all.size()), layout.DashCount());
        const std::vector<Dash> partial = Dashes(layout, &c.rect);
        for (const Dash& d : all) {
            const bool laidOut = std::find(partial.begin(), partial.end(), d) != partial.end();
            if (RunsThrough(d, c.rect)) {
                EXPECT_TRUE(laidOut) << d.front().x << "," << d.front().y;
            }
            if (!BoundsMeet(d, c.rect)) {
                EXPECT_FALSE(laidOut) << d.front().x << "," << d.front().y;
            }
        }
        for (const Dash& d : partial) EXPECT_NE(std::find(all.begin(), all.end(), d), all.end());
    }
}

TEST(DashLayout, AnOpenLineEndsWithADashToItsLastPoint)
{
    const CDashLayout layout(Straight(1030), {30.0, 20.0}, 20, false);
    const std::vector<Dash> all = Dashes(layout, nullptr);
    ASSERT_EQ(all.size(), 21u);
    EXPECT_EQ(all.back(), Dash({CPoint(1000, 0), CPoint(1030, 0)}));
    const CRect end(1010, -5, 1040, 5);
    const std::vector<Dash> tail = Dashes(layout, &end);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_EQ(tail.front(), all.back());
}

namespace {

class LazyCurveTest : public ::testing::Test {
protected:
    LazyCurveTest() { m_pages.InsertPage(0); }

    // A dashed open curve zigzagging over the page: `legs` legs of 20000
    // units, dashes and gaps of 2 mm, so each leg holds 50 periods.
    COpenCurveElement* Dashed(int legs, int width)
    {
        CPage* page = m_pages.GetPageAt(0);
        CCurveNodeList nodes;
        for (int i = 0; i <= legs; ++i) {
            auto* point = new CSharedPoint(page, 1000 + (i % 2) * 19000, 1000 + i * 40);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        CLineAttr line(width);
        line.SetKind(1);
        line.SetParam(1, 200);
        line.SetParam(2, 200);
        auto* curve = new COpenCurveElement(page, 0, line, RGB(0, 0, 0), nodes, 0, 600, 53.0, 0, 600, 53.0);
        page->AddElement(curve);
        return curve;
    }

    CPageSet m_pages;
};

QImage Paint(const std::function<void(CDC&)>& draw)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    draw(dc);
    return image;
}

} // namespace

TEST_F(LazyCurveTest, ACurveOfManyDashesDrawsAndBoundsAsItsShapes)
{
    for (int width : {10, 60}) {
        SCOPED_TRACE(width);
        COpenCurveElement* curve = Dashed(60, width);  // about 2850 periods
        CLineTypeShapeList shapes;
        curve->GetLineShapes(shapes);
        EXPECT_GT(shapes.GetCount(), 2500);
        EXPECT_TRUE(curve->HasLazyDashes());

        const CRect bounds = curve->GetBoundRect();
        for (const CLineTypeShape& shape : shapes) {
            CRect both;
            both.UnionRect(bounds, shape.GetBoundRect());
            ASSERT_EQ(both, bounds);
        }
        // A view of a few millimetres somewhere along the zigzag.
        const double scale = 2.0;
        const int originX = 9000, originY = 1500;
        const CRect clip(0, 0, 160, 120);
        const QImage lazy = Paint([&](CDC& dc) { curve->Draw(&dc, scale, originX, originY, clip); });
        const QImage whole = Paint([&](CDC& dc) {
            for (const CLineTypeShape& shape : shapes) shape.Draw(&dc, RGB(0, 0, 0), scale, originX, originY, clip);
        });
        int ink = 0, differing = 0;
        for (int y = 0; y < lazy.height(); ++y) {
            for (int x = 0; x < lazy.width(); ++x) {
                ink += qGray(whole.pixel(x, y)) < 128;
                differing += std::abs(qGray(lazy.pixel(x, y)) - qGray(whole.pixel(x, y))) > 64;
            }
        }
        EXPECT_GT(ink, 200);
        EXPECT_LT(differing, ink / 50);
    }
}

TEST_F(LazyCurveTest, ACurveOfFewDashesLaysThemAllOut)
{
    COpenCurveElement* curve = Dashed(4, 10);
    curve->GetBoundRect();
    EXPECT_FALSE(curve->HasLazyDashes());
}
