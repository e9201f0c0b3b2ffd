// The entries of the font-name list: a TrueType mark before scalable
// faces, the face name 17 pixels in, and a double line under the last of
// the recent faces at the top.
#pragma once

#include <QHash>
#include <QStyledItemDelegate>

class CFontNameItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kTextIndent = 17;
    static constexpr int kMarkWidth = 15;
    // Item data of a recent entry at the top of the list.
    static constexpr int kRecent = 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // True for a face that scales smoothly (drawn with the TrueType mark).
    bool IsTrueType(const QString& face) const;
    // The picture of the TrueType mark.
    static void DrawTrueTypeMark(QPainter& painter, const QPoint& topLeft);

private:
    mutable QHash<QString, bool> m_trueType;
};
