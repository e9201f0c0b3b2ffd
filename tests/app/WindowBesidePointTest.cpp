#include "app/WindowBesidePoint.h"

#include <gtest/gtest.h>

#include <QWidget>

TEST(PlaceWindowBesidePoint, AwayFromTheCentreAndKeptInsideTheBounds)
{
    const CRect bounds(100, 50, 1100, 850);  // centre (600, 450)
    const struct {
        const char* what;
        int x, y;
        QPoint expected;
    } cases[] = {
        {"right of and below a point in the upper left", 200, 100, QPoint(210, 110)},
        {"left of and above a point in the lower right", 1000, 800, QPoint(290, 290)},
        {"pulled back from the right and bottom edges", 550, 400, QPoint(400, 350)},
        {"pulled back to the left and top edges", 650, 500, QPoint(100, 50)},
        {"a point on the centre puts the window left of and above it", 600, 450, QPoint(100, 50)},
    };
    for (const auto& c : cases) {
        QWidget window;
        window.resize(700, 500);
        window.move(-5000, -5000);
        EXPECT_TRUE(PlaceWindowBesidePoint(&window, c.x, c.y, bounds, 10)) << c.what;
        EXPECT_EQ(window.pos(), c.expected) << c.what;
        EXPECT_EQ(window.size(), QSize(700, 500)) << c.what;
    }
}

TEST(PlaceWindowBesidePoint, NullWindowIsRefused)
{
    EXPECT_FALSE(PlaceWindowBesidePoint(nullptr, 0, 0, CRect(0, 0, 100, 100), 5));
}
