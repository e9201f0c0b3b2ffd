#include "model/CTextElement.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "geometry/TextMeasure.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kMaxCoordinate = 2147483646;
constexpr int kMinCoordinate = -2147483647;
// The largest font the text is measured with directly; fonts are never
// made larger than this many pixels.
constexpr std::int64_t kMaxMeasuredFont = 32000;
// What a measured line or block may add up to before the sums in
// measuring could overflow.
constexpr std::int64_t kMaxMeasuredLength = std::int64_t(1) << 30;
// An upper bound of one character's advance or cell height, in font
// sizes (wide and stretched glyphs included).
constexpr std::int64_t kCharSizeBound = 4;

int ClampCoordinate(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, kMinCoordinate, kMaxCoordinate));
}

CPoint Offset(const CPoint& p, std::int64_t dx, std::int64_t dy)
{
    return CPoint(ClampCoordinate(p.x + dx), ClampCoordinate(p.y + dy));
}

// Sine and cosine of minus the escapement (tenths of a degree): the page's
// y axis points down, so a text turned counter-clockwise on the screen
// turns by a negative angle in page coordinates.
void TurnOfEscapement(int escapement, double& s, double& c)
{
    const double angle = escapement / -1800.0 * Geo::kPi;
    s = std::sin(angle);
    c = std::cos(angle);
}

// How many times smaller than asked a text is measured, so that the font
// stays within what fonts can be made at and no sum in measuring can
// overflow; 1 for every text of a sane size.
std::int64_t MeasuringReduction(const LogFont& lf, std::size_t textBytes)
{
    const std::int64_t height = lf.lfHeight == 0 ? 16 : std::abs(std::int64_t(lf.lfHeight));
    const std::int64_t size = std::max(height, std::abs(std::int64_t(lf.lfWidth)));
    const std::int64_t bySize = (size + kMaxMeasuredFont - 1) / kMaxMeasuredFont;
    const std::int64_t total = std::int64_t(textBytes) * kCharSizeBound * size;
    const std::int64_t byLength = total / kMaxMeasuredLength + 1;
    return std::max<std::int64_t>({1, bySize, byLength});
}

std::int32_t Reduced(std::int32_t v, std::int64_t factor)
{
    if (factor == 1 || v == 0) return v;
    const std::int64_t r = std::llround(double(v) / double(factor));
    return std::int32_t(r != 0 ? r : (v < 0 ? -1 : 1));
}

} // namespace

CTextElement::CTextElement(CPage* page, int level) : CGraphElement(page, ELEMENT_TEXT, level) {}

CTextElement::CTextElement(CPage* page, int level, const CTextFont& textFont, int x, int y, int bkMode)
    : CGraphElement(page, ELEMENT_TEXT, level), m_textFont(textFont), m_origin(x, y), m_bkMode(bkMode)
{
    m_extent = MeasureTextFont(m_textFont);
    // A turned text gets a turned box straight away, so that it is hit
    // and bounded where it is drawn.
    LayOutBox(m_extent);
    ClearBoundsDirty();
}

CSize CTextElement::MeasureTextFont(const CTextFont& textFont)
{
    const std::string& text = textFont.GetText();
    if (text.empty()) return CSize();
    // Measuring ignores the escapement; the box is turned afterwards.
    LogFont lf = textFont.GetLogFont();
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    const std::int64_t factor = MeasuringReduction(lf, text.size());
    lf.lfHeight = Reduced(lf.lfHeight, factor);
    lf.lfWidth = Reduced(lf.lfWidth, factor);

    // A font of h pixels measures in the units of h, so any device with
    // whole-pixel metrics serves as the screen.
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&device);
    CDC dc(&painter);
    dc.SelectFont(lf);
    const CSize size = MeasureText(dc, text);
    return CSize(ClampCoordinate(size.cx * factor), ClampCoordinate(size.cy * factor));
}

void CTextElement::LayOutBox(const CSize& extent)
{
    m_corner2 = Offset(m_origin, extent.cx, 0);
    m_corner3 = Offset(m_origin, 0, extent.cy);
    m_corner4 = Offset(m_origin, extent.cx, extent.cy);
    double s = 0;
    double c = 1;
    TurnOfEscapement(m_textFont.GetLogFont().lfEscapement, s, c);
    RotatePoint(m_corner2, m_origin.x, m_origin.y, s, c);
    RotatePoint(m_corner3, m_origin.x, m_origin.y, s, c);
    RotatePoint(m_corner4, m_origin.x, m_origin.y, s, c);
}

void CTextElement::RecalcGeometry()
{
    LayOutBox(MeasureTextFont(m_textFont));
    ClearBoundsDirty();
}

void CTextElement::RecalcIfDirty()
{
    if (IsBoundsDirty()) RecalcGeometry();
}

CRect CTextElement::GetBoundRect()
{
    RecalcIfDirty();
    const CPoint points[] = {m_origin, m_corner2, m_corner4, m_corner3};
    CRect bounds(m_origin, m_origin);
    for (const CPoint& p : points) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    return bounds;
}

void CTextElement::GetCorners(CPoint& origin, CPoint& corner2, CPoint& corner4, CPoint& corner3)
{
    RecalcIfDirty();
    origin = m_origin;
    corner2 = m_corner2;
    corner4 = m_corner4;
    corner3 = m_corner3;
}

void CTextElement::GetOutline(CPointList& out)
{
    RecalcIfDirty();
    out.RemoveAll();
    out.AddTail(m_origin);
    out.AddTail(m_corner2);
    out.AddTail(m_corner4);
    out.AddTail(m_corner3);
}

int CTextElement::HitTest(int x, int y)
{
    CPointList outline;
    GetOutline(outline);
    return IsPointInPolyline(x, y, outline) ? 1 : 0;
}

void CTextElement::GetText(CTextFont& textFont, CPoint& origin, int& bkMode) const
{
    textFont = m_textFont;
    origin = m_origin;
    bkMode = m_bkMode;
}

void CTextElement::SetText(const CTextFont& textFont, int x, int y, int bkMode)
{
    m_textFont = textFont;
    m_origin = CPoint(x, y);
    m_bkMode = bkMode;
    m_extent = MeasureTextFont(m_textFont);
    InvalidateBounds();
}

void CTextElement::OffsetBy(int dx, int dy)
{
    RecalcIfDirty();
    SetCorners(OffsetPoint(m_origin, dx, dy), OffsetPoint(m_corner2, dx, dy), OffsetPoint(m_corner4, dx, dy),
               OffsetPoint(m_corner3, dx, dy));
}

void CTextElement::SetTextInBox(const CTextFont& textFont, int bkMode, const CPoint& origin,
                                const CPoint& corner2, const CPoint& corner4, const CPoint& corner3)
{
    m_textFont = textFont;
    m_bkMode = bkMode;
    m_extent = MeasureTextFont(m_textFont);
    SetCorners(origin, corner2, corner4, corner3);
}

void CTextElement::SetCorners(const CPoint& origin, const CPoint& corner2, const CPoint& corner4,
                              const CPoint& corner3)
{
    m_origin = origin;
    m_corner2 = corner2;
    m_corner4 = corner4;
    m_corner3 = corner3;
    // The page files the element again where it now lies; the box itself
    // needs no laying out.
    InvalidateBounds();
    ClearBoundsDirty();
}

void CTextElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    DrawLines(dc, scale, originX, originY, m_bkMode, true);
}

void CTextElement::DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    DrawLines(dc, scale, originX, originY, TRANSPARENT, false);
}

// The lines share the box's height H evenly, whatever the device font
// measures at this zoom, so the text stays inside the box it is hit by.
void CTextElement::DrawLines(CDC* dc, double scale, int originX, int originY, int bkMode, bool setColour)
{
    RecalcIfDirty();
    const std::string& text = m_textFont.GetText();
    const int lines = CountTextLines(text);
    if (!dc || lines <= 0 || !(scale > 0)) return;

    const LogFont& stored = m_textFont.GetLogFont();
    const int height = PointDistanceRounded(m_origin.x, m_origin.y, m_corner3.x, m_corner3.y);
    double s = 0;
    double c = 1;
    TurnOfEscapement(stored.lfEscapement, s, c);
    CPoint end = Offset(m_origin, 0, height);
    RotatePoint(end, m_origin.x, m_origin.y, s, c);
    const double stepX = (double(end.x) - m_origin.x) / lines;
    const double stepY = (double(end.y) - m_origin.y) / lines;

    // Both font sizes go to the device, so the characters keep the
    // proportions they were measured with at every zoom.
    LogFont font = stored;
    font.lfHeight = ModelToDeviceFontSize(stored.lfHeight, scale);
    if (stored.lfWidth != 0) font.lfWidth = ModelToDeviceFontSize(stored.lfWidth, scale);

    const LogFont previousFont = dc->SelectFont(font);
    const int previousBkMode = dc->SetBkMode(bkMode);
    const COLORREF previousColour = setColour ? dc->SetTextColor(m_textFont.GetColor()) : dc->GetTextColor();
    for (int i = 0; i < lines; ++i) {
        const CPoint at = Offset(m_origin, RoundToInt(i * stepX), RoundToInt(i * stepY));
        int dx = 0;
        int dy = 0;
        ModelToDevice(at.x, at.y, scale, originX, originY, dx, dy);
        dc->TextOut(dx, dy, GetTextLine(text, i));
    }
    dc->SetTextColor(previousColour);
    dc->SetBkMode(previousBkMode);
    dc->SelectFont(previousFont);
}

void CTextElement::CopyFrom(const CGraphElement& other)
{
    const auto* text = dynamic_cast<const CTextElement*>(&other);
    if (!text || text == this) return;
    CGraphElement::CopyFrom(other);
    m_textFont = text->m_textFont;
    m_origin = text->m_origin;
    m_bkMode = text->m_bkMode;
    m_corner2 = text->m_corner2;
    m_corner4 = text->m_corner4;
    m_corner3 = text->m_corner3;
    m_extent = text->m_extent;
    if (text->IsBoundsDirty())
        InvalidateBounds();
    else
        ClearBoundsDirty();
}

// Reads into locals and takes them over only when the whole body was read.
// Before 104 no box was stored: the box of the measured text was turned
// about its centre, so the origin itself moves with the escapement.
int CTextElement::LoadBody(CArchive& ar, int version, bool library)
{
    std::int32_t level = GetLevel();
    if (library && version >= 105) ar >> level;
    CTextFont textFont;
    textFont.Load(ar);
    CPoint origin;
    std::int32_t bkMode = 0;
    ar >> origin >> bkMode;
    CPoint corner2;
    CPoint corner3;
    CPoint corner4;
    if (version >= 104) ar >> corner2 >> corner4 >> corner3;
    CSize extent;
    if (!library && version >= 105)
        ar >> extent;
    else
        extent = MeasureTextFont(textFont);

    if (version < 104) {
        corner2 = Offset(origin, extent.cx, 0);
        corner3 = Offset(origin, 0, extent.cy);
        corner4 = Offset(origin, extent.cx, extent.cy);
        // Integer halves truncate toward zero, as the files were made.
        const int cx = int((std::int64_t(origin.x) + corner4.x) / 2);
        const int cy = int((std::int64_t(origin.y) + corner4.y) / 2);
        double s = 0;
        double c = 1;
        TurnOfEscapement(textFont.GetLogFont().lfEscapement, s, c);
        RotatePoint(origin, cx, cy, s, c);
        RotatePoint(corner2, cx, cy, s, c);
        RotatePoint(corner3, cx, cy, s, c);
        RotatePoint(corner4, cx, cy, s, c);
    }

    if (library) SetLevel(level);
    m_textFont = std::move(textFont);
    m_origin = origin;
    m_bkMode = bkMode;
    m_corner2 = corner2;
    m_corner3 = corner3;
    m_corner4 = corner4;
    m_extent = extent;
    return 1;
}

int CTextElement::Load(CArchive& ar)
{
    CGraphElement::Load(ar);
    return LoadBody(ar, GetRecordVersion(), false);
}

int CTextElement::LoadFromLibrary(CArchive& ar, int version)
{
    return LoadBody(ar, version, true);
}

int CTextElement::Store(CArchive& ar) const
{
    CGraphElement::Store(ar);
    m_textFont.Store(ar);
    ar << m_origin << std::int32_t(m_bkMode) << m_corner2 << m_corner4 << m_corner3 << m_extent;
    return 1;
}

int CTextElement::StoreForLibrary(CArchive& ar) const
{
    CGraphElement::Store(ar);
    m_textFont.Store(ar);
    ar << m_origin << std::int32_t(m_bkMode) << m_corner2 << m_corner4 << m_corner3;
    return 1;
}
