#include "CDC.h"

#include "CodePage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVector>
#include <QPainterPath>
#include <QPolygon>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
    m_metrics = QFontMetrics(m_qfont);
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old = m_current;
    m_current = CPoint(x, y);
    return old;
}

void CDC::LineTo(int x, int y)
{
    const CPoint end(x, y);
    if (m_pen.style != PS_NULL && m_current != end) {
        if (SteppedHairline()) {
            DrawHairlineSegment(m_current, end);
        } else if (IsSolidHairline()) {
            const CPoint segment[] = {m_current, end};
            DrawScaledHairline(segment, 2, false);
        } else {
            m_painter->drawLine(QPointF(m_current.x + 0.5, m_current.y + 0.5), QPointF(x + 0.5, y + 0.5));
        }
    }
    m_current = end;
}

static QPolygonF ToPolygon(const CPoint* points, int count, qreal offset)
{
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].x + offset, points[i].y + offset);
    return poly;
}

bool CDC::IsSolidHairline() const
{
    return (m_pen.style == PS_SOLID || m_pen.style == PS_INSIDEFRAME) && m_pen.width <= 1;
}

bool CDC::IsPixelAligned() const
{
    const QTransform& t = m_painter->worldTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

bool CDC::SteppedHairline() const
{
    return IsSolidHairline() && IsPixelAligned();
}

// Where a logical pixel is not one device pixel (a printer, a scaled
// painter), a one-pixel line is a stroke one logical pixel wide through the
// pixel centres: stepping the logical pixels would put each of them down as
// a separate dot of the device.
void CDC::DrawScaledHairline(const CPoint* points, int count, bool closed)
{
    QPen pen = m_painter->pen();
    pen.setWidthF(1.0);
    pen.setCosmetic(false);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter->save();
    m_painter->setPen(pen);
    m_painter->setBrush(Qt::NoBrush);
    const QPolygonF line = ToPolygon(points, count, 0.5);
    if (closed)
        m_painter->drawPolygon(line);
    else
        m_painter->drawPolyline(line);
    m_painter->restore();
}

// A system hairline covers its start pixel and leaves out its end pixel,
// whichever way it runs, so the segments of a path meet without a gap or an
// overlap. Qt's hairlines round their ends differently depending on the
// direction, so the pixels are stepped here (Bresenham) and drawn at once.
void CDC::DrawHairlineSegment(const CPoint& from, const CPoint& to)
{
    if (from == to) return;
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    // Only the part of a very long line that can touch the device is worth
    // stepping; far-away segments fall back on the painter's own clipping.
    if (dx - dy > 1 << 16) {
        m_painter->drawLine(QPointF(from.x + 0.5, from.y + 0.5), QPointF(to.x + 0.5, to.y + 0.5));
        return;
    }
    QVector<QPoint> pixels;
    pixels.reserve(int(std::max(dx, -dy)));
    long long err = dx + dy;
    int x = from.x;
    int y = from.y;
    while (x != to.x || y != to.y) {
        pixels.append(QPoint(x, y));
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    m_painter->drawPoints(pixels.constData(), int(pixels.size()));
}

void CDC::Polyline(const CPoint* points, int count)
{
    if (count < 2 || m_pen.style == PS_NULL) return;
    if (SteppedHairline()) {
        for (int i = 1; i < count; ++i) DrawHairlineSegment(points[i - 1], points[i]);
        return;
    }
    if (IsSolidHairline()) {
        DrawScaledHairline(points, count, false);
        return;
    }
    // Styled and wide pens: one path, so dashes run on across the vertices.
    m_painter->drawPolyline(ToPolygon(points, count, 0.5));
}

void CDC::Polygon(const CPoint* points, int count)
{
    if (count < 2) return;
    const Qt::FillRule rule = m_fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    if (!IsSolidHairline()) {
        m_painter->drawPolygon(ToPolygon(points, count, 0.5), rule);
        return;
    }
    // The inside as the system fills it (pixel centres inside the shape),
    // then the closed outline.
    if (m_brush.style != BS_NULL) {
        m_painter->save();
        m_painter->setPen(Qt::NoPen);
        m_painter->drawPolygon(ToPolygon(points, count, 0.0), rule);
        m_painter->restore();
    }
    if (!IsPixelAligned()) {
        DrawScaledHairline(points, count, true);
        return;
    }
    for (int i = 1; i < count; ++i) DrawHairlineSegment(points[i - 1], points[i]);
    DrawHairlineSegment(points[count - 1], points[0]);
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

namespace {

// The model's bytes as Unicode. Measuring decodes one character at a time,
// so plain ASCII bypasses the code-page converter.
QString DecodeText(const std::string& bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) & 0x80) return GbkToQString(bytes);
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

// The text cut into characters; a surrogate pair stays one character.
QStringList SplitCharacters(const QString& text)
{
    QStringList chars;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        chars << text.mid(i, pair ? 2 : 1);
        if (pair) ++i;
    }
    return chars;
}

} // namespace

void CDC::TextOut(int x, int y, const std::string& gbkText)
{
    if (gbkText.empty()) return;
    const QStringList chars = SplitCharacters(DecodeText(gbkText));
    if (chars.isEmpty()) return;

    // Whole-pixel pen positions, as the text is measured.
    std::vector<int> positions;
    positions.reserve(std::size_t(chars.size()));
    int pen = 0;
    for (const QString& ch : chars) {
        positions.push_back(pen);
        pen += m_metrics.horizontalAdvance(ch) + m_charExtra;
    }
    const int boxWidth = std::max(0, pen);
    const int inkWidth = std::max(0, pen - m_charExtra);
    const int ascent = m_metrics.ascent();

    m_painter->save();
    m_painter->translate(x, y);
    // Negated as a double: a damaged record can hold the smallest int.
    if (m_font.lfEscapement != 0) m_painter->rotate(-(m_font.lfEscapement / 10.0));
    if (m_bkMode == OPAQUE) m_painter->fillRect(QRect(0, 0, boxWidth, m_metrics.height()), ToQColor(m_bkColor));

    // Decorations are drawn once across the whole text below, not per
    // character, so the character extra leaves no gaps in them.
    QFont glyphFont = m_qfont;
    glyphFont.setUnderline(false);
    glyphFont.setStrikeOut(false);
    m_painter->setFont(glyphFont);
    m_painter->setPen(ToQColor(m_textColor));
    for (qsizetype i = 0; i < chars.size(); ++i)
        m_painter->drawText(QPointF(positions[std::size_t(i)], ascent), chars[i]);

    const qreal thickness = std::max(1, m_metrics.lineWidth());
    if (m_qfont.underline())
        m_painter->fillRect(QRectF(0, ascent + m_metrics.underlinePos(), inkWidth, thickness), ToQColor(m_textColor));
    if (m_qfont.strikeOut())
        m_painter->fillRect(QRectF(0, ascent - m_metrics.strikeOutPos(), inkWidth, thickness), ToQColor(m_textColor));
    m_painter->restore();
}

CSize CDC::GetTextExtent(const std::string& gbkText) const
{
    int width = 0;
    if (!gbkText.empty())
        for (const QString& ch : SplitCharacters(DecodeText(gbkText))) width += m_metrics.horizontalAdvance(ch);
    return CSize(width, m_metrics.height());
}

int CDC::GetTextAscent() const
{
    return m_metrics.ascent();
}

int CDC::GetTextHeight() const
{
    return m_metrics.height();
}

detail::ScreenSurface::ScreenSurface() : image(1, 1, QImage::Format_RGB32), painter(new QPainter(&image)) {}

// The CDC part is gone by now, so the painter can end.
detail::ScreenSurface::~ScreenSurface()
{
    delete painter;
}
