#include "ui/CLibraryItemDelegate.h"

#include "library/CLibraryThumbnail.h"
#include "ui/CLibraryPreviewCache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>

CLibraryItemDelegate::CLibraryItemDelegate(CLibraryPreviewCache& cache, QObject* parent)
    : QStyledItemDelegate(parent), m_cache(cache)
{
}

QSize CLibraryItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(CLibraryThumbnail::kCellSize, CLibraryThumbnail::kCellSize);
}

void CLibraryItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(cell, palette.color(QPalette::Base));

    // The file as the listing saw it: the picture is drawn once for that
    // size and time, and the file is not asked about again while painting.
    const QString path = index.data(kPathRole).toString();
    const QImage& picture =
        m_cache.Thumbnail(path, index.data(kSizeRole).toLongLong(), index.data(kModifiedRole).toLongLong());
    painter->drawImage(cell.topLeft(), picture);

    const QRect caption(cell.left() + 2, cell.bottom() + 1 - 18, cell.width() - 4, 18);
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(caption, selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
    painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QString name = QFileInfo(path).completeBaseName();
    painter->drawText(caption, Qt::AlignCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(name, Qt::ElideRight, caption.width()));
    painter->restore();
}
