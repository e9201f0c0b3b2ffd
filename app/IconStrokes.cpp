#include "app/IconStrokes.h"

#include <QPainter>
#include <QPixmap>

namespace IconStrokes {

QColor InkColour() { return QColor(30, 30, 30); }
QColor BlueColour() { return QColor(40, 90, 190); }
QColor RedColour() { return QColor(200, 40, 40); }
QColor PaperColour() { return QColor(250, 250, 245); }

QPen Ink(qreal width)
{
    return Ink(width, InkColour());
}

QPen Ink(qreal width, const QColor& colour)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Node(QPainter& p, const QPointF& centre)
{
    p.setPen(Ink(0.8, BlueColour()));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(centre.x() - 1.5, centre.y() - 1.5, 3, 3));
}

void Magnifier(QPainter& p, const QPointF& centre, qreal radius)
{
    p.setPen(Ink(1.4));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(centre, radius, radius);
    p.setPen(Ink(2.2));
    const qreal d = radius * 0.72;
    p.drawLine(centre + QPointF(d, d), centre + QPointF(d + 4, d + 4));
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

void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline)
{
    Letter(p, text, bold, italic, underline, InkColour());
}

void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline, const QColor& colour)
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

} // namespace IconStrokes

QIcon PictureIcon(IconStrokes::Picture picture, int size)
{
    if (!picture) return QIcon();
    QIcon icon;
    // Both the plain and a doubled size, so scaled screens stay sharp.
    for (int scale = 1; scale <= 2; ++scale) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size * scale / 16.0, size * scale / 16.0);
        picture(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
