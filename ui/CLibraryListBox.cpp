#include "ui/CLibraryListBox.h"

#include "library/CLibraryThumbnail.h"
#include "ui/CLibraryItemDelegate.h"

#include <QDateTime>

CLibraryListBox::CLibraryListBox(CLibraryPreviewCache& cache, QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new CLibraryItemDelegate(cache, this));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(QSize(CLibraryThumbnail::kCellSize, CLibraryThumbnail::kCellSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void CLibraryListBox::SetFiles(const QFileInfoList& files)
{
    clear();
    for (const QFileInfo& file : files) {
        auto* item = new QListWidgetItem;
        item->setData(CLibraryItemDelegate::kPathRole, file.absoluteFilePath());
        item->setData(CLibraryItemDelegate::kSizeRole, file.size());
        item->setData(CLibraryItemDelegate::kModifiedRole, file.lastModified().toMSecsSinceEpoch());
        item->setToolTip(file.fileName());
        item->setSizeHint(QSize(CLibraryThumbnail::kCellSize, CLibraryThumbnail::kCellSize));
        addItem(item);
    }
    setCurrentRow(-1);
}
