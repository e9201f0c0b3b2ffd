#include "app/CommandIcons.h"

#include "app/IconStrokes.h"

#include "res/CommandIds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <unordered_map>

namespace {

using namespace IconStrokes;

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(Ink());
    p.setBrush(PaperColour());
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

void Plus(QPainter& p, const QPointF& c)
{
    p.setPen(Ink(1.6, QColor(20, 140, 40)));
    p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
    p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
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
    p.setPen(Ink(1.6, BlueColour()));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setBrush(BlueColour());
    p.setPen(Qt::NoPen);
    if (left) p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(7, 5), QPointF(3, 10)}));
    else p.drawPolygon(QPolygonF({QPointF(14, 4), QPointF(9, 5), QPointF(13, 10)}));
}

void CellDiagonal(QPainter& p, bool down)
{
    p.setPen(Ink());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 2, 12, 12));
    p.setPen(Ink(1.2, RedColour()));
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

const std::unordered_map<int, Picture>& Drawings()
{
    static const std::unordered_map<int, Picture> table = {
        // Standard bar.
        {ID_FILE_NEW, [](QPainter& p) { Page(p, QRectF(3, 1, 10, 14)); }},
        {ID_FILE_OPEN, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(6, 4), QPointF(7, 5.5), QPointF(14, 5.5), QPointF(14, 13),
                                      QPointF(1, 13)}));
             p.setBrush(QColor(250, 225, 130));
             p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(15.5, 8), QPointF(14, 13), QPointF(1, 13)}));
         }},
        {ID_FILE_SAVE, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(70, 100, 170));
             p.drawRect(QRectF(2, 2, 12, 12));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 2, 8, 5));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(5, 10, 6, 4));
         }},
        {ID_EDIT_UNDO, [](QPainter& p) { Arrow(p, true); }},
        {ID_EDIT_REDO, [](QPainter& p) { Arrow(p, false); }},
        {ID_EDIT_CUT, [](QPainter& p) { Scissors(p); }},
        {ID_EDIT_COPY, [](QPainter& p) {
             Page(p, QRectF(1.5, 1, 8, 10));
             Page(p, QRectF(6.5, 5, 8, 10));
         }},
        {ID_EDIT_PASTE, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(190, 150, 90));
             p.drawRect(QRectF(2, 3, 10, 12));
             p.setBrush(QColor(170, 170, 170));
             p.drawRect(QRectF(4.5, 1.5, 5, 3));
             Page(p, QRectF(7, 7, 7.5, 8));
         }},
        {ID_FILE_PRINT, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(QColor(180, 180, 180));
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(4, 10.5, 8, 4));
         }},
        {ID_FILE_PRINT_PREVIEW, [](QPainter& p) {
             Page(p, QRectF(2, 1, 9, 13));
             Magnifier(p, QPointF(9, 9), 3);
         }},
        {ID_APP_ABOUT, [](QPainter& p) {
             p.setPen(Ink(1, BlueColour()));
             p.setBrush(QColor(225, 235, 255));
             p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
             Letter(p, QStringLiteral("?"), true, false, false, BlueColour());
         }},
        // Context bar.
        {ID_LINE_COLOR, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(11, 2), QPointF(13, 4), QPointF(5, 12)}));
             p.setBrush(InkColour());
             p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(5, 12), QPointF(2, 13)}));
         }},
        {ID_LINE_TYPE, [](QPainter& p) {
             p.setPen(QPen(InkColour(), 1.5));
             p.drawLine(QPointF(1, 3), QPointF(15, 3));
             p.setPen(QPen(InkColour(), 1.5, Qt::DashLine));
             p.drawLine(QPointF(1, 8), QPointF(15, 8));
             p.setPen(QPen(InkColour(), 1.5, Qt::DashDotLine));
             p.drawLine(QPointF(1, 13), QPointF(15, 13));
         }},
        {ID_MERGE_CELLS, [](QPainter& p) {
             Grid(p, QRectF(1.5, 2.5, 13, 11), 2, 3);
             p.setPen(Ink(1.3, RedColour()));
             p.drawLine(QPointF(4, 8), QPointF(12, 8));
             p.drawLine(QPointF(4, 8), QPointF(6, 6.5));
             p.drawLine(QPointF(12, 8), QPointF(10, 6.5));
         }},
        {ID_SPLIT_CELLS, [](QPainter& p) {
             p.setPen(Ink());
             p.setBrush(Qt::white);
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setPen(QPen(RedColour(), 1.2, Qt::DashLine));
             p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
         }},
        {ID_CELL_COLOR, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 13, 10), 2, 2);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(250, 200, 60));
             p.drawRect(QRectF(2, 2, 6, 4.5));
         }},
        {ID_DIAGONAL_A, [](QPainter& p) { CellDiagonal(p, true); }},
        {ID_DIAGONAL_B, [](QPainter& p) { CellDiagonal(p, false); }},
        {ID_ROW_BEFORE, [](QPainter& p) {
             Grid(p, QRectF(1.5, 7.5, 13, 7), 2, 2);
             Plus(p, QPointF(8, 3.5));
         }},
        {ID_ROW_AFTER, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 13, 7), 2, 2);
             Plus(p, QPointF(8, 12.5));
         }},
        {ID_COLUMN_LEFT, [](QPainter& p) {
             Grid(p, QRectF(7.5, 1.5, 7, 13), 2, 2);
             Plus(p, QPointF(3.5, 8));
         }},
        {ID_COLUMN_RIGHT, [](QPainter& p) {
             Grid(p, QRectF(1.5, 1.5, 7, 13), 2, 2);
             Plus(p, QPointF(12.5, 8));
         }},
        {ID_FONT_COLOR, [](QPainter& p) { Letter(p, QStringLiteral("A"), false, false, false); }},
        {ID_FONT_BOLD, [](QPainter& p) { Letter(p, QStringLiteral("B"), true, false, false); }},
        {ID_FONT_ITALIC, [](QPainter& p) { Letter(p, QStringLiteral("I"), false, true, false); }},
        {ID_FONT_UNDERLINE, [](QPainter& p) { Letter(p, QStringLiteral("U"), false, false, true); }},
        {ID_GRADIENT_START, [](QPainter& p) { GradientSquare(p, true); }},
        {ID_GRADIENT_END, [](QPainter& p) { GradientSquare(p, false); }},
    };
    return table;
}

} // namespace

QIcon CommandIcon(int commandId, int size)
{
    const auto it = Drawings().find(commandId);
    return it == Drawings().end() ? QIcon() : PictureIcon(it->second, size);
}
