// Draws the cursor pictures of res/cursors and the tool icons of res/icons
// from the tables in res/CursorTable.cpp. Run it by hand after a change:
//   build/res/vek_make_images res
// Every cursor and tool picture is black ink on a white halo, so it shows
// on the paper and on the dark background outside it alike; the program's
// icon is in colour.
#include "res/CursorTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int kSize = 32;
const QColor kInk(0, 0, 0);
const QColor kHalo(255, 255, 255);

// Pixel centres: a one-pixel line through pixel (x, y) runs through
// (x + 0.5, y + 0.5).
QPointF P(double x, double y)
{
    return QPointF(x + 0.5, y + 0.5);
}

class Canvas {
public:
    explicit Canvas(QImage& image) : m_painter(&image) {}

    // A path in ink over its white halo.
    void Stroke(const QPainterPath& path)
    {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.setPen(QPen(kHalo, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        m_painter.drawPath(path);
        m_painter.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        m_painter.drawPath(path);
    }
    void Line(double x1, double y1, double x2, double y2)
    {
        QPainterPath path(P(x1, y1));
        path.lineTo(P(x2, y2));
        Stroke(path);
    }
    void Polyline(const std::vector<QPointF>& points, bool closed = false)
    {
        QPainterPath path(P(points[0].x(), points[0].y()));
        for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(P(points[i].x(), points[i].y()));
        if (closed) path.closeSubpath();
        Stroke(path);
    }
    // A closed shape filled white and outlined in ink.
    void Shape(const std::vector<QPointF>& points, const QColor& fill = kHalo)
    {
        QPolygonF polygon;
        for (const QPointF& p : points) polygon << P(p.x(), p.y());
        m_painter.setPen(QPen(kHalo, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolygon(polygon);
        m_painter.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        m_painter.setBrush(fill);
        m_painter.drawPolygon(polygon);
    }
    void Ellipse(double x, double y, double w, double h)
    {
        QPainterPath path;
        path.addEllipse(QRectF(P(x, y), QSizeF(w, h)));
        Stroke(path);
    }
    void Rect(double x, double y, double w, double h)
    {
        QPainterPath path;
        path.addRect(QRectF(P(x, y), QSizeF(w, h)));
        Stroke(path);
    }
    void Dot(double x, double y)
    {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(kHalo);
        m_painter.drawRect(QRectF(x - 1, y - 1, 4, 4));
        m_painter.setBrush(kInk);
        m_painter.drawRect(QRectF(x, y, 2, 2));
    }
    QPainter& Painter() { return m_painter; }

private:
    QPainter m_painter;
};

// --- Shared parts --------------------------------------------------------------

// The cross hair of the drawing tools, centred on the hot spot (10, 10).
void CrossHair(Canvas& c)
{
    c.Line(10, 1, 10, 19);
    c.Line(1, 10, 19, 10);
}

// The pointer of the picking tools, its tip on the hot spot (1, 1).
void Pointer(Canvas& c)
{
    c.Shape({{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}});
    // The tip itself, which the outline's first corner leaves out.
    c.Painter().fillRect(QRect(1, 1, 1, 1), kInk);
}

// An arrowhead at `tip` pointing along the angle (radians).
void Head(Canvas& c, double tipX, double tipY, double angle, double length = 4.0)
{
    const double back = angle + M_PI;
    const double a1 = back - M_PI / 4;
    const double a2 = back + M_PI / 4;
    c.Shape({{tipX, tipY},
             {tipX + length * std::cos(a1), tipY + length * std::sin(a1)},
             {tipX + length * std::cos(a2), tipY + length * std::sin(a2)}},
            kInk);
}

// A double-headed arrow through (cx, cy) along the angle, reaching `r`
// either way.
void DoubleArrow(Canvas& c, double cx, double cy, double angle, double r)
{
    const double dx = r * std::cos(angle);
    const double dy = r * std::sin(angle);
    c.Line(cx - dx, cy - dy, cx + dx, cy + dy);
    Head(c, cx + dx, cy + dy, angle, 5);
    Head(c, cx - dx, cy - dy, angle + M_PI, 5);
}

void FourWay(Canvas& c, double cx, double cy, double r)
{
    DoubleArrow(c, cx, cy, 0.0, r);
    DoubleArrow(c, cx, cy, M_PI / 2, r);
}

// The letter A in the box from (x, y), 10 wide and 11 high.
void LetterA(Canvas& c, double x, double y)
{
    c.Polyline({{x, y + 11}, {x + 5, y}, {x + 10, y + 11}});
    c.Line(x + 2.5, y + 7, x + 7.5, y + 7);
}

void Grid(Canvas& c, double x, double y)
{
    c.Rect(x, y, 12, 10);
    c.Line(x + 4, y, x + 4, y + 10);
    c.Line(x + 8, y, x + 8, y + 10);
    c.Line(x, y + 5, x + 12, y + 5);
}

void Magnifier(Canvas& c, bool zoomIn)
{
    c.Ellipse(4, 4, 16, 16);
    c.Line(18, 18, 27, 27);
    c.Line(19, 18, 28, 27);
    c.Line(8, 12, 16, 12);
    if (zoomIn) c.Line(12, 8, 12, 16);
}

void Ruler(Canvas& c)
{
    c.Rect(17, 24, 14, 6);
    for (int x : {19, 22, 25, 28}) c.Line(x, 24, x, x == 25 ? 28 : 26);
}

// Two bars with a double arrow across them, along x (horizontal) or y.
void EdgeArrow(Canvas& c, bool horizontal)
{
    auto at = [horizontal](double along, double across) {
        return horizontal ? QPointF(along, across) : QPointF(across, along);
    };
    for (double bar : {13.0, 17.0}) {
        const QPointF a = at(bar, 8);
        const QPointF b = at(bar, 22);
        c.Line(a.x(), a.y(), b.x(), b.y());
    }
    const double angle = horizontal ? 0.0 : M_PI / 2;
    DoubleArrow(c, 15, 15, angle, 12);
}

// --- The pictures --------------------------------------------------------------

using Draw = std::function<void(Canvas&)>;

std::map<int, Draw> CursorDrawings()
{
    const double pi = M_PI;
    return {
        {144, [](Canvas& c) { EdgeArrow(c, true); }},
        {192, [](Canvas& c) { EdgeArrow(c, false); }},
        {148, [](Canvas& c) {
             CrossHair(c);
             QPainterPath s(P(18, 29));
             s.cubicTo(P(20, 15), P(27, 33), P(30, 19));
             c.Stroke(s);
         }},
        {154, [](Canvas& c) {
             CrossHair(c);
             c.Polyline({{18, 29}, {22, 20}, {26, 29}, {30, 20}});
         }},
        {149, [](Canvas& c) {
             CrossHair(c);
             c.Ellipse(17, 20, 13, 10);
         }},
        {163, [](Canvas& c) {
             CrossHair(c);
             c.Polyline({{18, 30}, {24, 19}, {30, 30}}, true);
         }},
        {150, [](Canvas& c) { Magnifier(c, true); }},
        {151, [](Canvas& c) { Magnifier(c, false); }},
        {152, [](Canvas& c) { Pointer(c); }},
        {164, [](Canvas& c) {
             Pointer(c);
             QPainterPath box;
             box.addRect(QRectF(P(17, 21), QSizeF(13, 9)));
             c.Painter().setPen(QPen(kInk, 1, Qt::DotLine));
             c.Painter().setBrush(kHalo);
             c.Painter().drawPath(box);
         }},
        {167, [](Canvas& c) {
             c.Shape({{12, 12}, {18, 12}, {18, 18}, {12, 18}});
             DoubleArrow(c, 15, 15, 0.0, 13);
         }},
        {168, [](Canvas& c) { FourWay(c, 15, 15, 13); }},
        {169, [pi](Canvas& c) {
             QPainterPath arc;
             arc.arcMoveTo(QRectF(P(6, 6), QSizeF(18, 18)), 90);
             arc.arcTo(QRectF(P(6, 6), QSizeF(18, 18)), 90, 270);
             c.Stroke(arc);
             Head(c, 15.5, 6.5, pi, 5);
             c.Dot(15, 15);
         }},
        {172, [](Canvas& c) {
             CrossHair(c);
             Ruler(c);
             c.Polyline({{29, 14}, {22, 21}, {31, 21}});
         }},
        {173, [](Canvas& c) {
             CrossHair(c);
             Ruler(c);
         }},
        {174, [](Canvas& c) {
             CrossHair(c);
             c.Rect(18, 20, 12, 10);
         }},
        {187, [pi](Canvas& c) {
             CrossHair(c);
             std::vector<QPointF> hexagon;
             for (int i = 0; i < 6; ++i)
                 hexagon.emplace_back(24 + 6.5 * std::cos(pi / 3 * i), 25 + 6.5 * std::sin(pi / 3 * i));
             c.Polyline(hexagon, true);
         }},
        {175, [](Canvas& c) {
             CrossHair(c);
             c.Shape({{17, 26}, {24, 19}, {31, 26}, {26, 31}, {22, 31}});
             c.Line(20, 23, 27, 30);
         }},
        {176, [](Canvas& c) {
             CrossHair(c);
             c.Shape({{17, 31}, {18, 27}, {28, 17}, {31, 20}, {21, 30}});
             c.Line(18, 27, 21, 30);
         }},
        {177, [](Canvas& c) {
             CrossHair(c);
             c.Ellipse(16, 21, 15, 9);
         }},
        {178, [](Canvas& c) {
             CrossHair(c);
             c.Ellipse(18, 19, 12, 12);
         }},
        {190, [](Canvas& c) {
             CrossHair(c);
             QPainterPath a(P(17, 25));
             a.quadTo(P(21, 17), P(29, 17));
             QPainterPath b(P(20, 30));
             b.quadTo(P(24, 22), P(31, 22));
             c.Stroke(a);
             c.Stroke(b);
         }},
        {244, [](Canvas& c) {
             CrossHair(c);
             c.Line(17, 28, 24, 21);
             c.Line(21, 31, 28, 24);
             c.Line(28, 15, 28, 21);
             c.Line(25, 18, 31, 18);
         }},
        {191, [](Canvas& c) {
             CrossHair(c);
             c.Line(21, 25, 28, 16);
             c.Line(28, 25, 21, 16);
             c.Ellipse(18, 26, 4, 4);
             c.Ellipse(27, 26, 4, 4);
         }},
        {214, [](Canvas& c) {
             CrossHair(c);
             c.Line(17, 29, 23, 22);
             c.Line(25, 22, 31, 29);
             c.Dot(23, 21);
         }},
        {194, [](Canvas& c) {
             c.Shape({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
             FourWay(c, 15, 15, 13);
         }},
        {195, [](Canvas& c) {
             CrossHair(c);
             Grid(c, 18, 20);
         }},
        {196, [pi](Canvas& c) {
             DoubleArrow(c, 15, 15, pi / 4, 13);
             c.Polyline({{23, 28}, {28, 28}, {28, 23}});
         }},
        {197, [](Canvas& c) {
             Pointer(c);
             Grid(c, 18, 20);
         }},
        {198, [](Canvas& c) {
             FourWay(c, 11, 11, 10);
             LetterA(c, 20, 19);
         }},
        {199, [](Canvas& c) {
             CrossHair(c);
             LetterA(c, 19, 19);
         }},
        {213, [](Canvas& c) {
             CrossHair(c);
             c.Painter().setPen(QPen(kInk, 1, Qt::DashLine));
             c.Painter().drawLine(P(24, 16), P(24, 31));
             c.Shape({{22, 20}, {22, 30}, {17, 30}});
             c.Shape({{26, 20}, {26, 30}, {31, 30}});
         }},
        {216, [](Canvas& c) {
             Pointer(c);
             LetterA(c, 19, 19);
         }},
        {218, [](Canvas& c) {
             Pointer(c);
             c.Shape({{16, 18}, {25, 18}, {25, 26}, {16, 26}});
             c.Shape({{21, 22}, {30, 22}, {30, 30}, {21, 30}}, QColor(160, 160, 160));
         }},
        {220, [](Canvas& c) {
             CrossHair(c);
             c.Rect(17, 19, 14, 12);
             c.Polyline({{18, 29}, {22, 24}, {25, 27}, {29, 22}, {30, 23}});
             c.Dot(20, 21);
         }},
        {221, [](Canvas& c) {
             CrossHair(c);
             c.Shape({{18, 21}, {28, 21}, {27, 31}, {19, 31}});
             QPainterPath handle(P(19, 21));
             handle.cubicTo(P(19, 14), P(27, 14), P(27, 21));
             c.Stroke(handle);
             c.Line(30, 23, 30, 28);
         }},
        {222, [pi](Canvas& c) { DoubleArrow(c, 15, 15, -pi / 4, 13); }},
        {223, [pi](Canvas& c) { DoubleArrow(c, 15, 15, pi / 2, 13); }},
        {224, [pi](Canvas& c) { DoubleArrow(c, 15, 15, pi / 4, 13); }},
        {225, [](Canvas& c) { DoubleArrow(c, 15, 15, 0.0, 13); }},
        {350, [](Canvas& c) {
             CrossHair(c);
             c.Line(17, 21, 17, 30);
             c.Line(31, 21, 31, 30);
             c.Line(18, 25, 30, 25);
             Head(c, 18, 25, M_PI, 4);
             Head(c, 30, 25, 0.0, 4);
         }},
        {352, [](Canvas& c) {
             CrossHair(c);
             c.Shape({{16, 19}, {23, 19}, {23, 23}, {25, 23}, {25, 27}, {23, 27}, {23, 31}, {16, 31}});
             c.Shape({{24, 19}, {31, 19}, {31, 31}, {24, 31}, {24, 28}, {26, 28}, {26, 22}, {24, 22}},
                     QColor(160, 160, 160));
         }},
        {356, [](Canvas& c) {
             CrossHair(c);
             c.Ellipse(16, 19, 10, 10);
             c.Dot(20, 23);
             c.Line(21, 29, 31, 29);
             for (int x : {24, 27, 30}) c.Line(x, 27, x, 29);
         }},
    };
}

// The program's icon, in colour and smoothed: a blue shirt on a sheet of
// paper with a turned corner, a red measure under its hem.
void ProgramIcon(Canvas& c)
{
    QPainter& p = c.Painter();
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF sheet({{9.5, 3.5}, {45.5, 3.5}, {55.5, 13.5}, {55.5, 60.5}, {9.5, 60.5}});
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(sheet);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({{45.5, 3.5}, {45.5, 13.5}, {55.5, 13.5}}));

    QPainterPath shirt(QPointF(26, 12));
    for (const QPointF& at : {QPointF(20, 13), QPointF(11, 20), QPointF(15, 28), QPointF(20, 25), QPointF(20, 49),
                              QPointF(45, 49), QPointF(45, 25), QPointF(50, 28), QPointF(54, 20), QPointF(45, 13),
                              QPointF(39, 12)})
        shirt.lineTo(at);
    shirt.quadTo(QPointF(32.5, 20), QPointF(26, 12));
    p.setPen(QPen(QColor(20, 60, 120), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(50, 120, 200));
    p.drawPath(shirt);
    // The stitching along the hem.
    p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DashLine));
    p.drawLine(QPointF(21.5, 45.5), QPointF(44, 45.5));

    // The measure: a line between two end ticks, arrowheads inside them.
    const QColor red(210, 40, 40);
    p.setPen(QPen(red, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(20, 55), QPointF(45, 55));
    p.drawLine(QPointF(20, 52), QPointF(20, 58));
    p.drawLine(QPointF(45, 52), QPointF(45, 58));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPolygon(QPolygonF({{20.5, 55}, {25, 53}, {25, 57}}));
    p.drawPolygon(QPolygonF({{44.5, 55}, {40, 53}, {40, 57}}));
}

std::map<int, Draw> IconDrawings()
{
    return {
        {128, ProgramIcon},
        {200, [](Canvas& c) {
             // Pixel by pixel: at this size a drawn arrow comes out lopsided.
             const char* const rows[] = {
                 "#############", "#.....#.....#", "#....###....#", "#...#####...#", "#..#..#..#..#",
                 "#.##..#..##.#", "#############", "#.##..#..##.#", "#..#..#..#..#", "#...#####...#",
                 "#....###....#", "#.....#.....#", "#############",
             };
             for (int y = 0; y < 13; ++y)
                 for (int x = 0; x < 13; ++x) c.Painter().fillRect(QRect(x, y, 1, 1), rows[y][x] == '#' ? kInk : kHalo);
         }},
    };
}

bool Write(const QImage& image, const QString& path)
{
    if (image.save(path, "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <res folder>\n", argv[0]);
        return 2;
    }
    const QDir res(QString::fromLocal8Bit(argv[1]));
    res.mkpath(QStringLiteral("cursors"));
    res.mkpath(QStringLiteral("icons"));
    bool ok = true;

    const std::map<int, Draw> cursors = CursorDrawings();
    for (const CursorSpec& spec : CursorSpecs()) {
        const auto it = cursors.find(spec.id);
        if (it == cursors.end()) {
            std::fprintf(stderr, "cursor %d has no drawing\n", spec.id);
            ok = false;
            continue;
        }
        QImage image(kSize, kSize, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            Canvas canvas(image);
            it->second(canvas);
        }
        ok = Write(image, res.filePath(QStringLiteral("cursors/%1.png").arg(spec.id))) && ok;
    }

    const std::map<int, Draw> icons = IconDrawings();
    for (const IconSpec& spec : ToolIconSpecs()) {
        const auto it = icons.find(spec.id);
        if (it == icons.end()) {
            std::fprintf(stderr, "icon %d has no drawing\n", spec.id);
            ok = false;
            continue;
        }
        QImage image(spec.width, spec.height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            Canvas canvas(image);
            it->second(canvas);
        }
        ok = Write(image, res.filePath(QStringLiteral("icons/%1.png").arg(spec.id))) && ok;
    }
    return ok ? 0 : 1;
}
