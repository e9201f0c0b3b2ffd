#include "shell/CMainFrame.h"
#include "shell/CVEKApp.h"
#include "app/CRulerBar.h"
#include "app/CVEKView.h"
#include "geometry/WorkUnits.h"
#include "settings/CSystemSettings.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <vector>

// In the main window the rulers stand above and beside the view, the
// vertical one level with the view's top, the horizontal one with its left
// edge; each tick and the mark that follows the mouse must lie on the
// view's row or column that shows the same page coordinate, wherever the
// layout puts them.

namespace {

const QColor kFace(200, 200, 200);
const QColor kInk(0, 0, 0);
// 96 pixels per inch; at this scale a screen centimetre shows a centimetre.
constexpr double kPixelsPerCm = 37.795;
constexpr double kTrueScale = 26.4583;

class RulersLevelWithTheViewTest : public ProgramHomeTest {
protected:
    void SetUp() override
    {
        ProgramHomeTest::SetUp();
        if (HasFatalFailure()) return;
        Settings().SetDefaults();
        Settings().m_nWorkUnit = kWorkUnitCentimetre;
        Settings().m_nPrecision = 100;

        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->NewDocument());
        view = frame->GetEditingView();
        hRuler = qobject_cast<CRulerBar*>(frame->GetHorizontalRuler());
        vRuler = qobject_cast<CRulerBar*>(frame->GetVerticalRuler());
        ASSERT_NE(view, nullptr);
        ASSERT_NE(hRuler, nullptr);
        ASSERT_NE(vRuler, nullptr);
        for (CRulerBar* ruler : {hRuler, vRuler}) {
            QPalette pal = ruler->palette();
            pal.setColor(QPalette::Button, kFace);
            pal.setColor(QPalette::WindowText, kInk);
            pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
            pal.setColor(QPalette::Base, Qt::white);
            ruler->setPalette(pal);
            ruler->SetPixelsPerCm(kPixelsPerCm);
        }
        frame->resize(1000, 800);
        frame->show();
        QApplication::processEvents();
        // The page's corner 1 cm right of and 1.5 cm below the view's corner.
        ASSERT_TRUE(view->SetViewTransform(kTrueScale, -1000, -1500));
        QApplication::processEvents();
    }

    // The pixel along a ruler level with a pixel of the view, through the
    // window both lie in.
    int Level(const CRulerBar& ruler, QPoint viewPixel) const
    {
        const QPoint p = ruler.mapFrom(frame.get(), view->mapTo(frame.get(), viewPixel));
        return ruler.IsHorizontal() ? p.x() : p.y();
    }

    static QImage Grab(CRulerBar& ruler)
    {
        QImage image(ruler.size(), QImage::Format_RGB32);
        ruler.render(&image);
        return image;
    }

    // Where the long ticks stand along a ruler: the pixels from which ink
    // runs eight pixels in from the border.
    static std::vector<int> LongTicks(const QImage& image, bool horizontal)
    {
        const int along = horizontal ? image.width() : image.height();
        const int across = horizontal ? image.height() : image.width();
        auto ink = [&](int i, int j) { return (horizontal ? image.pixelColor(i, j) : image.pixelColor(j, i)) == kInk; };
        std::vector<int> ticks;
        for (int i = 0; i < along; ++i) {
            int length = 0;
            for (int j = across - 2; j >= 0 && ink(i, j); --j) ++length;
            if (length == 8) ticks.push_back(i);
        }
        return ticks;
    }

    // The pixels along a ruler whose whole line across it changed.
    static std::vector<int> ChangedLines(const QImage& before, const QImage& after, bool horizontal)
    {
        const int along = horizontal ? before.width() : before.height();
        const int across = horizontal ? before.height() : before.width();
        std::vector<int> lines;
        for (int i = 0; i < along; ++i) {
            bool all = true;
            for (int j = 0; j < across && all; ++j) {
                const QPoint p = horizontal ? QPoint(i, j) : QPoint(j, i);
                all = before.pixel(p) != after.pixel(p);
            }
            if (all) lines.push_back(i);
        }
        return lines;
    }

    void MoveOverView(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), view->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(view, &e);
    }

    std::unique_ptr<CMainFrame> frame;
    CVEKView* view = nullptr;
    CRulerBar* hRuler = nullptr;
    CRulerBar* vRuler = nullptr;
};

// Whole centimetres of the page, labelled on long ticks: each ruler's long
// tick for one lies level with the view's pixel that shows it.
TEST_F(RulersLevelWithTheViewTest, LongTicksLieLevelWithThePagePointsTheyMark)
{
    const CPoint pagePoints[] = {{0, 0}, {3000, 5000}, {9000, 12000}};
    for (CRulerBar* ruler : {hRuler, vRuler}) {
        const bool horizontal = ruler->IsHorizontal();
        const std::vector<int> ticks = LongTicks(Grab(*ruler), horizontal);
        for (const CPoint& page : pagePoints) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "horizontal" : "vertical") << " ruler, page point "
                                            << page.x << "," << page.y);
            const CPoint device = view->ModelToDevicePoint(page.x, page.y);
            const int level = Level(*ruler, QPoint(device.x, device.y));
            int nearest = -1000;
            for (const int tick : ticks)
                if (std::abs(tick - level) < std::abs(nearest - level)) nearest = tick;
            EXPECT_LE(std::abs(nearest - level), 1)
                << "view pixel level with ruler pixel " << level << ", nearest long tick at " << nearest;
        }
    }
}

// The mark that follows the mouse over the view lies on the ruler's line
// level with the mouse.
TEST_F(RulersLevelWithTheViewTest, TheMarkLiesLevelWithTheMouse)
{
    const QPoint places[] = {{5, 5}, {200, 150}, {450, 380}};
    for (CRulerBar* ruler : {hRuler, vRuler}) {
        const bool horizontal = ruler->IsHorizontal();
        for (const QPoint& place : places) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "horizontal" : "vertical") << " ruler, mouse at "
                                            << place.x() << "," << place.y());
            ruler->SetMarks(CRulerBar::kNoMark, CRulerBar::kNoMark);
            const QImage plain = Grab(*ruler);
            MoveOverView(place);
            const std::vector<int> lines = ChangedLines(plain, Grab(*ruler), horizontal);
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NEAR(lines.front(), Level(*ruler, place), 1);
        }
    }
}

} // namespace
