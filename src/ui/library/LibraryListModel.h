#pragma once

#include "capture/ScreenshotItem.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <optional>

// The library's list: the monitor's history in its order, one row per item.
// Rows hand out the item itself; the row view draws it. While a search
// filters the list, rows also hand out their snippet and the spans of it
// that matched.
class LibraryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int itemRole = Qt::UserRole + 1;
    static constexpr int snippetRole = Qt::UserRole + 2;      // QString
    static constexpr int snippetBoldRole = Qt::UserRole + 3;  // QList<SearchHighlight::Span>

    explicit LibraryListModel(QObject *parent = nullptr);

    // snippets: by file path, the text around what matched the words searched for.
    void setItems(const QList<ScreenshotItem> &items, const QHash<QString, QString> &snippets = {},
                  const QString &words = {});
    const QList<ScreenshotItem> &items() const { return m_items; }
    std::optional<int> rowOf(const QUuid &id) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<ScreenshotItem> m_items;
    QHash<QString, QString> m_snippets;
    QString m_words;
};
