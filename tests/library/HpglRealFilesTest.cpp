// Plotter files written by other programs: CAD output behind device
// control, HP-GL/2 wrapped in printer-language escapes, printer-driver
// output with relative moves, polygon mode, wedges, label terminators and a
// vector editor's output. Each is read whole, and what it draws is counted.
#include "HpglTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

struct Expected {
    const char* file;
    std::size_t polylines;
    std::size_t closed;
    std::size_t labels;
    CRect bounds; // plot units
};

const Expected kFiles[] = {
    {"hp2xx_acad.hp", 325, 36, 0, {0, 0, 10663, 9148}},
    {"hp2xx_dt.plt", 0, 0, 4, {0, 0, 0, 2661}},
    {"hp2xx_fill.plt", 33, 33, 16, {0, 0, 38461, 38997}},
    {"hp2xx_fwedges.plt", 7, 7, 0, {0, 0, 10250, 10000}},
    {"hp2xx_colour_scale.plt", 382, 73, 60, {0, 0, 27100, 18690}},
    {"hp2xx_win_1.hp", 149, 10, 18, {0, 0, 25109, 16200}},
    {"inkscape_ext_tests_test.hpgl", 5, 0, 0, {0, 0, 18548, 13618}},
};

QString RealFile(const char* name)
{
    return QStringLiteral(VEK_REALDATA_DIR "/hpgl/") + QString::fromLatin1(name);
}

} // namespace

TEST(HpglRealFiles, EveryFileIsReadAndDrawn)
{
    // Every plotter file there is in the table.
    const QStringList present = QDir(QStringLiteral(VEK_REALDATA_DIR "/hpgl"))
                                    .entryList({QStringLiteral("*.hp"), QStringLiteral("*.plt"),
                                                QStringLiteral("*.hpgl")},
                                               QDir::Files);
    EXPECT_EQ(present.size(), int(std::size(kFiles)));
    for (const Expected& e : kFiles) {
        SCOPED_TRACE(e.file);
        HpglState state;
        ASSERT_EQ(CHpglReader::ReadFile(RealFile(e.file), state), CHpglReader::Result::Ok);
        CHpglDrawing drawing;
        ASSERT_EQ(drawing.Build(state), CHpglDrawing::Result::Ok);
        EXPECT_EQ(drawing.Polylines().size(), e.polylines);
        std::size_t closed = 0;
        for (const CHpglPolyline& p : drawing.Polylines()) closed += p.IsClosed() ? 1 : 0;
        EXPECT_EQ(closed, e.closed);
        EXPECT_EQ(drawing.Labels().size(), e.labels);
        EXPECT_EQ(drawing.Bounds(), e.bounds);
    }
}

// What these files showed: terminators of their own, upright labels of
// printer-driver output, and relative decimal moves that close triangles.
TEST(HpglRealFiles, WhatTheFilesSayArrives)
{
    HpglState dt;
    ASSERT_EQ(CHpglReader::ReadFile(RealFile("hp2xx_dt.plt"), dt), CHpglReader::Result::Ok);
    ASSERT_EQ(dt.labels.size(), 4u);
    EXPECT_EQ(dt.labels[0].text, "Thu 01 May 2003 5:34 PM  R.C.Pasco");
    EXPECT_EQ(dt.labels[1].text, "Term WILL NOT print.");
    EXPECT_EQ(dt.labels[2].text, "Term WILL print.#");
    EXPECT_EQ(dt.labels[3].text, "This label is terminated by 0x03 here:");

    HpglState win;
    ASSERT_EQ(CHpglReader::ReadFile(RealFile("hp2xx_win_1.hp"), win), CHpglReader::Result::Ok);
    ASSERT_FALSE(win.labels.empty());
    EXPECT_EQ(win.labels[0].text, "Tab1 Diagramm 1");
    EXPECT_NEAR(win.labels[0].direction, 1.5707963267948966, 1e-12);

    HpglState fill;
    ASSERT_EQ(CHpglReader::ReadFile(RealFile("hp2xx_fill.plt"), fill), CHpglReader::Result::Ok);
    CHpglDrawing drawing;
    ASSERT_EQ(drawing.Build(fill), CHpglDrawing::Result::Ok);
    // The frame (EA) and 32 triangles, each closed on its first point.
    std::size_t triangles = 0;
    for (const CHpglPolyline& p : drawing.Polylines()) {
        EXPECT_TRUE(p.IsClosed());
        triangles += p.points.size() == 4 ? 1 : 0;
    }
    EXPECT_EQ(triangles, 32u);
}
