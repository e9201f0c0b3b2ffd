#include "library/CLibraryThumbnail.h"

#include "library/CLibraryPreviewReader.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/TextMeasure.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265359;

CPoint Offset(const CPoint& p, const CPoint& origin)
{
    const auto clamp = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, -100000, 100000)); };
    return CPoint(clamp(std::int64_t(p.x) + origin.x), clamp(std::int64_t(p.y) + origin.y));
}

std::int32_t ClampFont(std::int32_t v)
{
    const std::int32_t most = CLibraryThumbnail::kMaxFontPixels;
    return std::clamp(v, -most, most);
}

// The first lines of a text, each cut to a length a cell can show, never
// inside a double-byte character.
std::string VisiblePart(const std::string& text)
{
    constexpr std::size_t kLineBytes = 256;
    std::string out;
    int lines = 0;
    std::size_t lineBytes = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (++lines >= CLibraryThumbnail::kMaxTextLines) break;
            out.push_back(c);
            lineBytes = 0;
            ++i;
            continue;
        }
        const std::size_t length = IsLeadByteAt(text, i) ? 2 : 1;
        if (lineBytes + length <= kLineBytes) {
            out.append(text, i, length);
            lineBytes += length;
        }
        i += length;
    }
    return out;
}

void DrawOutline(CDC& dc, const std::vector<CPoint>& points, const CPoint& origin)
{
    if (points.size() < 2) return;
    const CPoint first = Offset(points.front(), origin);
    dc.MoveTo(first.x, first.y);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const CPoint p = Offset(points[i], origin);
        dc.LineTo(p.x, p.y);
    }
}

void DrawText(CDC& dc, const CLibraryPreview& preview, const CLibraryPreview::Text& text, const CPoint& origin)
{
    const std::string visible = VisiblePart(text.textFont.GetText());
    LogFont font = text.textFont.GetLogFont();
    font.lfHeight = ClampFont(font.lfHeight);
    font.lfWidth = ClampFont(font.lfWidth);
    const CPoint p1 = Offset(text.origin, origin);

    double angle = font.lfEscapement / 1800.0 * kPi;
    if (preview.version >= LibraryFormat::kFirstCornerVersion) {
        const CPoint p2 = Offset(text.corner2, origin);
        angle = (p1 == p2 ? kPi : LineAngle(p2.x, p2.y, p1.x, p1.y)) + kPi;
        font.lfEscapement = RoundToInt(-1.0 * angle * 1800.0 / kPi);
        font.lfOrientation = font.lfEscapement;
    }
    const LogFont previousFont = dc.SelectFont(font);
    const int previousMode = dc.SetBkMode(text.bkMode == OPAQUE ? OPAQUE : TRANSPARENT);
    const COLORREF previousColour = dc.SetTextColor(text.textFont.GetColor());
    int lines = 0;
    const CSize block = MeasureTextBlock(dc, visible, lines);
    CPoint q(p1.x, p1.y + block.cy);
    RotatePoint(q, p1.x, p1.y, std::sin(-angle), std::cos(-angle));
    if (lines > 0) {
        const double stepX = (double(q.x) - p1.x) / lines;
        const double stepY = (double(q.y) - p1.y) / lines;
        for (int i = 0; i < lines; ++i)
            dc.TextOut(p1.x + RoundToInt(i * stepX), p1.y + RoundToInt(i * stepY), GetTextLine(visible, i));
    }
    dc.SetTextColor(previousColour);
    dc.SetBkMode(previousMode);
    dc.SelectFont(previousFont);
}

// About 6 columns and 10 rows over the table's frame; a step that rounds to
// 0 draws that direction's frame lines only.
void DrawTable(CDC& dc, const std::array<CPoint, 4>& corners, const CPoint& origin)
{
    const CPoint p1 = Offset(corners[0], origin);
    const CPoint p2 = Offset(corners[1], origin);
    const CPoint p4 = Offset(corners[3], origin);
    const int width = p2.x - p1.x;
    const int height = p4.y - p1.y;
    const int columnStep = RoundToInt(width / 6.0);
    const int rowStep = RoundToInt(height / 10.0);
    const auto vertical = [&](int x) {
        dc.MoveTo(x, p1.y);
        dc.LineTo(x, p4.y);
    };
    const auto horizontal = [&](int y) {
        dc.MoveTo(p1.x, y);
        dc.LineTo(p2.x, y);
    };
    if (columnStep > 0) {
        for (int k = 0; k * columnStep <= width; ++k) vertical(p1.x + k * columnStep);
    } else {
        vertical(p1.x);
        vertical(p2.x);
    }
    if (rowStep > 0) {
        for (int k = 0; k * rowStep <= height; ++k) horizontal(p1.y + k * rowStep);
    } else {
        horizontal(p1.y);
        horizontal(p4.y);
    }
}

} // namespace

bool CLibraryThumbnail::IsPlotterName(const QString& path)
{
    return path.endsWith(QLatin1String("plt"), Qt::CaseInsensitive);
}

bool CLibraryThumbnail::DrawPreview(CDC& dc, const CLibraryPreview& preview, const CPoint& origin)
{
    for (const std::vector<CPoint>& outline : preview.outlines) DrawOutline(dc, outline, origin);
    for (const CLibraryPreview::Text& text : preview.texts) DrawText(dc, preview, text, origin);
    for (const CLibraryPreview::Picture& picture : preview.pictures) DrawPicturePlaceholder(dc, picture, origin);
    for (const std::array<CPoint, 4>& table : preview.tables) DrawTable(dc, table, origin);
    return preview.outlinesSound;
}

// A sheet of plotter paper with a plotted curve and the letters "PLT".
void CLibraryThumbnail::DrawPlotterIcon(CDC& dc, const CPoint& at)
{
    QPainter* painter = dc.Painter();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(at.x + 8, at.y + 2, 58, 28);
    painter->setPen(QPen(QColor(60, 60, 60), 1));
    painter->setBrush(QColor(250, 250, 240));
    painter->drawRect(sheet);
    QPainterPath plotted;
    plotted.moveTo(sheet.left() + 4, sheet.bottom() - 6);
    plotted.cubicTo(sheet.left() + 14, sheet.top() + 2, sheet.left() + 22, sheet.bottom() - 2, sheet.left() + 30,
                    sheet.top() + 8);
    painter->setPen(QPen(QColor(0, 90, 200), 1.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(plotted);
    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(QColor(160, 0, 0));
    painter->drawText(QRectF(sheet.left() + 30, sheet.top(), 28, sheet.height()), Qt::AlignCenter,
                      QStringLiteral("PLT"));
    painter->restore();
}

// A framed landscape over the picture's place on the grid.
void CLibraryThumbnail::DrawPicturePlaceholder(CDC& dc, const CLibraryPreview::Picture& picture, const CPoint& origin)
{
    int left = INT32_MAX;
    int top = INT32_MAX;
    int right = INT32_MIN;
    int bottom = INT32_MIN;
    for (const CPoint& corner : picture.corners) {
        const CPoint p = Offset(corner, origin);
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    if (right - left < 3 || bottom - top < 3) {
        right = std::max(right, left + 8);
        bottom = std::max(bottom, top + 6);
    }
    QPainter* painter = dc.Painter();
    painter->save();
    const QRect frame(left, top, right - left, bottom - top);
    painter->setPen(QColor(90, 90, 90));
    painter->setBrush(QColor(205, 228, 247));
    painter->drawRect(frame);
    QPolygon hills;
    hills << QPoint(frame.left(), frame.bottom()) << QPoint(frame.left() + frame.width() / 3, frame.top() + frame.height() / 2)
          << QPoint(frame.left() + frame.width() / 2, frame.bottom() - frame.height() / 4)
          << QPoint(frame.left() + 3 * frame.width() / 4, frame.top() + frame.height() / 3)
          << QPoint(frame.right(), frame.bottom());
    painter->setBrush(QColor(90, 150, 80));
    painter->setPen(Qt::NoPen);
    painter->drawPolygon(hills);
    painter->restore();
}

void CLibraryThumbnail::DrawCross(CDC& dc, const CRect& area)
{
    dc.MoveTo(area.left + 5, area.top + 5);
    dc.LineTo(area.right - 5, area.bottom - 5);
    dc.MoveTo(area.right - 5, area.top + 5);
    dc.LineTo(area.left + 5, area.bottom - 5);
}

QImage CLibraryThumbnail::Render(const QString& path)
{
    CLibraryPreview preview;
    const CLibraryPreviewReader::Result read = CLibraryPreviewReader::ReadFile(path, preview);
    return Render(path, read, preview);
}

QImage CLibraryThumbnail::Render(const QString& path, CLibraryPreviewReader::Result result,
                                 const CLibraryPreview& preview)
{
    QImage image(kCellSize, kBandHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    CDC dc(&painter);
    dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
    const CRect area(kPreviewLeft, 0, kCellSize - kPreviewLeft, kBandHeight);
    bool drawn = false;
    if (result == CLibraryPreviewReader::Result::Ok || result == CLibraryPreviewReader::Result::Damaged)
        drawn = DrawPreview(dc, preview, CPoint(area.left, area.top + kPreviewTop));
    if (!drawn) {
        if (IsPlotterName(path))
            DrawPlotterIcon(dc, CPoint(area.left - 5, area.top + 20));
        else
            DrawCross(dc, area);
    }
    return image;
}
