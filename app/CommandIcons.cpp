#include "app/CommandIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>
#include <unordered_map>

namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kInk(30, 30, 30);
const QColor kBlue(40, 90, 190);
const QColor kRed(200, 40, 40);
const QColor kPaper(250, 250, 245);

QPen Ink(qreal width = 1.0, const QColor& colour = kInk)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(Ink());
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3),
                              QPointF(r.right(), r.top() + 3)}));
}

void Grid(QPainter& p, const QRectF& r, int rows, int columns)
{
    p.setPen(Ink());
    p.setBrush(Qt::white);
    p.drawRect(r);
    for (int i = 1; i < rows; ++i) {
        const qreal y = r.top() + r.height() * i / rows;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    for (int i = 1; i < columns; ++i) {
        const qreal x = r.left() + r.width() * i / columns;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
}

void Plus(QPainter& p, const QPointF& c)
{
    p.setPen(Ink(1.6, QColor(20, 140, 40)));
    p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
    p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
}

void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline, const QColor& colour = kInk)
{
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(13);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, 16, 15), Qt::AlignCenter, text);
}

void Node(QPainter& p, const QPointF& c)
{
    p.setPen(Ink(0.8, kBlue));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(c.x() - 1.5, c.y() - 1.5, 3, 3));
}

void Scissors(QPainter& p)
{
    p.setPen(Ink(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.2, 2.2);
    p.drawEllipse(QPointF(11.5, 12), 2.2, 2.2);
    p.drawLine(QPointF(6, 10.5), QPointF(12, 2));
    p.drawLine(QPointF(10, 10.5), QPointF(4, 2));
}

void Magnifier(QPainter& p, const QPointF& c, qreal r)
{
    p.setPen(Ink(1.4));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(c, r, r);
    p.setPen(Ink(2.2));
    const qreal d = r * 0.72;
    p.drawLine(c + QPointF(d, d), c + QPointF(d + 4, d + 4));
}

void Arrow(QPainter& p, bool left)
{
    QPainterPath path;
    if (left) {
        path.moveTo(13, 12);
        path.cubicTo(13, 5, 7, 4, 4, 7);
    } else {
        path.moveTo(3, 12);
        path.cubicTo(3, 5, 9, 4, 12, 7);
    }
    p.setPen(Ink(1.6, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    if (left) p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(7, 5), QPointF(3, 10)}));
    else p.drawPolygon(QPolygonF({QPointF(14, 4), QPointF(9, 5), QPointF(13, 10)}));
}

void CellDiagonal(QPainter& p, bool down)
{
    p.setPen(Ink());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 2, 12, 12));
    p.setPen(Ink(1.2, kRed));
    if (down) p.drawLine(QPointF(2, 2), QPointF(14, 14));
    else p.drawLine(QPointF(14, 2), QPointF(2, 14));
}

void GradientSquare(QPainter& p, bool start)
{
    QLinearGradient g(2, 0, 14, 0);
    g.setColorAt(0, start ? QColor(20, 20, 20) : Qt::white);
    g.setColorAt(1, start ? Qt::white : QColor(20, 20, 20));
    p.setPen(Ink());
    p.setBrush(g);
    p.drawRect(QRectF(2, 1.5, 12, 10));
}

const std::unordered_map<int, Drawing>& Drawings()
{
    static const std::unordered_map<int, Drawing> table = {
        // Standard bar.
        {57600, [](QPainter& p) { Page(p, QRectF(3, 1, 10, 14)); }},
        {57601, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(6, 4), QPointF(7, 5.5), QPointF(14, 5.5), QPointF(14, 13),
                                      QPointF(1, 13)}));
             p.setBrush(QColor(250, 225, 130));
             p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(15.5, 8), QPointF(14, 13), QPointF(1, 13)}));
         }},
        {57603, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(70, 100, 170));
             p.drawRect(QRectF(2, 2, 12, 12));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 2, 8, 5));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(5, 10, 6, 4));
         }},
        {57643, [](QPainter& p) { Arrow(p, true); }},
        {57644, [](QPainter& p) { Arrow(p, false); }},
        {57635, [](QPainter& p) { Scissors(p); }},
        {57634, [](QPainter& p) {
             Page(p, QRectF(1.5, 1, 8, 10));
             Page(p, QRectF(6.5, 5, 8, 10));
         }},
        {57637, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(190, 150, 90));
             p.drawRect(QRectF(2, 3, 10, 12));
             p.setBrush(QColor(170, 170, 170));
             p.drawRect(QRectF(4.5, 1.5, 5, 3));
             Page(p, QRectF(7, 7, 7.5, 8));
         }},
        {57607, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(QColor(180, 180, 180));
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 10.5, 8, 4));
         }},
        {57609, [](QPainter& p) {
             Page(p, QRectF(2, 1, 9, 13));
             Magnifier(p, QPointF(9, 9), 3);
         }},
        {57664, [](QPainter& p) {
             p.setPen(Ink(1, kBlue));
             p.setBrush(QColor(225, 235, 255));
             p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
             Letter(p, QStringLiteral("?"), true, false, false, kBlue);
         }},
        // Tools.
        {32781, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(Qt::white);
             p.drawPolygon(QPolygonF({QPointF(4, 1), QPointF(4, 13), QPointF(7, 10), QPointF(9.5, 15), QPointF(11.5, 14),
                                      QPointF(9, 9.5), QPointF(13, 9.5)}));
         }},
        {32774, [](QPainter& p) {
             Magnifier(p, QPointF(6.5, 6.5), 4.5);
             p.setPen(Ink(1.2));
             p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
             p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
         }},
        {32772, [](QPainter& p) {
             QPainterPath path;
             path.moveTo(2, 13);
             path.cubicTo(4, 2, 10, 14, 14, 3);
             p.setPen(Ink(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
             Node(p, QPointF(2, 13));
             Node(p, QPointF(8, 8));
             Node(p, QPointF(14, 3));
         }},
        {32773, [](QPainter& p) {
             QPainterPath path;
             path.moveTo(3, 8);
             path.cubicTo(3, 1, 13, 1, 13.5, 7);
             path.cubicTo(14, 14, 3, 15, 3, 8);
             p.setPen(Ink(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
             Node(p, QPointF(3, 8));
             Node(p, QPointF(13.5, 7));
         }},
        {32809, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(140, 80, 40));
             p.drawRect(QRectF(2, 2, 11, 13));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4, 3.5, 9, 10));
             p.setPen(Ink(1, kBlue));
             p.drawLine(QPointF(6, 6), QPointF(11, 6));
             p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
             p.drawLine(QPointF(6, 11), QPointF(9, 11));
         }},
        {32816, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(245, 215, 110));
             p.drawPolygon(QPolygonF({QPointF(1, 11), QPointF(11, 1), QPointF(15, 5), QPointF(5, 15)}));
             for (int i = 1; i < 5; ++i) {
                 const QPointF a(1 + 2.5 * i, 11 - 2.5 * i);
                 p.drawLine(a, a + QPointF(i % 2 ? 1.5 : 2.5, i % 2 ? 1.5 : 2.5));
             }
         }},
        {32815, [](QPainter& p) {
             p.setPen(Ink(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(1.5, 2.5, 9, 7));
             QPolygonF hexagon;
             for (int i = 0; i < 6; ++i) {
                 const double a = M_PI / 3 * i;
                 hexagon << QPointF(11 + 3.6 * std::cos(a), 11.5 + 3.6 * std::sin(a));
             }
             p.setBrush(QColor(210, 230, 250));
             p.drawPolygon(hexagon);
         }},
        {32817, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(240, 150, 170));
             p.drawPolygon(QPolygonF({QPointF(7, 2), QPointF(14, 9), QPointF(9, 14), QPointF(2, 7)}));
             p.setBrush(QColor(120, 140, 200));
             p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(5.5, 10.5), QPointF(8, 8), QPointF(4.5, 4.5)}));
         }},
        {32818, [](QPainter& p) {
             QPainterPath path;
             path.moveTo(1.5, 10);
             path.cubicTo(3, 5, 5, 14, 7, 9);
             path.cubicTo(8, 6, 9, 12, 10.5, 10);
             p.setPen(Ink(1.2));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
             p.setPen(Ink(0.8));
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygonF({QPointF(10.5, 10), QPointF(15, 2.5), QPointF(16, 3.5), QPointF(11.5, 11)}));
         }},
        {32819, [](QPainter& p) {
             p.setPen(Ink(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(1.5, 4, 13, 8));
             p.drawEllipse(QPointF(8, 8), 2.5, 2.5);
         }},
        {32823, [](QPainter& p) {
             p.setBrush(Qt::NoBrush);
             for (int i = 0; i < 3; ++i) {
                 QPainterPath path;
                 path.moveTo(1, 12 - 3.5 * i);
                 path.cubicTo(5, 6 - 3.5 * i, 9, 16 - 3.5 * i, 15, 9 - 3.5 * i);
                 p.setPen(Ink(1.1, i == 1 ? kBlue : kInk));
                 p.drawPath(path);
             }
         }},
        {32826, [](QPainter& p) {
             Scissors(p);
             p.setPen(QPen(kBlue, 1, Qt::DashLine));
             p.drawLine(QPointF(1, 7), QPointF(15, 7));
         }},
        {32810, [](QPainter& p) { Grid(p, QRectF(1.5, 2.5, 13, 11), 3, 3); }},
        {32847, [](QPainter& p) {
             p.setPen(QPen(kRed, 1, Qt::DashLine));
             p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
             p.setPen(Ink());
             p.setBrush(QColor(210, 230, 250));
             p.drawPolygon(QPolygonF({QPointF(6.5, 3), QPointF(6.5, 13), QPointF(1.5, 13)}));
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(kInk, 1, Qt::DotLine));
             p.drawPolygon(QPolygonF({QPointF(9.5, 3), QPointF(9.5, 13), QPointF(14.5, 13)}));
         }},
        {32848, [](QPainter& p) { Letter(p, QStringLiteral("A"), true, false, false); }},
        {32849, [](QPainter& p) {
             p.setPen(Ink());
             const QColor colours[] = {QColor(180, 200, 240), QColor(240, 220, 140), QColor(200, 120, 120)};
             for (int i = 0; i < 3; ++i) {
                 p.setBrush(colours[i]);
                 const qreal y = 10 - 3.5 * i;
                 p.drawPolygon(QPolygonF({QPointF(8, y - 3), QPointF(15, y), QPointF(8, y + 3), QPointF(1, y)}));
             }
         }},
        {32850, [](QPainter& p) {
             QPainterPath path;
             path.moveTo(2, 9);
             path.cubicTo(2, 2, 13, 1, 14, 7);
             path.cubicTo(15, 14, 3, 15, 2, 9);
             p.setPen(Ink(1.2));
             QLinearGradient g(2, 0, 14, 0);
             g.setColorAt(0, QColor(60, 110, 210));
             g.setColorAt(1, QColor(200, 225, 255));
             p.setBrush(g);
             p.drawPath(path);
         }},
        {32851, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(200, 225, 250));
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setBrush(QColor(90, 160, 80));
             p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(6, 7), QPointF(9, 10), QPointF(11, 8),
                                      QPointF(14.5, 13.5)}));
             p.setBrush(QColor(250, 200, 40));
             p.setPen(Qt::NoPen);
             p.drawEllipse(QPointF(11, 5), 1.6, 1.6);
         }},
        {32863, [](QPainter& p) {
             p.setPen(QPen(kRed, 1, Qt::DashLine));
             p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
             p.setBrush(Qt::NoBrush);
             QPainterPath left;
             left.moveTo(7, 2);
             left.cubicTo(0, 3, 6, 10, 2, 14);
             QPainterPath right;
             right.moveTo(9, 2);
             right.cubicTo(16, 3, 10, 10, 14, 14);
             p.setPen(Ink(1.3));
             p.drawPath(left);
             p.setPen(Ink(1.3, kBlue));
             p.drawPath(right);
         }},
        {32877, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(235, 235, 235));
             p.drawRect(QRectF(1.5, 3.5, 13, 9));
             QFont f(QStringLiteral("Sans"));
             f.setPixelSize(6);
             f.setBold(true);
             p.setFont(f);
             p.setPen(kBlue);
             p.drawText(QRectF(1.5, 3.5, 13, 9), Qt::AlignCenter, QStringLiteral("OLE"));
         }},
        {32878, [](QPainter& p) {
             p.setPen(Ink(1.2));
             p.setBrush(QColor(250, 230, 150));
             p.drawRoundedRect(QRectF(1.5, 1.5, 10, 8), 3, 3);
             p.setBrush(Qt::white);
             p.setPen(Ink());
             p.drawPolygon(QPolygonF({QPointF(8, 6), QPointF(8, 15), QPointF(10, 13), QPointF(12, 15.5),
                                      QPointF(13, 14.5), QPointF(11.5, 12.5), QPointF(14, 12)}));
         }},
        {32879, [](QPainter& p) {
             p.setPen(Ink());
             p.drawLine(QPointF(1.5, 4), QPointF(1.5, 13));
             p.drawLine(QPointF(14.5, 4), QPointF(14.5, 13));
             p.setPen(Ink(1, kBlue));
             p.drawLine(QPointF(2, 10), QPointF(14, 10));
             p.setBrush(kBlue);
             p.drawPolygon(QPolygonF({QPointF(2, 10), QPointF(5, 8.5), QPointF(5, 11.5)}));
             p.drawPolygon(QPolygonF({QPointF(14, 10), QPointF(11, 8.5), QPointF(11, 11.5)}));
             p.setPen(Ink(1, kRed));
             p.drawLine(QPointF(6, 6), QPointF(10, 6));
         }},
        {32882, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(180, 210, 240));
             p.drawPolygon(QPolygonF({QPointF(1.5, 3), QPointF(8, 3), QPointF(8, 6), QPointF(10, 6), QPointF(10, 10),
                                      QPointF(8, 10), QPointF(8, 13), QPointF(1.5, 13)}));
             p.setBrush(QColor(240, 200, 140));
             p.drawPolygon(QPolygonF({QPointF(9, 3), QPointF(14.5, 3), QPointF(14.5, 13), QPointF(9, 13),
                                      QPointF(9, 11), QPointF(11, 11), QPointF(11, 5), QPointF(9, 5)}));
         }},
        // Context bar.
        {32797, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(11, 2), QPointF(13, 4), QPointF(5, 12)}));
             p.setBrush(kInk);
             p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(5, 12), QPointF(2, 13)}));
         }},
        {32796, [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.drawLine(QPointF(1, 3), QPointF(15, 3));
             p.setPen(QPen(kInk, 1.5, Qt::DashLine));
             p.drawLine(QPointF(1, 8), QPointF(15, 8));
             p.setPen(QPen(kInk, 1.5, Qt::DashDotLine));
             p.drawLine(QPointF(1, 13), QPointF(15, 13));
         }},
        {32822, [](QPainter& p) {
             Grid(p, QRectF(1.5, 2.5, 13, 11), 2, 3);
             p.setPen(Ink(1.3, kRed));
             p.drawLine(QPointF(4, 8), QPointF(12, 8));
             p.drawLine(QPointF(4, 8), QPointF(6, 6.5));
             p.drawLine(QPointF(12, 8), QPointF(10, 6.5));
         }},
        {32824, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(Qt::white);
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setPen(QPen(kRed, 1.2, Qt::DashLine));
             p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
         }},
        {32842, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 13, 10), 2, 2);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(250, 200, 60));
             p.drawRect(QRectF(2, 2, 6, 4.5));
         }},
        {32843, [](QPainter& p) { CellDiagonal(p, true); }},
        {32844, [](QPainter& p) { CellDiagonal(p, false); }},
        {32828, [](QPainter& p) {
             Grid(p, QRectF(1.5, 7.5, 13, 7), 2, 2);
             Plus(p, QPointF(8, 3.5));
         }},
        {32830, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 13, 7), 2, 2);
             Plus(p, QPointF(8, 12.5));
         }},
        {32833, [](QPainter& p) {
             Grid(p, QRectF(7.5, 1.5, 7, 13), 2, 2);
             Plus(p, QPointF(3.5, 8));
         }},
        {32834, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 7, 13), 2, 2);
             Plus(p, QPointF(12.5, 8));
         }},
        {32835, [](QPainter& p) { Letter(p, QStringLiteral("A"), false, false, false); }},
        {32836, [](QPainter& p) { Letter(p, QStringLiteral("B"), true, false, false); }},
        {32837, [](QPainter& p) { Letter(p, QStringLiteral("I"), false, true, false); }},
        {32838, [](QPainter& p) { Letter(p, QStringLiteral("U"), false, false, true); }},
        {32853, [](QPainter& p) { GradientSquare(p, true); }},
        {32854, [](QPainter& p) { GradientSquare(p, false); }},
    };
    return table;
}

} // namespace

bool HasCommandIcon(int commandId)
{
    return Drawings().count(commandId) != 0;
}

QIcon CommandIcon(int commandId, int size)
{
    const auto it = Drawings().find(commandId);
    if (it == Drawings().end()) return QIcon();
    QIcon icon;
    // Both the plain and a doubled size, so scaled screens stay sharp.
    for (int scale = 1; scale <= 2; ++scale) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size * scale / 16.0, size * scale / 16.0);
        it->second(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
