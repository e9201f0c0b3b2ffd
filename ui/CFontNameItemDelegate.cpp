#include "ui/CFontNameItemDelegate.h"

#include <QFontDatabase>
#include <QPainter>

void CFontNameItemDelegate::DrawTrueTypeMark(QPainter& p, const QPoint& at)
{
    // Two overlapping T's, grey behind black, 15 x 12 pixels.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    auto tee = [&p](int x, int y, const QColor& colour) {
        p.fillRect(x, y, 8, 2, colour);
        p.fillRect(x + 3, y, 2, 9, colour);
    };
    tee(at.x() + 1, at.y() + 1, QColor(128, 128, 128));
    tee(at.x() + 6, at.y() + 3, QColor(0, 0, 0));
    p.restore();
}

bool CFontNameItemDelegate::IsTrueType(const QString& face) const
{
    auto it = m_trueType.constFind(face);
    if (it != m_trueType.constEnd()) return *it;
    const bool scalable = QFontDatabase::isSmoothlyScalable(face);
    m_trueType.insert(face, scalable);
    return scalable;
}

QSize CFontNameItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(option.fontMetrics.horizontalAdvance(index.data().toString()) + kTextIndent + 4);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 4));
    return size;
}

void CFontNameItemDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect r = option.rect;
    const QPalette& pal = option.palette;
    const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
    const QString face = index.data().toString();
    p->save();
    p->fillRect(r, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    if (IsTrueType(face)) DrawTrueTypeMark(*p, QPoint(r.left(), r.top() + (r.height() - 12) / 2));
    p->setFont(option.font);
    p->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    const QRect text(r.left() + kTextIndent, r.top(), r.width() - kTextIndent, r.height());
    p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, face);
    // The last recent face is underlined twice across the entry.
    const QModelIndex next = index.sibling(index.row() + 1, index.column());
    if (index.data(Qt::UserRole).toInt() == kRecent && next.isValid() && next.data(Qt::UserRole).toInt() != kRecent) {
        const int y = r.top() + option.fontMetrics.height();
        p->setPen(pal.color(QPalette::Text));
        p->drawLine(r.left(), y, r.right(), y);
        p->drawLine(r.left(), std::min(y + 2, r.bottom()), r.right(), std::min(y + 2, r.bottom()));
    }
    p->restore();
}
