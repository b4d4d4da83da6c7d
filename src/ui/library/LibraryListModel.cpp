#include "library/LibraryListModel.h"

#include "common/Accessibility.h"
#include "search/SearchHighlight.h"

#include <QFileInfo>

LibraryListModel::LibraryListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void LibraryListModel::setItems(const QList<ScreenshotItem> &items, const QHash<QString, QString> &snippets,
                                const QString &words)
{
    beginResetModel();
    m_items = items;
    m_snippets = snippets;
    m_words = words;
    endResetModel();
}

std::optional<int> LibraryListModel::rowOf(const QUuid &id) const
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).id == id)
            return row;
    }
    return std::nullopt;
}

int LibraryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant LibraryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const ScreenshotItem &item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QFileInfo(item.filePath()).fileName();
    case Qt::AccessibleDescriptionRole:
        return Accessibility::pictureDescription(item);
    case itemRole:
        return QVariant::fromValue(item);
    case snippetRole:
        return m_snippets.value(item.filePath());
    case snippetBoldRole:
        return QVariant::fromValue(SearchHighlight::matchedWords(m_snippets.value(item.filePath()), m_words));
    default:
        return {};
    }
}

Qt::ItemFlags LibraryListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
