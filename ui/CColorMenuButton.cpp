#include "ui/CColorMenuButton.h"

#include "app/CommandIcons.h"

#include "settings/CMessageHub.h"

#include <QPainter>
#include <QPixmap>

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

constexpr COLORREF Rgb(unsigned rrggbb)
{
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

QIcon Swatch(COLORREF color)
{
    QPixmap pixmap(12, 11);
    pixmap.fill(ToQColor(color));
    QPainter p(&pixmap);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, 11, 10);
    return QIcon(pixmap);
}

QString ColorName(COLORREF c)
{
    return QStringLiteral("RGB(%1,%2,%3)").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}

} // namespace

const std::array<COLORREF, 40>& CColorMenuButton::PopupColors()
{
    static const std::array<COLORREF, 40> colors = {
        Rgb(0x000000), Rgb(0xA52A00), Rgb(0x004040), Rgb(0x005500), Rgb(0x00005E), Rgb(0x00008B), Rgb(0x4B0082), Rgb(0x282828),
        Rgb(0x8B0000), Rgb(0xFF6820), Rgb(0x8B8B00), Rgb(0x009300), Rgb(0x388E8E), Rgb(0x0000FF), Rgb(0x7B7BC0), Rgb(0x666666),
        Rgb(0xFF0000), Rgb(0xFFAD5B), Rgb(0x32CD32), Rgb(0x3CB371), Rgb(0x7FFFD4), Rgb(0x7D9EC0), Rgb(0x800080), Rgb(0x7F7F7F),
        Rgb(0xFFC0CB), Rgb(0xFFD700), Rgb(0xFFFF00), Rgb(0x00FF00), Rgb(0x40E0D0), Rgb(0xC0FFFF), Rgb(0x480048), Rgb(0xC0C0C0),
        Rgb(0xFFE4E1), Rgb(0xD2B48C), Rgb(0xFFFFE0), Rgb(0x98FB98), Rgb(0xAFEEEE), Rgb(0x68838B), Rgb(0xE6E6FA), Rgb(0xFFFFFF),
    };
    return colors;
}

CColorMenuButton::CColorMenuButton(int commandId, QWidget* parent)
    : CPickerMenuButton(commandId, 8, parent), m_color(0)
{
    // The automatic colour is the window text colour, black.
    AddAutomaticEntry(qint64(kAutomaticColor), QStringLiteral("自动颜色"), Swatch(0));
    for (COLORREF c : PopupColors()) AddCell(qint64(c), Swatch(c), QSize(12, 11), ColorName(c));
    AddWideEntry(QStringLiteral("定义颜色......"), [this] { Q_EMIT OtherColorRequested(GetCommandId()); });
    RefreshIcon();
}

void CColorMenuButton::SetColor(COLORREF color, BOOL propagate)
{
    m_color = color;
    RefreshIcon();
    if (!propagate) return;
    for (CColorMenuButton* b : ButtonsOfCommand<CColorMenuButton>(GetCommandId()))
        if (b != this) b->SetColor(color, FALSE);
}

void CColorMenuButton::Pick(qint64 value)
{
    const COLORREF color = COLORREF(value);
    CMessageHub::Instance().SendColorChange(color, GetCommandId());
    SetColor(color, TRUE);
}

QIcon CColorMenuButton::ButtonIcon() const
{
    const int size = 16;
    QPixmap pixmap = CommandIcon(GetCommandId(), size).pixmap(size, size);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size, size);
        pixmap.fill(Qt::transparent);
    }
    QPainter p(&pixmap);
    const QRect strip(1, size - 4, size - 2, 4);
    p.setPen(QColor(128, 128, 128));
    if (m_color == kAutomaticColor) {
        // The automatic colour has no colour of its own: an empty strip.
        p.setBrush(Qt::NoBrush);
    } else {
        p.setBrush(ToQColor(m_color));
    }
    p.drawRect(strip.adjusted(0, 0, -1, -1));
    p.end();
    return QIcon(pixmap);
}
