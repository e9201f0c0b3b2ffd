#include "ui/CColorSampleList.h"

#include "platform/CDC.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

class SampleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), CColorSampleList::kItemHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto* sample = reinterpret_cast<const CColorSample*>(index.data(Qt::UserRole).value<quintptr>());
        if (index.row() < 0 || !sample) return;
        const QRect r = option.rect;
        const QPalette& pal = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        const int h = r.height();
        p->save();
        p->fillRect(r, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        p->setPen(QPen(pal.color(QPalette::Text), 1));
        p->setBrush(ToQColor(sample->colour));
        p->drawRect(QRect(QPoint(r.left() + 2, r.top() + 2), QPoint(r.left() + h - 4, r.bottom() - 3)));
        p->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        p->setPen(selected ? pal.color(QPalette::Base) : pal.color(QPalette::Text));
        const QRect text(r.left() + h + 6, r.top() + 2, r.width() - h - 6, h - 4);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, sample->name);
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }
};

} // namespace

CColorSampleList::CColorSampleList(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new SampleDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void CColorSampleList::AddSample(CColorSample* sample)
{
    auto* item = new QListWidgetItem(sample ? sample->name : QString(), this);
    item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(sample)));
    item->setSizeHint(QSize(0, kItemHeight));
}

CColorSample* CColorSampleList::Sample(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? reinterpret_cast<CColorSample*>(it->data(Qt::UserRole).value<quintptr>()) : nullptr;
}
