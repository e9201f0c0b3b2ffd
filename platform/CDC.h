// The drawing context the model and the tools draw through: a thin layer
// over QPainter that keeps the Windows drawing state the drawing code
// expects (a current pen, brush and font, text colour, background mode,
// character extra, a current position) and knows whether it prints.
// Text is placed by the top-left corner of its cell, as the drawing code
// expects; QPainter places it by the baseline, and this class converts.
#pragma once

#include "LogFont.h"
#include "Types.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <memory>
#include <string>

class QPainter;

namespace detail {
struct FontEntry;
}

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles.
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HATCHED = 2;

// Hatch styles.
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText formats (the values of the system's DT_ flags).
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;

struct CPen {
    int style = PS_SOLID;
    int width = 0;  // 0 and 1 are both one pixel
    COLORREF color = 0;
    bool operator==(const CPen& o) const { return style == o.style && width == o.width && color == o.color; }
};

struct CBrush {
    int style = BS_SOLID;
    COLORREF color = RGB(255, 255, 255);
    int hatch = HS_HORIZONTAL;
    static CBrush Null() { return {BS_NULL, 0, 0}; }
    static CBrush Solid(COLORREF c) { return {BS_SOLID, c, 0}; }
};

class CDC {
public:
    // The painter stays owned by the caller and must outlive the context.
    explicit CDC(QPainter* painter, bool printing = false);
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    QPainter* Painter() const { return m_painter; }
    bool IsPrinting() const { return m_printing; }

    // State: each Select returns what was selected before.
    CPen SelectPen(const CPen& pen);
    CBrush SelectBrush(const CBrush& brush);
    LogFont SelectFont(const LogFont& font);
    const CPen& GetPen() const { return m_pen; }
    const CBrush& GetBrush() const { return m_brush; }
    const LogFont& GetFont() const { return m_font; }

    COLORREF SetTextColor(COLORREF c);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    int SetTextCharacterExtra(int extra);
    int GetTextCharacterExtra() const { return m_charExtra; }

    // Lines and shapes with the current pen and brush, in device pixels.
    // A solid one-pixel line covers its start pixel and leaves out its end
    // pixel, whichever way it runs; a polygon's outline is closed and its
    // inside filled by the even-odd rule.
    CPoint MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const CPoint* points, int count);
    void Polygon(const CPoint* points, int count);
    // Rectangle and ellipse inside (left, top)-(right, bottom), right and
    // bottom exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void FillSolidRect(const CRect& rect, COLORREF color);

    // Text in the current font, colour and background mode; (x, y) is the
    // top-left of the first character's cell. The font's escapement turns
    // the text about that point (tenths of a degree, counter-clockwise as
    // seen on screen). Characters are placed one by one at whole-pixel
    // advances, each followed by the character extra, so the text lands
    // exactly where GetTextExtent of its characters says. An opaque
    // background covers the advances and extras; underline and strike-out
    // run unbroken across the text.
    void TextOut(int x, int y, const std::string& gbkText);
    // Size of the text in the current font without escapement: the sum of
    // the characters' whole-pixel advances, and the cell height. The
    // character extra is not included; callers that lay text out add it
    // themselves.
    CSize GetTextExtent(const std::string& gbkText) const;
    int GetTextAscent() const;
    int GetTextHeight() const;
    // The average character width of the selected font, the font's own
    // figure as text metrics report it.
    int GetAvgCharWidth() const;

    // Wrapped text, measured and drawn with the advances TextOut uses (each
    // character's whole-pixel advance plus the character extra), so a text
    // is drawn exactly as it was measured.
    //
    // WrapText breaks the text into lines no wider than `width` by
    // characters: a CR LF goes in before the character that would make its
    // line wider, never before the first character of a line (a character
    // wider than `width` stands alone) and never inside a double-byte
    // character. Breaks already in the text are kept.
    std::string WrapText(const std::string& gbkText, int width) const;
    // Lines end at CR LF, CR or LF; a break at the very end opens no
    // further line, so an empty text has no lines. With DT_WORDBREAK the
    // lines are first wrapped to the rectangle's width as WrapText does.
    // DT_CALCRECT only measures: the rectangle keeps its top-left and gets
    // the widest line's width and the lines' height. Otherwise every line
    // is drawn (TextOut) from the rectangle's top, one text height below
    // the other, at its left, centred in it (DT_CENTER) or against its
    // right (DT_RIGHT), clipped to it unless DT_NOCLIP is given. Returns
    // the height of the lines.
    int DrawText(const std::string& gbkText, CRect& rect, unsigned format);
    // The font made from the selected LogFont, as text is drawn with it.
    const QFont& GetQFont() const { return m_qfont; }

private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    bool IsSolidHairline() const;
    // Whether logical pixels are device pixels (a plain whole-pixel shift).
    bool IsPixelAligned() const;
    // A solid one-pixel line stepped pixel by pixel, as on the screen.
    bool SteppedHairline() const;
    void DrawHairlineSegment(const CPoint& from, const CPoint& to);
    void DrawScaledHairline(const CPoint* points, int count, bool closed);
    // The whole-pixel advance of one character in the selected font.
    int Advance(const QString& ch) const;
    int CharAdvance(const QString& ch) const;
    int LineWidth(const std::string& gbkLine) const;

    QPainter* m_painter;
    bool m_printing;
    CPen m_pen;
    CBrush m_brush;
    LogFont m_font;
    QFont m_qfont;
    QFontMetrics m_metrics{m_qfont};
    // The selected font's entry in the thread's cache of fonts, which also
    // remembers the advances measured in it.
    std::shared_ptr<detail::FontEntry> m_fontEntry;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    int m_charExtra = 0;
    CPoint m_current;
};

namespace detail {
// The surface a CScreenDC draws on; a base so that it exists before the CDC.
struct ScreenSurface {
    ScreenSurface();
    ~ScreenSurface();
    QImage image;
    QPainter* painter;
};
} // namespace detail

// A device context for measuring text when nothing is being painted (the
// screen context of a measurement): a CDC over a one-pixel image, with the
// same fonts and metrics as every other context.
class CScreenDC : private detail::ScreenSurface, public CDC {
public:
    CScreenDC() : CDC(painter) {}
};

// A device rectangle cut back well outside any device, so that its sides
// can be counted in an int: a far element's device pixels reach the ends of
// the int range.
class QRect;
QRect DeviceBounded(const CRect& r);

// QColor of a COLORREF with the given alpha.
class QColor;
QColor ToQColor(COLORREF c, int alpha = 255);
COLORREF FromQColor(const QColor& c);
