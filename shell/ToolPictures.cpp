#include "shell/ToolPictures.h"

#include "app/IconStrokes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ToolPictures {

using namespace IconStrokes;

void Select(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(4, 1), QPointF(4, 13), QPointF(7, 10), QPointF(9.5, 15), QPointF(11.5, 14),
                             QPointF(9, 9.5), QPointF(13, 9.5)}));
}

void Zoom(QPainter& p)
{
    Magnifier(p, QPointF(6.5, 6.5), 4.5);
    p.setPen(Ink(1.2));
    p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
    p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
}

void Curve(QPainter& p)
{
    QPainterPath path;
    path.moveTo(2, 13);
    path.cubicTo(4, 2, 10, 14, 14, 3);
    p.setPen(Ink(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    Node(p, QPointF(2, 13));
    Node(p, QPointF(8, 8));
    Node(p, QPointF(14, 3));
}

void ClosedCurve(QPainter& p)
{
    QPainterPath path;
    path.moveTo(3, 8);
    path.cubicTo(3, 1, 13, 1, 13.5, 7);
    path.cubicTo(14, 14, 3, 15, 3, 8);
    p.setPen(Ink(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    Node(p, QPointF(3, 8));
    Node(p, QPointF(13.5, 7));
}

void ProcessDrawing(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(140, 80, 40));
    p.drawRect(QRectF(2, 2, 11, 13));
    p.setBrush(PaperColour());
    p.drawRect(QRectF(4, 3.5, 9, 10));
    p.setPen(Ink(1, BlueColour()));
    p.drawLine(QPointF(6, 6), QPointF(11, 6));
    p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
    p.drawLine(QPointF(6, 11), QPointF(9, 11));
}

void Ruler(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(245, 215, 110));
    p.drawPolygon(QPolygonF({QPointF(1, 11), QPointF(11, 1), QPointF(15, 5), QPointF(5, 15)}));
    for (int i = 1; i < 5; ++i) {
        const QPointF a(1 + 2.5 * i, 11 - 2.5 * i);
        p.drawLine(a, a + QPointF(i % 2 ? 1.5 : 2.5, i % 2 ? 1.5 : 2.5));
    }
}

void Rectangle(QPainter& p)
{
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
}

void Eraser(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(240, 150, 170));
    p.drawPolygon(QPolygonF({QPointF(7, 2), QPointF(14, 9), QPointF(9, 14), QPointF(2, 7)}));
    p.setBrush(QColor(120, 140, 200));
    p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(5.5, 10.5), QPointF(8, 8), QPointF(4.5, 4.5)}));
}

void Freehand(QPainter& p)
{
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
}

void Ellipse(QPainter& p)
{
    p.setPen(Ink(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.5, 4, 13, 8));
    p.drawEllipse(QPointF(8, 8), 2.5, 2.5);
}

void OffsetLine(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        QPainterPath path;
        path.moveTo(1, 12 - 3.5 * i);
        path.cubicTo(5, 6 - 3.5 * i, 9, 16 - 3.5 * i, 15, 9 - 3.5 * i);
        p.setPen(Ink(1.1, i == 1 ? BlueColour() : InkColour()));
        p.drawPath(path);
    }
}

void CutJoinLines(QPainter& p)
{
    Scissors(p);
    p.setPen(QPen(BlueColour(), 1, Qt::DashLine));
    p.drawLine(QPointF(1, 7), QPointF(15, 7));
}

void Table(QPainter& p)
{
    Grid(p, QRectF(1.5, 2.5, 13, 11), 3, 3);
}

void Symmetry(QPainter& p)
{
    p.setPen(QPen(RedColour(), 1, Qt::DashLine));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
    p.setPen(Ink());
    p.setBrush(QColor(210, 230, 250));
    p.drawPolygon(QPolygonF({QPointF(6.5, 3), QPointF(6.5, 13), QPointF(1.5, 13)}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(InkColour(), 1, Qt::DotLine));
    p.drawPolygon(QPolygonF({QPointF(9.5, 3), QPointF(9.5, 13), QPointF(14.5, 13)}));
}

void Text(QPainter& p)
{
    Letter(p, QStringLiteral("A"), true, false, false);
}

void Layer(QPainter& p)
{
    p.setPen(Ink());
    const QColor colours[] = {QColor(180, 200, 240), QColor(240, 220, 140), QColor(200, 120, 120)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        const qreal y = 10 - 3.5 * i;
        p.drawPolygon(QPolygonF({QPointF(8, y - 3), QPointF(15, y), QPointF(8, y + 3), QPointF(1, y)}));
    }
}

void Fill(QPainter& p)
{
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
}

void InsertPicture(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(200, 225, 250));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(90, 160, 80));
    p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(6, 7), QPointF(9, 10), QPointF(11, 8),
                             QPointF(14.5, 13.5)}));
    p.setBrush(QColor(250, 200, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(11, 5), 1.6, 1.6);
}

void SymmetricDraw(QPainter& p)
{
    p.setPen(QPen(RedColour(), 1, Qt::DashLine));
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
    p.setPen(Ink(1.3, BlueColour()));
    p.drawPath(right);
}

void OleItem(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(BlueColour());
    p.drawText(QRectF(1.5, 3.5, 13, 9), Qt::AlignCenter, QStringLiteral("OLE"));
}

void PickClosed(QPainter& p)
{
    p.setPen(Ink(1.2));
    p.setBrush(QColor(250, 230, 150));
    p.drawRoundedRect(QRectF(1.5, 1.5, 10, 8), 3, 3);
    p.setBrush(Qt::white);
    p.setPen(Ink());
    p.drawPolygon(QPolygonF({QPointF(8, 6), QPointF(8, 15), QPointF(10, 13), QPointF(12, 15.5),
                             QPointF(13, 14.5), QPointF(11.5, 12.5), QPointF(14, 12)}));
}

void Dimension(QPainter& p)
{
    p.setPen(Ink());
    p.drawLine(QPointF(1.5, 4), QPointF(1.5, 13));
    p.drawLine(QPointF(14.5, 4), QPointF(14.5, 13));
    p.setPen(Ink(1, BlueColour()));
    p.drawLine(QPointF(2, 10), QPointF(14, 10));
    p.setBrush(BlueColour());
    p.drawPolygon(QPolygonF({QPointF(2, 10), QPointF(5, 8.5), QPointF(5, 11.5)}));
    p.drawPolygon(QPolygonF({QPointF(14, 10), QPointF(11, 8.5), QPointF(11, 11.5)}));
    p.setPen(Ink(1, RedColour()));
    p.drawLine(QPointF(6, 6), QPointF(10, 6));
}

void SpliceParts(QPainter& p)
{
    p.setPen(Ink());
    p.setBrush(QColor(180, 210, 240));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3), QPointF(8, 3), QPointF(8, 6), QPointF(10, 6), QPointF(10, 10),
                             QPointF(8, 10), QPointF(8, 13), QPointF(1.5, 13)}));
    p.setBrush(QColor(240, 200, 140));
    p.drawPolygon(QPolygonF({QPointF(9, 3), QPointF(14.5, 3), QPointF(14.5, 13), QPointF(9, 13),
                             QPointF(9, 11), QPointF(11, 11), QPointF(11, 5), QPointF(9, 5)}));
}

} // namespace ToolPictures
