// Points and picture corners at the far ends of the coordinates, painted
// zoomed in as far as the view goes: their device pixels lie beyond what
// an int holds, and every sum and difference of them must stay defined
// (the sanitizer build catches one that does not). The near parts still
// paint.
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COleObjectElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/CTextFont.h"
#include "model/CVEKCntrItem.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <initializer_list>
#include <string>

namespace {

constexpr int kFar = INT_MAX;
constexpr int kNear = 40;
// An A4 page at the zoom-in limit: its shorter side spans 28,000 pixels.
constexpr double kZoomInLimit = 21000.0 / 28000.0;

class FarPointPaintTest : public ::testing::Test {
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
            auto* node = new CCurveNode(point, NODE_CORNER);
            // Marked nodes draw a dot about their point.
            node->SetMark(1);
            nodes.AddTail(node);
        }
        return nodes;
    }

    void AddLine(const CLineAttr& line, CPoint far)
    {
        page->AddElement(new COpenCurveElement(page, 0, line, RGB(0, 0, 0), NodesOn({{kNear, kNear}, far}),
                                               ARROW_NONE, 300, 53.0, ARROW_NONE, 300, 53.0));
    }

    template <class... Fill>
    void AddOutline(std::initializer_list<CPoint> corners, Fill&&... fill)
    {
        page->AddElement(new CClosedCurveElement(page, 0, CLineAttr(10), RGB(0, 0, 0), NodesOn(corners), nullptr,
                                                 std::forward<Fill>(fill)...));
    }

    // A picture with the given corners, read from its record as a document
    // gives them.
    void AddPicture(const CPoint (&corners)[4])
    {
        QImage pixels(4, 4, QImage::Format_ARGB32);
        pixels.fill(Qt::red);
        CArchive record;
        for (const CPoint& corner : corners) record << corner;
        CPixelBlock(pixels).Store(record);
        CArchive in(record.Buffer());
        auto* picture = new CImageElement(page, 0);
        ASSERT_EQ(picture->Load(in), 1);
        page->AddElement(picture);
    }

    void AddText(CPoint at)
    {
        LogFont font;
        font.lfHeight = -500;
        const CTextFont text("far", font, RGB(0, 0, 255));
        page->AddElement(new CTextElement(page, 0, text, at.x, at.y, 1));
    }

    // Every kind of element reaching far out in some direction.
    void AddFarElements()
    {
        for (const CPoint far : {CPoint(kFar, kFar), CPoint(-kFar, kNear), CPoint(kNear, -kFar - 1),
                                 CPoint(1700000000, 1650000000)}) {
            AddLine(CLineAttr(10), far);
            AddLine(CLineAttr::Dashed(10), far);
            AddLine(CLineAttr::SideLines(LINE_SIDE_BOTH, 10), far);
            AddLine(CLineAttr(LINE_DOUBLE, 10, 0, 0), far);
        }
        AddOutline({{0, 0}, {2000, 0}, {kFar, kFar}}, RGB(0, 255, 0));
        AddOutline({{0, 0}, {-kFar, 100}, {-kFar, kFar}, {300, 2000}}, RGB(0, 255, 0));
        CFillStyle lines;
        lines.SetSpacing(100000);
        lines.SetAngle(30.0);
        AddOutline({{0, 0}, {2000, 0}, {kFar, -kFar}}, lines);
        AddOutline({{0, 0}, {2000, 0}, {1600000000, 1600000000}}, FILL_LINEAR, RGB(255, 0, 0), RGB(0, 0, 255),
                   CPoint(0, 0), CPoint(kFar, kFar), 0.5, 0.0, CPoint(0, 0), RGB(0, 0, 0), 0.0, 0);
        AddPicture({{kNear, kNear}, {kFar, kNear}, {kFar, kFar}, {kNear, kFar}});
        AddPicture({{kNear, kNear}, {-kFar, 1600000000}, {-kFar, kFar}, {kNear, kFar}});
        AddPicture({{-kFar, -kFar - 1}, {kFar, -kFar - 1}, {kFar, kFar}, {-kFar, kFar}});
        AddText(CPoint(kFar - 100, kFar - 100));
        AddText(CPoint(-kFar, -kFar - 1));
        AddText(CPoint(kNear, kNear));
    }

    QImage Paint(double scale, CPoint origin)
    {
        QImage image(300, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDC dc(&painter);
            page->Draw(&dc, scale, origin.x, origin.y, CRect(0, 0, 300, 200));
        }
        return image;
    }

    static bool Painted(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
        return false;
    }

    CPageSet set{107, 100};
    CPage* page = nullptr;
};

} // namespace

TEST_F(FarPointPaintTest, FarPointsPaintAtTheZoomInLimit)
{
    AddFarElements();
    const CPoint origins[] = {{0, 0},
                              {kFar - 200, kFar - 150},
                              {-kFar, -kFar - 1},
                              {1600000000, 1600000000},
                              {-1600000000, 0},
                              {kFar, kFar}};
    for (const double scale : {kZoomInLimit, 0.5, 0.01}) {
        for (const CPoint& origin : origins) {
            SCOPED_TRACE(testing::Message() << scale << " at " << origin.x << "," << origin.y);
            const QImage image = Paint(scale, origin);
            EXPECT_TRUE(origin != CPoint(0, 0) || Painted(image));
        }
    }
}

// Enough elements that a paint prepares them all first, on every core.
TEST_F(FarPointPaintTest, FarPointsPaintWhenPreparedFirst)
{
    AddFarElements();
    while (page->GetElementCount() < int(CPage::kPreparedPaintElements)) AddLine(CLineAttr(10), CPoint(kFar, kNear));
    for (const CPoint origin : {CPoint(0, 0), CPoint(kFar - 200, kFar - 150), CPoint(-kFar, -kFar - 1)}) {
        SCOPED_TRACE(testing::Message() << origin.x << "," << origin.y);
        const QImage image = Paint(kZoomInLimit, origin);
        EXPECT_TRUE(origin != CPoint(0, 0) || Painted(image));
    }
}

// Three far points that reached the device arithmetic's ends: the tile of
// a bitmap fill laid about a point 2^31 - 1 units away, an arrowhead whose
// line runs to the lowest coordinate (its direction a difference of the
// two), and the frame and handles of an embedded object reaching to the
// far corner. Zoomed in to the limit on either end of them, each paints
// (and the sanitizer build finds no overflow), the near parts showing.
TEST_F(FarPointPaintTest, FarTilesArrowheadsAndObjectFramesPaintAtTheZoomInLimit)
{
    QImage tile(4, 4, QImage::Format_ARGB32);
    tile.fill(Qt::blue);
    AddOutline({{0, 0}, {2000, 0}, {kFar, 1000}, {0, 3000}}, tile, CSize(300, 300), CPoint(kFar, 500), 0.0, 30.0);
    AddOutline({{0, 4000}, {3000, 4000}, {kFar, kFar}}, tile, CSize(200, 100), CPoint(100, 4100), 0.0, 0.0);
    for (const int kind : {ARROW_FILLED, ARROW_OPEN, ARROW_NOTCHED}) {
        page->AddElement(new COpenCurveElement(page, 0, CLineAttr(10), RGB(0, 0, 0),
                                               NodesOn({{kNear, 5000 + kind * 200}, {INT_MIN, 5000}}), kind, 300,
                                               53.0, kind, 300, 53.0));
    }
    auto object = std::make_shared<CVEKCntrItem>();
    auto* frame = new COleObjectElement(page, 0, object);
    frame->SetRect(CRect(kNear, 6000, kFar, kFar));
    page->AddElement(frame);
    auto* reaching = new COleObjectElement(page, 0, std::make_shared<CVEKCntrItem>());
    reaching->SetRect(CRect(-kFar, -kFar - 1, kFar, kFar));
    page->AddElement(reaching);

    const CPoint origins[] = {{0, 0},         {0, 3900},          {kFar - 200, 0},          {kFar - 200, kFar - 150},
                              {INT_MIN, 4900}, {-kFar, -kFar - 1}, {kNear - 100, 5900}, {0, kFar - 150}};
    for (const CPoint& origin : origins) {
        SCOPED_TRACE(testing::Message() << origin.x << "," << origin.y);
        const QImage image = Paint(kZoomInLimit, origin);
        EXPECT_TRUE(origin != CPoint(0, 0) || Painted(image));
    }
}

