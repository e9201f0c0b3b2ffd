#include "ui/CColorListBox.h"

#include "platform/CDC.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Row by row as RRGGBB.
constexpr std::uint32_t kStandardRgb[CColorListBox::kColorCount] = {
    0x000000, 0xFFFFFF, 0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF,
    0xFFC0FF, 0xE0E0E0, 0xFF8080, 0xFFE080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF,
    0xFF80FF, 0xC0C0C0, 0xFF0000, 0xFFC000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF,
    0xFF00FF, 0x808080, 0xC00000, 0xFF8000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0,
    0xC000C0, 0x404040, 0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080,
    0x800080, 0x400000, 0x804040, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040,
};

class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {CColorListBox::kCellSize, CColorListBox::kCellSize};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.row() < 0) return;
        const QRect r = option.rect;
        const QPalette& pal = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(r, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        p->setPen(QPen(pal.color(QPalette::Text), 1));
        p->setBrush(ToQColor(CColorListBox::StandardColor(index.row())));
        p->drawRect(r.adjusted(3, 3, -4, -4));
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }
};

} // namespace

CColorListBox::CColorListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new SwatchDelegate(this));
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // All eight columns are shown: no scrolling.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < kColorCount; ++i) addItem(QString());
}

COLORREF CColorListBox::StandardColor(int index)
{
    if (index < 0 || index >= kColorCount) return 0;
    const std::uint32_t rgb = kStandardRgb[index];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int CColorListBox::LastIndexOf(COLORREF colour)
{
    for (int i = kColorCount - 1; i >= 0; --i)
        if (StandardColor(i) == colour) return i;
    return -1;
}

QSize CColorListBox::sizeHint() const
{
    const int columns = (kColorCount + kRows - 1) / kRows;
    const int frame = 2 * frameWidth();
    // One pixel more than the cells: the view wraps a column when an item
    // would reach its last pixel.
    return {columns * kCellSize + frame + 1, kRows * kCellSize + frame + 1};
}
