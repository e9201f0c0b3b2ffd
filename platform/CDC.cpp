#include "CDC.h"

#include "CWinFontMetrics.h"
#include "CodePage.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QThread>
#include <QHash>
#include <QPainter>
#include <QVector>
#include <QPainterPath>
#include <QPolygon>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <climits>
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

namespace detail {

// A font made from a LogFont, with its metrics and the advances of the
// characters measured in it so far. Making a font and shaping a character
// are far dearer than looking them up, and drawing selects the same few
// fonts over and over (every table cell selects its font and gives the
// previous one back).
struct FontEntry {
    explicit FontEntry(const LogFont& lf) : logFont(lf), win(lf), font(win.Font()), metrics(font) {}
    LogFont logFont;
    // The metrics text is measured and laid out with, as the system gives
    // them for the font the files name.
    CWinFontMetrics win;
    QFont font;
    // The drawn font's own metrics, for the lines of underline and
    // strike-out.
    QFontMetrics metrics;
    QHash<QString, int> advances;
    QHash<QString, qreal> drawnAdvances;

    // The advance the drawing font's own glyph has.
    qreal DrawnAdvance(const QString& ch)
    {
        const auto it = drawnAdvances.constFind(ch);
        if (it != drawnAdvances.constEnd()) return it.value();
        const qreal advance = QFontMetricsF(font).horizontalAdvance(ch);
        if (drawnAdvances.size() < 4096) drawnAdvances.insert(ch, advance);
        return advance;
    }
};

} // namespace detail

namespace {

// The fonts used most recently, newest first. Only the user-interface
// thread keeps them; the cache lives until the process ends, so no font
// outlives the application object.
std::shared_ptr<detail::FontEntry> CachedFont(const LogFont& lf)
{
    constexpr std::size_t kCachedFonts = 32;
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) return std::make_shared<detail::FontEntry>(lf);
    static auto* fonts = new std::vector<std::shared_ptr<detail::FontEntry>>();
    std::vector<std::shared_ptr<detail::FontEntry>>& cache = *fonts;
    for (std::size_t i = 0; i < cache.size(); ++i) {
        if (cache[i]->logFont != lf) continue;
        std::shared_ptr<detail::FontEntry> found = cache[i];
        if (i > 0) {
            cache.erase(cache.begin() + std::ptrdiff_t(i));
            cache.insert(cache.begin(), found);
        }
        return found;
    }
    auto entry = std::make_shared<detail::FontEntry>(lf);
    cache.insert(cache.begin(), entry);
    if (cache.size() > kCachedFonts) cache.pop_back();
    return entry;
}

} // namespace

void CDC::ApplyFont()
{
    if (m_fontEntry && m_fontEntry->logFont == m_font) return;
    m_fontEntry = CachedFont(m_font);
    m_qfont = m_fontEntry->font;
    m_metrics = m_fontEntry->metrics;
}

int CDC::Advance(const QString& ch) const
{
    QHash<QString, int>& known = m_fontEntry->advances;
    const auto it = known.constFind(ch);
    if (it != known.constEnd()) return it.value();
    const int advance = m_fontEntry->win.Advance(ch);
    if (known.size() < 4096) known.insert(ch, advance);
    return advance;
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
    // The system's alternate fill mode, the one every caller draws with.
    const Qt::FillRule rule = Qt::OddEvenFill;
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
    // Sides in doubles: corners of far points lie further apart than an
    // int can count.
    const double width = double(right) - left;
    const double height = double(bottom) - top;
    if (width < 1 || height < 1) return;
    if (m_brush.style != BS_NULL) {
        m_painter->save();
        m_painter->setPen(Qt::NoPen);
        m_painter->drawRect(QRectF(left, top, width, height));
        m_painter->restore();
    }
    if (m_pen.style != PS_NULL) {
        m_painter->save();
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(QRectF(left + 0.5, top + 0.5, width - 1, height - 1));
        m_painter->restore();
    }
}

void CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    m_painter->drawEllipse(QRectF(left + 0.5, top + 0.5, double(right) - left - 1, double(bottom) - top - 1));
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color)
{
    m_painter->fillRect(DeviceBounded(rect), ToQColor(color));
    m_bkColor = color;
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
        pen += Advance(ch) + m_charExtra;
    }
    const int boxWidth = std::max(0, pen);
    const int inkWidth = std::max(0, pen - m_charExtra);
    const int ascent = GetTextAscent();

    m_painter->save();
    m_painter->translate(x, y);
    // Negated as a double: a damaged record can hold the smallest int.
    if (m_font.lfEscapement != 0) m_painter->rotate(-(m_font.lfEscapement / 10.0));
    if (m_bkMode == OPAQUE) m_painter->fillRect(QRect(0, 0, boxWidth, GetTextHeight()), ToQColor(m_bkColor));

    // Decorations are drawn once across the whole text below, not per
    // character, so the character extra leaves no gaps in them.
    QFont glyphFont = m_qfont;
    glyphFont.setUnderline(false);
    glyphFont.setStrikeOut(false);
    m_painter->setFont(glyphFont);
    m_painter->setPen(ToQColor(m_textColor));
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const QString& ch = chars[i];
        const qreal x = positions[std::size_t(i)];
        // A glyph of the drawing font wider than the advance the text is
        // measured with (the Latin letters of a Chinese font stand in for
        // the half-em ones of 宋体) is narrowed to fit its place.
        const qreal own = m_fontEntry->DrawnAdvance(ch);
        const int advance = Advance(ch);
        if (advance > 0 && own > advance) {
            m_painter->save();
            m_painter->translate(x, ascent);
            m_painter->scale(advance / own, 1.0);
            m_painter->drawText(QPointF(0, 0), ch);
            m_painter->restore();
        } else {
            m_painter->drawText(QPointF(x, ascent), ch);
        }
    }

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
        for (const QString& ch : SplitCharacters(DecodeText(gbkText))) width += Advance(ch);
    return CSize(width, GetTextHeight());
}

int CDC::GetTextAscent() const
{
    return m_fontEntry->win.Ascent();
}

int CDC::GetTextHeight() const
{
    return m_fontEntry->win.Height();
}

int CDC::GetAvgCharWidth() const
{
    return m_fontEntry->win.AverageCharWidth();
}

int CDC::CharAdvance(const QString& ch) const
{
    return Advance(ch) + m_charExtra;
}

int CDC::LineWidth(const std::string& gbkLine) const
{
    int width = 0;
    for (const GbkChar& c : SplitGbkCharacters(gbkLine)) width += CharAdvance(c.text);
    return width;
}

std::string CDC::WrapText(const std::string& gbkText, int width) const
{
    std::string out;
    out.reserve(gbkText.size() + 8);
    long long lineWidth = 0;
    bool lineHasChars = false;
    for (const GbkChar& c : SplitGbkCharacters(gbkText)) {
        const char first = gbkText[c.start];
        if (first == '\r' || first == '\n') {
            out += first;
            lineWidth = 0;
            lineHasChars = false;
            continue;
        }
        const int advance = CharAdvance(c.text);
        if (lineHasChars && lineWidth + advance > width) {
            out += "\r\n";
            lineWidth = 0;
        }
        out.append(gbkText, c.start, c.size);
        lineWidth += advance;
        lineHasChars = true;
    }
    return out;
}

namespace {

// The lines of a text: CR LF, CR and LF each end one; a break at the end
// opens no further line.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, brk - start));
        start = brk + 1;
        if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

} // namespace

int CDC::DrawText(const std::string& gbkText, CRect& rect, unsigned format)
{
    const long long boxWidth = (long long)rect.right - rect.left;
    const int wrapWidth = int(std::clamp<long long>(boxWidth, 0, 1LL << 30));
    const std::vector<std::string> lines =
        SplitLines((format & DT_WORDBREAK) ? WrapText(gbkText, wrapWidth) : gbkText);
    std::vector<int> widths;
    widths.reserve(lines.size());
    int widest = 0;
    for (const std::string& line : lines) {
        widths.push_back(LineWidth(line));
        widest = std::max(widest, widths.back());
    }
    const int lineHeight = GetTextHeight();
    const int height = int(std::min<long long>(1LL << 30, (long long)lines.size() * lineHeight));
    if (format & DT_CALCRECT) {
        rect.right = int(std::min<long long>((long long)rect.left + widest, INT_MAX));
        rect.bottom = int(std::min<long long>((long long)rect.top + height, INT_MAX));
        return height;
    }
    const bool clip = !(format & DT_NOCLIP);
    if (clip) {
        m_painter->save();
        const long long boxHeight = (long long)rect.bottom - rect.top;
        m_painter->setClipRect(QRect(rect.left, rect.top, int(std::clamp<long long>(boxWidth, 0, 1LL << 30)),
                                     int(std::clamp<long long>(boxHeight, 0, 1LL << 30))),
                               m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    long long y = rect.top;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (clip && y >= rect.bottom) break;
        int x = rect.left;
        if (format & DT_RIGHT)
            x = int(std::clamp<long long>((long long)rect.right - widths[i], INT_MIN, INT_MAX));
        else if (format & DT_CENTER)
            x = int(((long long)rect.left + rect.right - widths[i]) / 2);
        TextOut(x, int(std::min<long long>(y, INT_MAX)), lines[i]);
        y += lineHeight;
    }
    if (clip) m_painter->restore();
    return height;
}

detail::ScreenSurface::ScreenSurface() : image(1, 1, QImage::Format_RGB32), painter(new QPainter(&image)) {}

// The CDC part is gone by now, so the painter can end.
detail::ScreenSurface::~ScreenSurface()
{
    delete painter;
}

QRect DeviceBounded(const CRect& r)
{
    static constexpr int kFar = 1 << 28;
    const auto bound = [](int v) { return std::clamp(v, -kFar, kFar); };
    return QRect(QPoint(bound(r.left), bound(r.top)), QPoint(bound(r.right) - 1, bound(r.bottom) - 1));
}
