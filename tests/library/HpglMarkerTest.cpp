// The marker the plotter benchmark imports (bench/HpglMarker): it must be
// read as the pieces it is made of, whichever form a piece is written in,
// or the benchmark would time something else.
#include "HpglTestSupport.h"

#include "HpglMarker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using bench::HpglMarker;

// Plot units (hundredths of a millimetre) per plotter unit.
constexpr double kPlotUnits = 2.5;

CHpglDrawing Draw(const std::string& bytes)
{
    HpglState state;
    EXPECT_EQ(ReadHpgl(bytes, state), CHpglReader::Result::Ok);
    CHpglDrawing drawing;
    EXPECT_EQ(drawing.Build(state), CHpglDrawing::Result::Ok);
    return drawing;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

} // namespace

TEST(HpglMarker, TheBenchmarksMarkerIsFourHundredClosedLabelledPiecesInAboutOneMegabyte)
{
    const std::string bytes = HpglMarker::Write();
    EXPECT_GT(bytes.size(), 900u * 1024u);
    EXPECT_LT(bytes.size(), 1200u * 1024u);
    // Half the pieces encoded, half of those in 7-bit mode (each command
    // on a line of its own).
    EXPECT_EQ(Count(bytes, "\nPE"), 200u);
    EXPECT_EQ(Count(bytes, "\nPE7"), 100u);

    const CHpglDrawing drawing = Draw(bytes);
    const std::size_t closed = std::size_t(std::count_if(drawing.Polylines().begin(), drawing.Polylines().end(),
                                                         [](const CHpglPolyline& p) { return p.IsClosed(); }));
    EXPECT_EQ(closed, 400u);
    // Two notches and a grain line beside each outline.
    EXPECT_EQ(drawing.Polylines().size(), 400u * 4u);
    ASSERT_EQ(drawing.Labels().size(), 400u);
    for (int i = 0; i < 400; ++i) EXPECT_EQ(drawing.Labels()[std::size_t(i)].text, HpglMarker::Label(i));
}

TEST(HpglMarker, EveryFormDrawsTheSameKindOfPiece)
{
    // Pieces 0 and 2 plain, 1 encoded in 8-bit mode, 3 in 7-bit mode.
    const int points = 40;
    const CHpglDrawing drawing = Draw(HpglMarker::Write(4, points));
    ASSERT_EQ(drawing.Polylines().size(), 16u);
    ASSERT_EQ(drawing.Labels().size(), 4u);
    for (std::size_t piece = 0; piece < 4; ++piece) {
        SCOPED_TRACE(piece);
        const CHpglPolyline& outline = drawing.Polylines()[4 * piece];
        EXPECT_TRUE(outline.IsClosed());
        EXPECT_EQ(outline.points.size(), std::size_t(points) + 1);
        EXPECT_EQ(outline.pen, 1);
        int left = outline.points[0].x, right = left;
        for (const CPoint& p : outline.points) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
        }
        // About 3 mm wide (1300 to 1700 plotter units each side, the edge
        // waving by 8 %).
        EXPECT_GT(right - left, int(2 * 1300 * 0.92 * kPlotUnits) - 5);
        EXPECT_LT(right - left, int(2 * 1700 * 1.08 * kPlotUnits) + 5);

        // The notches: cut 60 plotter units inwards from the outline.
        for (std::size_t n = 1; n <= 2; ++n) {
            const CHpglPolyline& notch = drawing.Polylines()[4 * piece + n];
            ASSERT_EQ(notch.points.size(), 2u);
            EXPECT_FALSE(notch.IsClosed());
            EXPECT_EQ(std::abs(notch.points[1].x - notch.points[0].x), int(60 * kPlotUnits));
            EXPECT_EQ(notch.points[1].y, notch.points[0].y);
            EXPECT_NE(std::find(outline.points.begin(), outline.points.end(), notch.points[0]), outline.points.end());
            EXPECT_TRUE(notch.points[1].x > left && notch.points[1].x < right);
        }
        // The grain line in pen 2, upright through the middle.
        const CHpglPolyline& grain = drawing.Polylines()[4 * piece + 3];
        ASSERT_EQ(grain.points.size(), 2u);
        EXPECT_EQ(grain.pen, 2);
        EXPECT_EQ(grain.points[0].x, grain.points[1].x);
        EXPECT_EQ(std::abs(grain.points[1].y - grain.points[0].y), int(1600 * kPlotUnits));
        EXPECT_NEAR(grain.points[0].x, (left + right) / 2, 0.1 * (right - left));
        EXPECT_EQ(drawing.Labels()[piece].text, HpglMarker::Label(int(piece)));
    }
}
