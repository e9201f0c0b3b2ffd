#include "shell/CSplashWnd.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <functional>
#include <memory>

namespace {

// A window behind the splash that counts the input reaching it.
class InputCounter : public QWidget {
public:
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class SplashWndTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CSplashWnd::HideSplashScreen();
        CSplashWnd::EnableSplashScreen(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(SplashWndTest, ShowsItsPictureOnlyWhenEnabled)
{
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    ASSERT_FALSE(splash->Picture().isNull());
    EXPECT_EQ(splash->size(), splash->Picture().size());
    QImage shown(splash->size(), QImage::Format_RGB32);
    splash->render(&shown);
    EXPECT_EQ(shown, splash->Picture().convertToFormat(QImage::Format_RGB32));

    // Shown again at the main window's creation: the first one stays.
    CSplashWnd::ShowSplashScreen();
    EXPECT_EQ(CSplashWnd::Current(), splash);
}

TEST_F(SplashWndTest, AKeyOrButtonPressHidesItAndIsSwallowed)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QEvent>()> make;
    };
    const Case cases[] = {
        {"key", [] { return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"); }},
        {"left button",
         [] {
             return std::make_unique<QMouseEvent>(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
         }},
        {"right button",
         [] {
             return std::make_unique<QMouseEvent>(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                                  Qt::RightButton, Qt::RightButton, Qt::NoModifier);
         }},
    };
    CSplashWnd::EnableSplashScreen(true);
    InputCounter mainWindow;
    mainWindow.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSplashWnd::ShowSplashScreen(&mainWindow);
        QPointer<CSplashWnd> splash = CSplashWnd::Current();
        ASSERT_FALSE(splash.isNull());

        std::unique_ptr<QEvent> press = c.make();
        QCoreApplication::sendEvent(&mainWindow, press.get());
        EXPECT_EQ(CSplashWnd::Current(), nullptr);
        EXPECT_EQ(mainWindow.presses, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(splash.isNull());

        // With the splash gone, input reaches the window again.
        std::unique_ptr<QEvent> next = c.make();
        QCoreApplication::sendEvent(&mainWindow, next.get());
        EXPECT_EQ(mainWindow.presses, 1);
        mainWindow.presses = 0;
    }
}

TEST_F(SplashWndTest, OtherInputPassesWhileItIsUp)
{
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&release));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&move));
    EXPECT_NE(CSplashWnd::Current(), nullptr);

    CSplashWnd::HideSplashScreen();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&press));
}

} // namespace
