#include "ViewTestSupport.h"
#include "app/CRulerBar.h"
#include "app/CZoomPreview.h"
#include "geometry/WorkUnits.h"
#include "settings/CSystemSettings.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// 96 pixels per inch.
constexpr double kPixelsPerCm = 37.795;
// One model unit (0.01 mm) per 0.0378 pixels: a screen centimetre shows 1 cm.
constexpr double kTrueScale = 26.4583;

const QColor kFace(200, 200, 200);
const QColor kInk(0, 0, 0);

class RulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedUnit = Settings().m_nWorkUnit;
        savedPrecision = Settings().m_nPrecision;
        SetUnit(2, 100);
    }
    void TearDown() override
    {
        Settings().m_nWorkUnit = savedUnit;
        Settings().m_nPrecision = savedPrecision;
    }
    static void SetUnit(int unit, int precision)
    {
        Settings().m_nWorkUnit = unit;
        Settings().m_nPrecision = precision;
    }
    // The ruler stands at the corner of a window whose view lies beside it,
    // the view's pixel 0 two pixels along a horizontal ruler and 22 down a
    // vertical one.
    void Prepare(CRulerBar& ruler, int length, double scale, int origin = 0)
    {
        ruler.setParent(&window);
        ruler.move(0, 0);
        view.move(ruler.IsHorizontal() ? QPoint(2, CRulerBar::kThickness) : QPoint(CRulerBar::kThickness, 22));
        ruler.SetView(&view);
        QPalette pal = ruler.palette();
        pal.setColor(QPalette::Button, kFace);
        pal.setColor(QPalette::WindowText, kInk);
        pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
        pal.setColor(QPalette::Base, Qt::white);
        ruler.setPalette(pal);
        if (ruler.IsHorizontal()) {
            ruler.resize(length, CRulerBar::kThickness);
        } else {
            ruler.resize(CRulerBar::kThickness, length);
        }
        ruler.SetPixelsPerCm(kPixelsPerCm);
        ruler.SetScale(scale, origin);
        ruler.UpdateUnitScale();
    }
    static QImage Render(CRulerBar& ruler)
    {
        QImage image(ruler.size(), QImage::Format_RGB32);
        ruler.render(&image);
        return image;
    }
    // Length in pixels of the dark run that ends just above the border rows
    // of a horizontal ruler, in column x.
    static int TickLengthAt(const QImage& image, int x)
    {
        int length = 0;
        for (int y = image.height() - 3; y >= 0 && image.pixelColor(x, y) == kInk; --y) ++length;
        return length + 1;  // the tick also covers the grey border row
    }
    // The label as the ruler should draw it, on its own.
    static QImage LabelImage(const CRulerBar& ruler, const QString& text, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(kFace);
        QPainter painter(&image);
        painter.setFont(ruler.LabelFont());
        painter.setPen(kInk);
        painter.drawText(QRect(0, 0, size.width(), size.height()), Qt::AlignLeft | Qt::AlignTop, text);
        return image;
    }
    static bool HasInk(const QImage& image, const QRect& area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) != kFace) return true;
            }
        }
        return false;
    }

    // The widest stretch along a ruler where its labels' band holds ink
    // with no more than two clear pixels in a row: one label, or labels run
    // together.
    static int WidestLabelRun(const QImage& image, bool horizontal)
    {
        const int along = horizontal ? image.width() : image.height();
        int widest = 0, start = -1, clear = 0;
        for (int i = 0; i < along; ++i) {
            bool ink = false;
            for (int j = 1; j <= 9 && !ink; ++j)
                ink = (horizontal ? image.pixelColor(i, j) : image.pixelColor(j, i)) != kFace;
            if (ink) {
                if (start < 0) start = i;
                clear = 0;
                widest = std::max(widest, i - start + 1);
            } else if (start >= 0 && ++clear > 2) {
                start = -1;
            }
        }
        return widest;
    }

    // The stretches along a ruler where its labels' band holds ink, each
    // ending at the third clear pixel in a row: one per label drawn.
    struct Run {
        int first;
        int last;
    };
    static std::vector<Run> LabelRuns(const QImage& image, bool horizontal)
    {
        const int along = horizontal ? image.width() : image.height();
        std::vector<Run> runs;
        int clear = 3;
        for (int i = 0; i < along; ++i) {
            bool ink = false;
            for (int j = 1; j <= 9 && !ink; ++j)
                ink = (horizontal ? image.pixelColor(i, j) : image.pixelColor(j, i)) != kFace;
            if (!ink) {
                ++clear;
                continue;
            }
            if (clear > 2) runs.push_back({i, i});
            runs.back().last = i;
            clear = 0;
        }
        return runs;
    }

    int savedUnit = 0;
    int savedPrecision = 0;
    QWidget window;
    QWidget view{&window};
};

struct StepCase {
    int unit;
    double scale;
    double major;
    double minor;
};

TEST_F(RulerTest, StepsFallOnWholeUnitsAboutOneScreenCentimetreApart)
{
    const StepCase cases[] = {
        {2, kTrueScale, 1000.0, 100.0},         // cm: v is 10 mm per screen cm
        {2, kTrueScale * 10, 10000.0, 1000.0},  // zoomed out ten times
        {2, 1.0, 50.0, 5.0},                    // zoomed in: 0.05 cm per 1.9 screen cm
        {0, kTrueScale, 2540.0, 317.5},         // inch fractions: eighths
        {1, kTrueScale, 2540.0, 254.0},         // decimal inches: tenths
        {1, kTrueScale * 8, 2540.0 * 3, 762.0}, // 3.15 inches per screen cm
        {3, kTrueScale, 1000.0, 100.0},         // mm
        {3, kTrueScale / 5, 200.0, 20.0},       // mm: 2 mm per screen cm
        {3, 0.001, 1.0, 0.1},                   // mm at extreme zoom: the precision's 0.01 mm
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.unit << " scale " << c.scale);
        SetUnit(c.unit, c.unit == 0 ? 16 : 100);
        CRulerBar ruler(true);
        Prepare(ruler, 400, c.scale);
        double major = 0.0;
        double minor = 0.0;
        ruler.GetSteps(major, minor);
        EXPECT_NEAR(major, c.major, 1e-6);
        EXPECT_NEAR(minor, c.minor, 1e-6);
        EXPECT_NEAR(ruler.GetMiddleStep(), c.major / 2, 1e-6);
    }
}

TEST_F(RulerTest, TicksRepeatEveryMinorStepWithLongAndMiddleTicks)
{
    struct Case {
        int unit;
        int precision;
        int perMajor;  // minor ticks from one long tick to the next
    };
    const Case cases[] = {{2, 100, 10}, {3, 10, 10}, {1, 100, 10}, {0, 16, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.unit);
        SetUnit(c.unit, c.precision);
        CRulerBar ruler(true);
        Prepare(ruler, 600, kTrueScale);
        const QImage image = Render(ruler);
        double major = 0.0;
        double minor = 0.0;
        ruler.GetSteps(major, minor);
        for (int k = 0; k <= c.perMajor; ++k) {
            SCOPED_TRACE(k);
            const int x = static_cast<int>(std::lround(k * minor / kTrueScale)) + ruler.GetDeviceOffset();
            const int expected = (k % c.perMajor == 0) ? 8 : (k % (c.perMajor / 2) == 0 ? 6 : 3);
            EXPECT_EQ(TickLengthAt(image, x), expected);
        }
    }
}

TEST_F(RulerTest, TicksFollowTheOriginAndTheZero)
{
    CRulerBar ruler(true);
    Prepare(ruler, 400, kTrueScale, -500);  // the page's 0 lies 18.9 pixels in
    ruler.SetZero(1000);
    const QImage image = Render(ruler);
    // Whole centimetres from model 1000, which is labelled 0.
    auto column = [&](int model) { return static_cast<int>(std::lround((model + 500) / kTrueScale)) + 2; };
    EXPECT_EQ(TickLengthAt(image, column(1000)), 8);
    EXPECT_EQ(TickLengthAt(image, column(2000)), 8);
    EXPECT_EQ(TickLengthAt(image, column(0)), 8);
    EXPECT_EQ(TickLengthAt(image, column(500)), 6);
    EXPECT_EQ(TickLengthAt(image, column(1100)), 3);
    EXPECT_EQ(TickLengthAt(image, column(-400)), 3);
}

TEST_F(RulerTest, LabelsShowTheWorkUnitBesideTheLongTicks)
{
    struct Case {
        int unit;
        int precision;
        std::vector<QString> labels;  // at the first long ticks
    };
    const std::vector<Case> cases = {
        {2, 100, {"0", "1", "2", "3"}},
        {3, 10, {"0", "10", "20", "30"}},
        {1, 100, {"0", "1", "2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.unit);
        SetUnit(c.unit, c.precision);
        CRulerBar ruler(true);
        Prepare(ruler, 600, kTrueScale);
        const QImage image = Render(ruler);
        double major = 0.0;
        double minor = 0.0;
        ruler.GetSteps(major, minor);
        const QFontMetrics metrics(ruler.LabelFont());
        for (size_t i = 0; i < c.labels.size(); ++i) {
            SCOPED_TRACE(c.labels[i].toStdString());
            const int tick = static_cast<int>(std::lround(i * major / kTrueScale)) + 2;
            const QSize size(metrics.horizontalAdvance(c.labels[i]), 12);
            const QImage drawn = image.copy(QRect(QPoint(tick + 2, 1), size));
            EXPECT_EQ(drawn, LabelImage(ruler, c.labels[i], size));
        }
    }
}

TEST_F(RulerTest, ZoomedInFarLabelsFallOnPartsOfTheUnit)
{
    // Scale 0.75 is where the wheel stops on an A4 page: a centimetre spans
    // 1,333 pixels. Labels still come about one screen centimetre apart,
    // on the parts of the unit the precision can show.
    struct Case {
        int unit;
        int precision;
        double major;                 // model units
        std::vector<QString> labels;  // at the first long ticks
    };
    const std::vector<Case> cases = {
        {2, 100, 50.0, {"0", "0.05", "0.1", "0.15"}},
        {3, 10, 100.0, {"0", "1", "2"}},  // a millimetre is 133 pixels: whole ones
        {1, 1000, 50.8, {"0", "0.02", "0.04"}},
        {0, 64, 2540.0 / 64, {"0", "1/64", "1/32"}},
        {2, 10, 100.0, {"0", "0.1", "0.2"}},    // only tenths can be shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.unit << " precision " << c.precision);
        SetUnit(c.unit, c.precision);
        CRulerBar ruler(true);
        Prepare(ruler, 800, 0.75);
        double major = 0.0;
        double minor = 0.0;
        ruler.GetSteps(major, minor);
        ASSERT_NEAR(major, c.major, 1e-6);
        const QImage image = Render(ruler);
        const QFontMetrics metrics(ruler.LabelFont());
        for (size_t i = 0; i < c.labels.size(); ++i) {
            SCOPED_TRACE(c.labels[i].toStdString());
            const int tick = static_cast<int>(std::lround(i * major / 0.75)) + 2;
            EXPECT_EQ(TickLengthAt(image, tick), 8);
            const QSize size(metrics.horizontalAdvance(c.labels[i]), 12);
            const QImage drawn = image.copy(QRect(QPoint(tick + 2, 1), size));
            EXPECT_EQ(drawn, LabelImage(ruler, c.labels[i], size));
        }
    }
}

TEST_F(RulerTest, TheUnitNameEndsTheHorizontalRulerAndCrowdedLabelsGo)
{
    CRulerBar ruler(true);
    const QFontMetrics metrics(ruler.LabelFont());
    const int unitWidth = metrics.horizontalAdvance(QStringLiteral("cm"));
    // Long ticks every 37.8 pixels; the unit name starts just right of the
    // one at 2 cm (x 78), whose label would run into it.
    const int width = 80 + unitWidth + 1;
    Prepare(ruler, width, kTrueScale);
    const QImage image = Render(ruler);
    const QSize unitSize(unitWidth, 12);
    EXPECT_EQ(image.copy(QRect(QPoint(80, 1), unitSize)), LabelImage(ruler, "cm", unitSize));
    EXPECT_EQ(image.copy(QRect(QPoint(2 + 38 + 2, 1), QSize(metrics.horizontalAdvance("1"), 12))),
              LabelImage(ruler, "1", QSize(metrics.horizontalAdvance("1"), 12)));
    // Nothing between the label "1" and the unit name but the short ticks below.
    EXPECT_FALSE(HasInk(image, QRect(2 + 38 + 2 + metrics.horizontalAdvance("1") + 1, 1, 10, 8)));
}

// Far from the zero a label has seven digits or more and is wider than the
// step to the next long tick: labels then come only every few long ticks,
// on either ruler, and those drawn stay apart.
TEST_F(RulerTest, LabelsTooWideForTheirStepsDoNotRunTogether)
{
    struct Case {
        bool horizontal;
        double scale;
        int origin;
    };
    const Case cases[] = {
        {true, kTrueScale, 2147000000},   // 21 km out, a label every centimetre
        {false, kTrueScale, 2147000000},
        {true, 4.0e7, -2147483647},       // zoomed out far over the whole range
        {false, 4.0e7, -2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.horizontal ? "horizontal" : "vertical") << " scale " << c.scale);
        CRulerBar ruler(c.horizontal);
        Prepare(ruler, 600, c.scale, c.origin);
        const QImage image = Render(ruler);
        const int widestLabel = QFontMetrics(ruler.LabelFont()).horizontalAdvance(QStringLiteral("-21474836"));
        const int run = WidestLabelRun(image, c.horizontal);
        EXPECT_GT(run, 0);
        EXPECT_LE(run, widestLabel);
    }
}

// Zoomed out to the limit, wherever the view lies, the labels along either
// ruler come evenly, one every k-th long tick with the same k beside the
// zero as far from it, and none is cut by the ruler's end: a label too near
// it is left out, so no ink touches the ruler's first pixel.
TEST_F(RulerTest, ZoomedOutToTheLimitLabelsComeEvenlyAndWhole)
{
    constexpr double kZoomOutLimit = 4294967296.0 / 100.0;
    for (const bool horizontal : {true, false}) {
        CRulerBar ruler(horizontal);
        Prepare(ruler, 600, kZoomOutLimit, -2147483647);
        double major = 0.0;
        double minor = 0.0;
        ruler.GetSteps(major, minor);
        // Shifted through one label step, long ticks come to lie at every
        // distance from the ruler's start.
        for (int shift = 0; shift < 16; ++shift) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "horizontal" : "vertical") << ", shift " << shift);
            ruler.SetScale(kZoomOutLimit, int(-2147483647 + shift * major / 16));
            const QImage image = Render(ruler);
            std::vector<Run> runs = LabelRuns(image, horizontal);
            if (horizontal && !runs.empty()) runs.pop_back();  // the unit name
            ASSERT_GE(runs.size(), 3u);
            EXPECT_GT(runs.front().first, 0);
            // Labels stand after their ticks on the horizontal ruler, before
            // them on the vertical one: the tick side of each run follows
            // its tick, give or take a glyph's bearing.
            auto tickSide = [&](const Run& run) { return horizontal ? run.first : run.last; };
            const int step = tickSide(runs[1]) - tickSide(runs[0]);
            EXPECT_GT(step, 0.9 * major / kZoomOutLimit);
            for (std::size_t i = 2; i < runs.size(); ++i) {
                EXPECT_NEAR(tickSide(runs[i]) - tickSide(runs[i - 1]), step, 4) << i;
            }
        }
    }
}

TEST_F(RulerTest, TheVerticalRulerTicksLeftwardWithTurnedLabels)
{
    CRulerBar ruler(false);
    Prepare(ruler, 300, kTrueScale);
    const QImage image = Render(ruler);
    const int w = CRulerBar::kThickness;
    auto tickLength = [&](int y) {
        int length = 0;
        for (int x = w - 3; x >= 0 && image.pixelColor(x, y) == kInk; --x) ++length;
        return length + 1;
    };
    const int offset = ruler.GetDeviceOffset();
    EXPECT_EQ(offset, 22);
    EXPECT_EQ(tickLength(offset), 8);                               // 0
    EXPECT_EQ(tickLength(offset + 19), 6);                          // 0.5 cm
    EXPECT_EQ(tickLength(offset + 4), 3);                           // 1 mm
    EXPECT_EQ(tickLength(offset + 38), 8);                          // 1 cm
    // The label of 1 cm ("-1": values grow upward) stands above its tick,
    // turned, near the left edge.
    EXPECT_TRUE(HasInk(image, QRect(1, offset + 38 - 16, 11, 15)));
    EXPECT_FALSE(HasInk(image, QRect(1, offset + 38 + 1, 10, 14)));
}

TEST_F(RulerTest, TheMarkFollowsTheMouseAndIsDrawnOnce)
{
    CRulerBar ruler(true);
    Prepare(ruler, 300, kTrueScale);
    const QImage plain = Render(ruler);

    ruler.SetMarks(50, 999);
    const QImage marked = Render(ruler);
    EXPECT_EQ(ruler.GetMark(), 50);
    for (int y = 0; y < CRulerBar::kThickness; ++y) {
        const QRgb inverted = (plain.pixel(52, y) ^ 0x00FFFFFFu) | 0xFF000000u;
        EXPECT_EQ(marked.pixel(52, y), inverted) << y;
    }
    EXPECT_EQ(marked.copy(0, 0, 52, 20), plain.copy(0, 0, 52, 20));

    ruler.SetMarks(50, 5);  // the vertical coordinate is not this ruler's
    EXPECT_EQ(Render(ruler), marked);

    ruler.SetMarks(80, 5);
    const QImage moved = Render(ruler);
    EXPECT_EQ(moved.copy(52, 0, 1, 20), plain.copy(52, 0, 1, 20));
    EXPECT_NE(moved.copy(82, 0, 1, 20), plain.copy(82, 0, 1, 20));

    ruler.SetMarks(CRulerBar::kNoMark, 0);
    EXPECT_EQ(Render(ruler), plain);
}

TEST_F(RulerTest, NewSystemColoursReachTicksAndMarks)
{
    CRulerBar ruler(true);
    Prepare(ruler, 300, kTrueScale);
    ruler.SetMarks(100, 0);
    QPalette pal = ruler.palette();
    pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
    pal.setColor(QPalette::Base, QColor(0, 0, 255));
    ruler.setPalette(pal);
    const QImage image = Render(ruler);
    EXPECT_EQ(image.pixelColor(2, 15), QColor(200, 0, 0));  // long tick at 0
    // The mark inverts the face with the new window colour.
    EXPECT_EQ(image.pixelColor(102, 2), QColor(200, 200, 200 ^ 255));
}

TEST_F(RulerTest, WithoutADocumentOnlyTheBorderIsDrawn)
{
    CRulerBar ruler(true);
    Prepare(ruler, 300, kTrueScale);
    ruler.SetUnitsPerMm(0);
    const QImage image = Render(ruler);
    EXPECT_FALSE(HasInk(image, QRect(0, 0, 300, CRulerBar::kThickness - 2)));
    EXPECT_EQ(image.pixelColor(10, CRulerBar::kThickness - 1), kInk);
}

// The view lies level with either ruler's start: the ruler's edge towards
// it runs the ruler's whole length, from the vertical ruler's top as from
// the horizontal one's left end, with no room kept for a corner.
TEST_F(RulerTest, TheEdgeTowardsTheViewRunsTheWholeLength)
{
    const QColor grey(128, 128, 128);
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        CRulerBar ruler(horizontal);
        Prepare(ruler, 300, kTrueScale);
        ruler.SetUnitsPerMm(0);
        const QImage image = Render(ruler);
        auto at = [&](int along, int across) {
            return horizontal ? image.pixelColor(along, across) : image.pixelColor(across, along);
        };
        std::vector<int> gaps;
        for (int i = 0; i < 300; ++i) {
            if (at(i, CRulerBar::kThickness - 1) != kInk || at(i, CRulerBar::kThickness - 2) != grey) gaps.push_back(i);
        }
        EXPECT_EQ(gaps, std::vector<int>{}) << "pixels along the ruler without its edge";
        EXPECT_FALSE(HasInk(image, horizontal ? QRect(0, 0, 300, CRulerBar::kThickness - 2)
                                              : QRect(0, 0, CRulerBar::kThickness - 2, 300)));
    }
}

// Wherever a layout moves the view or the ruler, the ruler's ticks and its
// mark follow the view's pixel 0.
TEST_F(RulerTest, TicksAndMarkFollowTheViewWhereverTheLayoutMovesIt)
{
    struct Case {
        int rulerAt; // along the ruler's axis, in the window
        int viewAt;
    };
    const Case cases[] = {{0, 0}, {0, 5}, {7, 31}, {12, 40}};
    for (const bool horizontal : {true, false}) {
        CRulerBar ruler(horizontal);
        Prepare(ruler, 300, kTrueScale);
        window.resize(400, 400);
        window.show();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "horizontal" : "vertical") << ", ruler at " << c.rulerAt
                                            << ", view at " << c.viewAt);
            ruler.move(horizontal ? QPoint(c.rulerAt, 0) : QPoint(0, c.rulerAt));
            view.move(horizontal ? QPoint(c.viewAt, CRulerBar::kThickness) : QPoint(CRulerBar::kThickness, c.viewAt));
            const int zero = c.viewAt - c.rulerAt; // where view pixel 0, showing model 0, lies on the ruler
            ruler.SetMarks(CRulerBar::kNoMark, CRulerBar::kNoMark);
            const QImage plain = Render(ruler);
            auto at = [&](const QImage& image, int along, int across) {
                return horizontal ? image.pixel(along, across) : image.pixel(across, along);
            };
            int tick = 0;
            for (int j = CRulerBar::kThickness - 2; j >= 0 && at(plain, zero, j) == kInk.rgb(); --j) ++tick;
            EXPECT_EQ(tick, 8);
            ruler.SetMarks(100, 100);
            const QImage marked = Render(ruler);
            EXPECT_NE(at(marked, zero + 100, 5), at(plain, zero + 100, 5));
            EXPECT_EQ(at(marked, zero + 99, 5), at(plain, zero + 99, 5));
        }
        window.hide();
    }
}

TEST_F(RulerTest, MillimetresAtHighZoomStillGetTicks)
{
    SetUnit(3, 10);
    CRulerBar ruler(true);
    Prepare(ruler, 400, 0.5);  // a screen centimetre shows 0.19 mm
    double major = 0.0;
    double minor = 0.0;
    ruler.GetSteps(major, minor);
    EXPECT_GT(minor, 0.0);
    const QImage image = Render(ruler);
    EXPECT_EQ(TickLengthAt(image, 2), 8);
    EXPECT_EQ(TickLengthAt(image, 2 + static_cast<int>(std::lround(minor / 0.5))), 3);
}

// The rulers beside a view, following its scale and origin as the main
// window's do.
class RulersBesideAViewTest : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        Settings().m_nWorkUnit = kWorkUnitCentimetre;
        Settings().m_nPrecision = 100;
        for (CRulerBar* ruler : {&hRuler, &vRuler}) {
            QPalette pal = ruler->palette();
            pal.setColor(QPalette::Button, kFace);
            pal.setColor(QPalette::WindowText, kInk);
            ruler->setPalette(pal);
            ruler->SetPixelsPerCm(kPixelsPerCm);
        }
        hRuler.resize(drawRect.Width(), CRulerBar::kThickness);
        vRuler.resize(CRulerBar::kThickness, drawRect.Height());
        QObject::connect(view.get(), &CVEKView::ViewTransformChanged, &hRuler, [this](double scale, int x, int y) {
            hRuler.SetScale(scale, x);
            vRuler.SetScale(scale, y);
        });
        view->ZoomToFitPage();
    }

    // The ticks a ruler shows: the pixels along it where a tick rises from
    // its border.
    static int TicksShown(CRulerBar& ruler)
    {
        const QImage image = Render(ruler);
        int ticks = 0;
        if (ruler.IsHorizontal()) {
            for (int x = 0; x < image.width(); ++x) ticks += image.pixelColor(x, image.height() - 3) == kInk;
        } else {
            for (int y = 0; y < image.height(); ++y) ticks += image.pixelColor(image.width() - 3, y) == kInk;
        }
        return ticks;
    }

    // Presses the keypad key with the mouse over the middle of the paper
    // until the scale stops changing (at most `limit` times), the rulers
    // shown at every step; the presses made.
    int ZoomToTheLimit(int key, int limit)
    {
        const CPoint middle = view->ModelToDevicePoint(10500, 14850);
        Move(*view, {std::clamp(middle.x, 0, drawRect.Width() - 1), std::clamp(middle.y, 0, drawRect.Height() - 1)});
        int presses = 0;
        for (double before = 0.0; presses < limit && view->GetScale() != before; ++presses) {
            before = view->GetScale();
            SendKey(*view, QEvent::KeyPress, key, Qt::KeypadModifier);
            SCOPED_TRACE(testing::Message() << "scale " << view->GetScale());
            EXPECT_GE(TicksShown(hRuler), 10);
            EXPECT_GE(TicksShown(vRuler), 10);
        }
        // The page painted afresh once the steps stop.
        QEventLoop wait;
        QTimer::singleShot(CZoomPreview::kSettleMs + 100, &wait, &QEventLoop::quit);
        wait.exec();
        Render(*view);
        return presses;
    }

    CRulerBar hRuler{true};
    CRulerBar vRuler{false};
};

// Zoomed out step by step to the limit, where a ruler spans more model
// units than an int holds and the view's origin lies at the end of the int
// range, and in again to the other limit: the rulers show their ticks at
// every step (and the sanitizer build finds no overflow on the way).
TEST_F(RulersBesideAViewTest, TheRulersShowTicksAtEveryZoomUpToBothLimits)
{
    EXPECT_LT(ZoomToTheLimit(Qt::Key_Minus, 200), 200);
    EXPECT_EQ(view->GetScale(), CVEKView::kZoomOutLimit);
    const double out = view->GetScale();

    EXPECT_LT(ZoomToTheLimit(Qt::Key_Plus, 400), 400);
    // Where the paper spans the scroll bars' limit, tens of thousands of
    // pixels.
    EXPECT_LT(view->GetScale(), 1.0);
    EXPECT_LT(view->GetScale(), out);
}

} // namespace
