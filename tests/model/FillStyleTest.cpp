#include "model/CFillStyle.h"

#include "model/CLineAttr.h"
#include "model/CLineTypeShape.h"
#include "platform/CArchive.h"

#include "HexBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Side lines on the plus side (kind 5), width 10, p1 = p2 = 100; origin
// (50, -20); blue; 45 degrees; every 150 units.
const char* const kSideLineStyle =
    "05000000 0A000000 64000000 64000000"
    "32000000 ECFFFFFF"
    "0000FF00"
    "0000000000804640"
    "96000000";

CFillStyle SideLineStyle()
{
    CFillStyle style;
    style.SetLineAttr(CLineAttr::SideLines(LINE_SIDE_PLUS, 10));
    style.SetOrigin(50, -20);
    style.SetColor(RGB(0, 0, 255));
    style.SetAngle(45.0);
    style.SetSpacing(150);
    return style;
}

std::string Store(const CFillStyle& style)
{
    CArchive ar;
    EXPECT_EQ(style.Store(ar), 1);
    return ar.Buffer();
}

TEST(FillStyle, RecordPutsTheOriginBeforeTheColour)
{
    EXPECT_EQ(Store(SideLineStyle()), HexBytes(kSideLineStyle));
}

TEST(FillStyle, LoadKeepsSideLineParametersWhateverTheVersion)
{
    CArchive ar(HexBytes(kSideLineStyle));
    CFillStyle style;
    EXPECT_EQ(style.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(style.GetLineAttr().GetKind(), LINE_SIDE_PLUS);
    EXPECT_EQ(style.GetLineAttr().GetWidth(), 10);
    EXPECT_EQ(style.GetLineAttr().GetParam(1), 100);
    EXPECT_EQ(style.GetLineAttr().GetParam(2), 100);
    EXPECT_EQ(style.GetOrigin(), CPoint(50, -20));
    EXPECT_EQ(style.GetColor(), RGB(0, 0, 255));
    EXPECT_DOUBLE_EQ(style.GetAngle(), 45.0);
    EXPECT_EQ(style.GetSpacing(), 150);
    EXPECT_EQ(style, SideLineStyle());
    EXPECT_EQ(Store(style), HexBytes(kSideLineStyle));
}

TEST(FillStyle, EveryLineKindSurvivesARoundTrip)
{
    CLineTypeShapeArray pattern{CLineTypeShape(5, 1, CPointList{{0, 0}, {40, 20}, {0, 40}})};
    const CLineAttr kinds[] = {
        CLineAttr::Plain(20),          CLineAttr::Dashed(10),
        CLineAttr::Dotted(10),         CLineAttr::DashPair(10),
        CLineAttr::DashTriple(10),     CLineAttr::SideLines(LINE_SIDE_BOTH, 10),
        CLineAttr::SideLines(LINE_DOUBLE, 12), CLineAttr::Custom(30, 15, pattern),
    };
    for (const CLineAttr& line : kinds) {
        SCOPED_TRACE(line.GetKind());
        CFillStyle style = SideLineStyle();
        style.SetLineAttr(line);
        CArchive in(Store(style));
        CFillStyle loaded;
        loaded.Load(in);
        EXPECT_EQ(loaded, style);
        EXPECT_EQ(loaded.GetLineAttr().GetShapes(), line.GetShapes());
    }
}

TEST(FillStyle, CopiesAreIndependentOfTheirSource)
{
    CLineTypeShapeArray pattern{CLineTypeShape(5, 1, CPointList{{0, 0}, {40, 20}, {0, 40}})};
    CFillStyle source = SideLineStyle();
    source.SetLineAttr(CLineAttr::Custom(30, 15, pattern));

    CFillStyle copy(source);
    CFillStyle assigned;
    assigned = source;
    source.SetLineAttr(CLineAttr::Custom(30, 15, {CLineTypeShape(1, 0, CPointList{{0, 0}, {9, 9}})}));
    source.SetSpacing(1);

    for (const CFillStyle* style : {&copy, &assigned}) {
        ASSERT_EQ(style->GetLineAttr().GetShapes().size(), 1u);
        EXPECT_EQ(style->GetLineAttr().GetShapes()[0], pattern[0]);
        EXPECT_EQ(style->GetSpacing(), 150);
    }
}

TEST(FillStyle, DefaultIsAUsableThinLineFill)
{
    const CFillStyle style;
    EXPECT_EQ(style.GetLineAttr().GetKind(), LINE_PLAIN);
    EXPECT_EQ(style.GetColor(), RGB(0, 0, 0));
    EXPECT_GT(style.GetSpacing(), 0);
    EXPECT_EQ(style.GetOrigin(), CPoint(0, 0));
}

TEST(FillStyle, ShortRecordsAreRefused)
{
    const std::string whole = HexBytes(kSideLineStyle);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        CArchive ar(whole.substr(0, size));
        CFillStyle style;
        EXPECT_THROW(style.Load(ar), CArchiveError);
    }
}

}  // namespace
