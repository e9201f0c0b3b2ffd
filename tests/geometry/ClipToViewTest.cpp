// Shapes cut to what can be seen paint the same pixels there as the whole
// shapes, and shapes that Qt's smoothing rasteriser takes minutes over
// (huge coordinates, many crossing edges) paint in a moment: this program
// runs under a time bound (tests/CMakeLists.txt), so a freeze fails it.
#include "geometry/ClipToView.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRandomGenerator>

#include <cmath>

namespace {

const QRectF kView(0, 0, 200, 150);

QPolygonF Star(QPointF centre, double radius, int points, int step)
{
    QPolygonF star;
    for (int i = 0; i < points; ++i) {
        const double a = i * step * 2.0 * M_PI / points;
        star << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    return star;
}

// A line that winds in and out of the view.
QPolygonF Wave(int points, double amplitude)
{
    QPolygonF wave;
    for (int i = 0; i < points; ++i) {
        const double t = i / double(points - 1);
        wave << QPointF(-40 + 280 * t, 75 + amplitude * std::sin(t * 9.0) + 20 * std::cos(t * 37.0));
    }
    return wave;
}

QPolygonF Scribble(int points, unsigned seed, double spread)
{
    QRandomGenerator rng(seed);
    QPolygonF line;
    for (int i = 0; i < points; ++i)
        line << QPointF(rng.bounded(spread) - spread / 2 + 100, rng.bounded(spread) - spread / 2 + 75);
    return line;
}

QImage Blank()
{
    QImage image(int(kView.width()), int(kView.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    return image;
}

// Pixels whose coverage differs by more than `tolerance` levels.
int Differing(const QImage& a, const QImage& b, int tolerance)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))) > tolerance;
    return n;
}

int Covered(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 127;
    return n;
}

QPen WidePen(double width)
{
    QPen pen(Qt::white);
    pen.setWidthF(width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10.0);
    return pen;
}

} // namespace

TEST(ClipPolygonToRect, KeepsWhatLiesInsideUnderBothRules)
{
    const QRectF rect(20, 30, 100, 60);
    const struct {
        const char* name;
        QPolygonF polygon;
    } cases[] = {
        {"inside", QPolygonF({QPointF(30, 40), QPointF(100, 45), QPointF(60, 80)})},
        {"crossing", QPolygonF({QPointF(-50, 10), QPointF(300, 60), QPointF(70, 400)})},
        {"star", Star(QPointF(70, 60), 90, 7, 3)},
        {"star beyond", Star(QPointF(70, 60), 4.0e6, 5, 2)},
        {"scribble", Scribble(40, 7, 400)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPolygonF cut = ClipPolygonToRect(c.polygon, rect);
        for (const QPointF& p : cut) EXPECT_TRUE(rect.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(p)) << p.x() << "," << p.y();
        for (double y = rect.top() + 0.25; y < rect.bottom(); y += 2.5)
            for (double x = rect.left() + 0.25; x < rect.right(); x += 2.5)
                for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill})
                    ASSERT_EQ(cut.containsPoint(QPointF(x, y), rule), c.polygon.containsPoint(QPointF(x, y), rule))
                        << x << "," << y << " rule " << rule;
    }
    const QPolygonF outside({QPointF(200, 0), QPointF(300, 10), QPointF(250, 90)});
    EXPECT_TRUE(ClipPolygonToRect(outside, rect).isEmpty());
}

TEST(ClipPolygonToRect, TellsWhenTheWholeRectangleIsFilled)
{
    const QRectF rect(20, 30, 100, 60);
    const QPolygonF around({QPointF(-1e7, -1e7), QPointF(1e7, -1e6), QPointF(0, 3e7)});
    EXPECT_TRUE(FillsWholeRect(ClipPolygonToRect(around, rect), rect, Qt::OddEvenFill));
    // Twice round: filled under the winding rule, a hole under odd-even.
    QPolygonF twice = around;
    twice << around;
    EXPECT_TRUE(FillsWholeRect(ClipPolygonToRect(twice, rect), rect, Qt::WindingFill));
    EXPECT_FALSE(FillsWholeRect(ClipPolygonToRect(twice, rect), rect, Qt::OddEvenFill));
    const QPolygonF part({QPointF(0, 0), QPointF(70, 0), QPointF(70, 200), QPointF(0, 200)});
    EXPECT_FALSE(FillsWholeRect(ClipPolygonToRect(part, rect), rect, Qt::OddEvenFill));
}

TEST(ClipPolylineToRect, CutsWhereTheLineLeavesAndEnters)
{
    const QRectF rect(0, 0, 100, 100);
    const QPolygonF line({QPointF(-50, 50), QPointF(50, 50), QPointF(50, 150), QPointF(80, 150), QPointF(80, 20),
                          QPointF(90, 20)});
    const std::vector<QPolygonF> pieces = ClipPolylineToRect(line, rect);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], QPolygonF({QPointF(0, 50), QPointF(50, 50), QPointF(50, 100)}));
    EXPECT_EQ(pieces[1], QPolygonF({QPointF(80, 100), QPointF(80, 20), QPointF(90, 20)}));
    const QPolygonF inside({QPointF(10, 10), QPointF(20, 30), QPointF(90, 90)});
    ASSERT_EQ(ClipPolylineToRect(inside, rect).size(), 1u);
    EXPECT_EQ(ClipPolylineToRect(inside, rect)[0], inside);
    EXPECT_TRUE(ClipPolylineToRect(QPolygonF({QPointF(-5, -5), QPointF(-5, 500)}), rect).empty());
}

// The area of a pen wider than the view, as Qt would stroke it where Qt
// still can: the same pixels, but for smoothing where pieces overlap.
TEST(StrokeAreaInRect, CoversWhatThePenWouldCover)
{
    const QPolygonF line({QPointF(-150, 250), QPointF(60, 20), QPointF(170, 120), QPointF(120, 135),
                          QPointF(260, -80)});
    for (double width : {60.0, 180.0, 400.0, 1200.0}) {
        SCOPED_TRACE(width);
        QImage qt = Blank(), ours = Blank();
        {
            QPainter p(&qt);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(WidePen(width));
            p.drawPolyline(line);
        }
        {
            QPainter p(&ours);
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(StrokeAreaInRect(line, width, 10.0, kView.adjusted(-3, -3, 3, 3)), Qt::white);
        }
        EXPECT_EQ(Differing(qt, ours, 64), 0);
        EXPECT_LT(Differing(qt, ours, 0), int(kView.width() * kView.height()) / 100);
    }
    bool whole = false;
    const QPolygonF across({QPointF(-1000, 75), QPointF(1200, 80)});
    const QPainterPath wall = StrokeAreaInRect(across, 1.0e8, 10.0, kView, &whole);
    EXPECT_TRUE(whole);
    EXPECT_EQ(wall.boundingRect(), kView);
}

// Ordinary shapes fill and stroke as the painter itself does them.
TEST(FillPathBanded, OrdinaryShapesPaintAsThePainterDoes)
{
    QPolygonF wavy;
    for (int i = 0; i < 800; ++i) {
        const double a = i * 2.0 * M_PI / 800;
        wavy << QPointF(100.3 + 70.7 * std::cos(a), 75.1 + 60.9 * std::sin(a) + 9 * std::sin(11 * a));
    }
    for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
        QPainterPath path;
        path.setFillRule(rule);
        path.addPolygon(wavy);
        path.closeSubpath();
        QImage qt = Blank(), ours = Blank();
        {
            QPainter p(&qt);
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(path, Qt::white);
        }
        {
            QPainter p(&ours);
            p.setRenderHint(QPainter::Antialiasing);
            FillPathBanded(p, path, QBrush(Qt::white));
        }
        EXPECT_EQ(Differing(qt, ours, 2), 0) << rule;
    }
    const QPolygonF wave = Wave(600, 50);
    QImage qt = Blank(), ours = Blank();
    {
        QPainter p(&qt);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(WidePen(6.0));
        p.drawPolyline(wave);
    }
    {
        QPainter p(&ours);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(WidePen(6.0));
        StrokePolylineBanded(p, wave, VisibleArea(p));
    }
    EXPECT_EQ(Differing(qt, ours, 2), 0);
}

// Shapes Qt's smoothing rasteriser would spend minutes on: a few edges
// reaching millions of pixels past the view, and thousands of edges
// crossing it. The first paints the pixels whose centres it holds, the
// second mostly those Qt's plain rasteriser (which copes) paints: with
// thousands of edges crossing the view, pixels whose centres lie on an
// edge to within rounding are many.
TEST(FillPathBanded, ShapesOfHugeOrTangledEdgesPaintInAMoment)
{
    auto fill = [](const QPolygonF& polygon, bool smooth, bool banded) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addPolygon(polygon);
        path.closeSubpath();
        QImage image = Blank();
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        if (banded) FillPathBanded(p, path, QBrush(Qt::white));
        else p.fillPath(path, Qt::white);
        return image;
    };
    const QPolygonF far({QPointF(-3.0e8, 40), QPointF(2.0e8, 60), QPointF(1.0e8, 4.0e8)});
    const QImage farImage = fill(far, true, true);
    int inside = 0, wrong = 0;
    for (int y = 0; y < farImage.height(); ++y) {
        for (int x = 0; x < farImage.width(); ++x) {
            const bool held = far.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill);
            inside += held;
            wrong += held != (qAlpha(farImage.pixel(x, y)) > 127);
        }
    }
    EXPECT_GT(inside, 10000);
    EXPECT_LT(wrong, inside / 100);

    const QPolygonF tangled = Scribble(3000, 11, 900);
    const QImage plain = fill(tangled, false, false);
    EXPECT_GT(Covered(plain), 5000);
    EXPECT_LT(Differing(plain, fill(tangled, true, true), 127), Covered(plain) / 20);
    // A scribble stroked with a pen of some width: its outline crosses the
    // view thousands of times.
    const QPolygonF scribble = Scribble(3000, 5, 900);
    QImage ours = Blank();
    {
        QPainter p(&ours);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(WidePen(3.0));
        StrokePolylineBanded(p, scribble, VisibleArea(p));
    }
    EXPECT_GT(Covered(ours), int(kView.width() * kView.height()) / 2);
}
