#pragma once

#include "capture/ScreenshotItem.h"

#include <QAbstractListModel>
#include <QList>

#include <optional>

// The library's list: the monitor's history in its order, one row per item.
// Rows hand out the item itself; the row view draws it.
class LibraryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int itemRole = Qt::UserRole + 1;

    explicit LibraryListModel(QObject *parent = nullptr);

    void setItems(const QList<ScreenshotItem> &items);
    const QList<ScreenshotItem> &items() const { return m_items; }
    std::optional<int> rowOf(const QUuid &id) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<ScreenshotItem> m_items;
};
