#include "CDC.h"

#include "CodePage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <vector>

QColor ToQColor(COLORREF c, int alpha)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c), alpha);
}

COLORREF FromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

CDC::CDC(QPainter* painter, bool printing) : m_painter(painter), m_printing(printing)
{
    m_font.lfHeight = -12;
    m_font.lfWeight = FW_NORMAL;
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    ApplyPen();
    ApplyBrush();
    ApplyFont();
}

CDC::~CDC()
{
    m_painter->restore();
}

CPen CDC::SelectPen(const CPen& pen)
{
    CPen old = m_pen;
    m_pen = pen;
    ApplyPen();
    return old;
}

CBrush CDC::SelectBrush(const CBrush& brush)
{
    CBrush old = m_brush;
    m_brush = brush;
    ApplyBrush();
    return old;
}

LogFont CDC::SelectFont(const LogFont& font)
{
    LogFont old = m_font;
    m_font = font;
    ApplyFont();
    return old;
}

COLORREF CDC::SetTextColor(COLORREF c)
{
    std::swap(c, m_textColor);
    return c;
}

COLORREF CDC::SetBkColor(COLORREF c)
{
    std::swap(c, m_bkColor);
    return c;
}

int CDC::SetBkMode(int mode)
{
    std::swap(mode, m_bkMode);
    return mode;
}

int CDC::SetTextCharacterExtra(int extra)
{
    std::swap(extra, m_charExtra);
    return extra;
}

int CDC::SetPolyFillMode(int mode)
{
    std::swap(mode, m_fillMode);
    return mode;
}

void CDC::ApplyPen()
{
    if (m_pen.style == PS_NULL) {
        m_painter->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(m_pen.color));
    pen.setWidth(m_pen.width <= 1 ? 1 : m_pen.width);
    pen.setCapStyle(m_pen.width <= 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    switch (m_pen.style) {
    case PS_DASH: pen.setStyle(Qt::DashLine); break;
    case PS_DOT: pen.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    m_painter->setPen(pen);
}

void CDC::ApplyBrush()
{
    switch (m_brush.style) {
    case BS_NULL: m_painter->setBrush(Qt::NoBrush); break;
    case BS_HATCHED: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const int h = (m_brush.hatch >= 0 && m_brush.hatch < 6) ? m_brush.hatch : 0;
        m_painter->setBrush(QBrush(ToQColor(m_brush.color), hatches[h]));
        break;
    }
    default: m_painter->setBrush(QBrush(ToQColor(m_brush.color))); break;
    }
}

void CDC::ApplyFont()
{
    m_qfont = MakeQFont(m_font);
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old = m_current;
    m_current = CPoint(x, y);
    return old;
}

void CDC::LineTo(int x, int y)
{
    // The end point itself is not drawn, as with the system's line drawing.
    if (m_pen.style != PS_NULL && m_current != CPoint(x, y))
        m_painter->drawLine(QPointF(m_current.x + 0.5, m_current.y + 0.5), QPointF(x + 0.5, y + 0.5));
    m_current = CPoint(x, y);
}

static QPolygonF ToPolygon(const CPoint* points, int count)
{
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].x + 0.5, points[i].y + 0.5);
    return poly;
}

void CDC::Polyline(const CPoint* points, int count)
{
    if (count < 2) return;
    m_painter->drawPolyline(ToPolygon(points, count));
}

void CDC::Polygon(const CPoint* points, int count)
{
    if (count < 2) return;
    m_painter->drawPolygon(ToPolygon(points, count), m_fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
}

void CDC::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    if (m_brush.style != BS_NULL) {
        m_painter->save();
        m_painter->setPen(Qt::NoPen);
        m_painter->drawRect(QRectF(left, top, right - left, bottom - top));
        m_painter->restore();
    }
    if (m_pen.style != PS_NULL) {
        m_painter->save();
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
        m_painter->restore();
    }
}

void CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    m_painter->drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color)
{
    m_painter->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
    m_bkColor = color;
}

void CDC::SetPixel(int x, int y, COLORREF color)
{
    m_painter->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void CDC::TextOut(int x, int y, const std::string& gbkText)
{
    if (gbkText.empty()) return;
    const QString text = GbkToQString(gbkText);
    const QFontMetrics fm(m_qfont);
    m_painter->save();
    m_painter->setFont(m_qfont);
    m_painter->translate(x, y);
    if (m_font.lfEscapement != 0) m_painter->rotate(-m_font.lfEscapement / 10.0);
    m_painter->setPen(ToQColor(m_textColor));
    const CSize extent = GetTextExtent(gbkText);
    if (m_bkMode == OPAQUE) m_painter->fillRect(QRect(0, 0, extent.cx, extent.cy), ToQColor(m_bkColor));
    if (m_charExtra == 0) {
        m_painter->drawText(QPointF(0, fm.ascent()), text);
    } else {
        // Characters one by one so the extra spacing lands after each.
        qreal pen = 0;
        for (const QString& ch : [&] {
                 QStringList chars;
                 for (qsizetype i = 0; i < text.size(); ++i) {
                     const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
                     chars << text.mid(i, pair ? 2 : 1);
                     if (pair) ++i;
                 }
                 return chars;
             }()) {
            m_painter->drawText(QPointF(pen, fm.ascent()), ch);
            pen += fm.horizontalAdvance(ch) + m_charExtra;
        }
    }
    m_painter->restore();
}

CSize CDC::GetTextExtent(const std::string& gbkText) const
{
    const QFontMetrics fm(m_qfont);
    const QString text = GbkToQString(gbkText);
    return CSize(fm.horizontalAdvance(text), fm.height());
}

int CDC::GetTextAscent() const
{
    return QFontMetrics(m_qfont).ascent();
}

int CDC::GetTextHeight() const
{
    return QFontMetrics(m_qfont).height();
}
