// Draws one cell of the library browser's list: the file's thumbnail in
// the upper 60 pixels of the 80 x 80 cell and its name (without folder and
// extension) in the strip below, highlighted when the cell is selected.
#pragma once

#include <QStyledItemDelegate>

class CLibraryPreviewCache;

class CLibraryItemDelegate : public QStyledItemDelegate {
public:
    // Item data of the list's items.
    static constexpr int kPathRole = Qt::UserRole;
    static constexpr int kSizeRole = Qt::UserRole + 1;
    static constexpr int kModifiedRole = Qt::UserRole + 2;

    CLibraryItemDelegate(CLibraryPreviewCache& cache, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CLibraryPreviewCache& m_cache;
};
