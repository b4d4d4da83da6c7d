#pragma once

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QUuid>

// Draws one row of the library's list: the thumbnail, the file name, date,
// time and size, and the phone mark, and below them, while a search filters
// the list, a line of the capture's text with the words that matched in
// bold; filled when selected or hovered. Small
// thumbnails and size texts are made when a row is first drawn, so only rows
// scrolled into view ever cost memory; a bounded cache keeps the recent ones.
class LibraryRowView : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int cachedRows = 64;

    explicit LibraryRowView(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // How many rows hold a small thumbnail now (memory checks).
    int cachedThumbnails() const;

private:
    struct Row {
        qint64 source = 0;  // the item's thumbnail it was made from: it may arrive late
        qreal ratio = 0;    // the device pixel ratio it was made for
        QPixmap thumbnail;  // null: no thumbnail
        QString size;
    };
    const Row &rowFor(const QModelIndex &index, qreal dpr) const;

    mutable QCache<QUuid, Row> m_cache{cachedRows};
};
