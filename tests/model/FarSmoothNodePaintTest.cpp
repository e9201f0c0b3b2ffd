// An outline through a smooth node at the far corner of the coordinates is
// painted from an outline built only as far as the paint shows: its fill
// and line, and an open line's arrowheads, must paint the very pixels the
// whole outline paints.
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

// A page of its own for each case, and the curve painted on 300 x 420
// pixels: the page fitted, or a part of it zoomed in.
template <class Case> class FarNodePage : public testing::TestWithParam<Case> {
protected:
    static QImage Paint(CCurveElement& curve, double scale, CPoint origin)
    {
        QImage image(300, 420, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        curve.Draw(&dc, scale, origin.x, origin.y, CRect(0, 0, image.width(), image.height()));
        return image;
    }

    void SetUp() override
    {
        set.AppendPage();
        page = set.GetPageAt(0);
    }

    CPageSet set{107, 100};
    CPage* page = nullptr;
};

struct FillCase {
    const char* name;
    int fillKind;  // FILL_NONE, FILL_SOLID or FILL_LINES
    int lineWidth;
};

class FarSmoothNodePaintTest : public FarNodePage<FillCase> {
protected:
    CClosedCurveElement* AddOutline(const FillCase& c)
    {
        CCurveNodeList nodes;
        for (const CPoint& p : {CPoint(3000, 3000), CPoint(INT_MAX, INT_MAX), CPoint(15000, 9000),
                                CPoint(12000, 20000), CPoint(4000, 15000)}) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_SMOOTH));
        }
        const CLineAttr line(c.lineWidth);
        CClosedCurveElement* curve = nullptr;
        if (c.fillKind == FILL_LINES) {
            CFillStyle style;
            style.SetAngle(30.0);
            style.SetOrigin(5000, 5000);
            style.SetSpacing(300);
            style.SetLineAttr(CLineAttr(20));
            curve = new CClosedCurveElement(page, 0, line, RGB(0, 0, 0), nodes, nullptr, style);
        } else if (c.fillKind == FILL_SOLID) {
            curve = new CClosedCurveElement(page, 0, line, RGB(0, 0, 0), nodes, nullptr, RGB(0, 200, 0));
        } else {
            curve = new CClosedCurveElement(page, 0, line, RGB(0, 0, 0), nodes, nullptr);
        }
        page->AddElement(curve);
        return curve;
    }

};

TEST_P(FarSmoothNodePaintTest, PaintsWhatTheWholeOutlinePaints)
{
    CClosedCurveElement* curve = AddOutline(GetParam());
    const CRect whole = curve->GetBoundRect();
    for (const auto& [scale, origin] : {std::pair{29700.0 / 420.0, CPoint(0, 0)}, std::pair{4.0, CPoint(2500, 2500)},
                                        std::pair{0.5, CPoint(14800, 8800)}}) {
        // Painted first, the curve builds its outline for the paint.
        curve->InvalidateBounds();
        const QImage cut = Paint(*curve, scale, origin);
        EXPECT_EQ(curve->GetBoundRect(), whole);
        // Read first, it builds the whole outline, which the paint keeps.
        curve->InvalidateBounds();
        EXPECT_GT(curve->Outline().GetCount(), 10000);
        const QImage full = Paint(*curve, scale, origin);
        EXPECT_TRUE(cut == full) << "scale " << scale;
    }
}

INSTANTIATE_TEST_SUITE_P(Fills, FarSmoothNodePaintTest,
                         testing::Values(FillCase{"LineFill", FILL_LINES, 10}, FillCase{"SolidFill", FILL_SOLID, 10},
                                         FillCase{"NoFill", FILL_NONE, 10}, FillCase{"WideLine", FILL_NONE, 400}),
                         [](const testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

// Open lines through a far smooth node, with arrowheads: the heads point
// along the outline's ends and a filled one cuts the line back, wherever
// the end lies, near the page or at the far corner itself.
struct OpenCase {
    const char* name;
    std::vector<std::pair<CPoint, int>> nodes;  // position and kind
    int startArrow;
    int endArrow;
    int lineWidth;
};

class FarSmoothNodeOpenLinePaintTest : public FarNodePage<OpenCase> {
protected:
    COpenCurveElement* AddLine(const OpenCase& c)
    {
        CCurveNodeList nodes;
        for (const auto& [p, kind] : c.nodes) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, kind));
        }
        auto* line = new COpenCurveElement(page, 0, CLineAttr(c.lineWidth), RGB(0, 0, 0), nodes, c.startArrow, 300,
                                           53.0, c.endArrow, 300, 53.0);
        page->AddElement(line);
        return line;
    }

};

TEST_P(FarSmoothNodeOpenLinePaintTest, PaintsWhatTheWholeLinePaintsFromACutOutline)
{
    COpenCurveElement* line = AddLine(GetParam());
    const CRect whole = line->GetBoundRect();
    // The page fitted, the first end zoomed in on, and a stretch of the line
    // near the page.
    for (const auto& [scale, origin] : {std::pair{29700.0 / 420.0, CPoint(0, 0)}, std::pair{4.0, CPoint(2500, 2500)},
                                        std::pair{0.5, CPoint(14800, 8800)}}) {
        line->InvalidateBounds();
        const QImage cut = Paint(*line, scale, origin);
        // The paint built only what it shows.
        EXPECT_TRUE(line->OutlineIsCut()) << "scale " << scale;
        EXPECT_EQ(line->GetBoundRect(), whole);
        line->InvalidateBounds();
        EXPECT_GT(line->Outline().GetCount(), 10000);
        const QImage full = Paint(*line, scale, origin);
        EXPECT_FALSE(line->OutlineIsCut());
        EXPECT_TRUE(cut == full) << "scale " << scale;
    }
}

const CPoint kFar(INT_MAX, INT_MAX);

INSTANTIATE_TEST_SUITE_P(
    Lines, FarSmoothNodeOpenLinePaintTest,
    testing::Values(
        // The far node next to the first end: the spline leaves the first
        // head towards it.
        OpenCase{"FarNextToAnEnd",
                 {{CPoint(3000, 3000), NODE_CORNER},
                  {kFar, NODE_SMOOTH},
                  {CPoint(15000, 9000), NODE_SMOOTH},
                  {CPoint(12000, 20000), NODE_SMOOTH},
                  {CPoint(4000, 15000), NODE_CORNER}},
                 ARROW_FILLED, ARROW_OPEN, 10},
        // The far node is an end: its head stands at the far corner.
        OpenCase{"FarEnd",
                 {{CPoint(3000, 3000), NODE_CORNER},
                  {CPoint(15000, 9000), NODE_SMOOTH},
                  {CPoint(12000, 20000), NODE_SMOOTH},
                  {kFar, NODE_CORNER}},
                 ARROW_NOTCHED, ARROW_FILLED, 40},
        // Smooth all round: the line closes on its first node, where both
        // heads stand.
        OpenCase{"SmoothAllRound",
                 {{CPoint(3000, 3000), NODE_SMOOTH},
                  {kFar, NODE_SMOOTH},
                  {CPoint(15000, 9000), NODE_SMOOTH},
                  {CPoint(4000, 15000), NODE_SMOOTH}},
                 ARROW_FILLED, ARROW_NOTCHED, 10},
        // A wide line with wide heads.
        OpenCase{"WideLine",
                 {{CPoint(3000, 3000), NODE_CORNER},
                  {kFar, NODE_SMOOTH},
                  {CPoint(15000, 9000), NODE_SMOOTH},
                  {CPoint(4000, 15000), NODE_CORNER}},
                 ARROW_FILLED, ARROW_FILLED, 400}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

} // namespace
