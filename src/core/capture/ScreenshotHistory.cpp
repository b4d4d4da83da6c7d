#include "capture/ScreenshotHistory.h"

#include "capture/CaptureBuilder.h"
#include "capture/Preferences.h"

#include <QDir>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>

ScreenshotHistory::ScreenshotHistory(Preferences *preferences, const Thumbnailer &thumbnailer, QThreadPool *pool,
                                     QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_thumbnailer(thumbnailer)
    , m_pool(pool)
{
}

QStringList ScreenshotHistory::paths() const
{
    QStringList paths;
    paths.reserve(m_items.size());
    for (const ScreenshotItem &item : m_items)
        paths << item.filePath();
    return paths;
}

bool ScreenshotHistory::contains(const QString &path) const
{
    const QString wanted = QDir::cleanPath(path);
    return std::any_of(m_items.cbegin(), m_items.cend(),
                       [&](const ScreenshotItem &item) { return QDir::cleanPath(item.filePath()) == wanted; });
}

void ScreenshotHistory::publish(QList<ScreenshotItem> items)
{
    m_items = std::move(items);
    m_preferences->setHistoryPaths(paths());
    Q_EMIT changed();
}

void ScreenshotHistory::prepend(const ScreenshotItem &item)
{
    QList<ScreenshotItem> items = m_items;
    items.prepend(item);
    if (items.size() > maxItems) {
        for (qsizetype i = maxItems; i < items.size(); ++i)
            m_thumbnailer.forget(items.at(i).filePath());
        items.resize(maxItems);
    }
    publish(std::move(items));
}

qsizetype ScreenshotHistory::removeIf(const std::function<bool(const ScreenshotItem &)> &matches)
{
    QList<ScreenshotItem> items = m_items;
    const qsizetype removed = items.removeIf(matches);
    if (removed > 0)
        publish(std::move(items));
    return removed;
}

void ScreenshotHistory::repoint(const QList<std::pair<QUuid, QString>> &moves)
{
    QList<ScreenshotItem> items = m_items;
    for (const auto &[id, path] : moves) {
        for (ScreenshotItem &item : items) {
            if (item.id == id)
                item.url = QUrl::fromLocalFile(path);
        }
    }
    publish(std::move(items));
}

void ScreenshotHistory::load()
{
    if (!m_preferences->hasHistory())
        return;
    const QStringList stored = m_preferences->historyPaths();
    const Thumbnailer thumbnailer = m_thumbnailer;
    // Thumbnails are built in parallel off the main thread; the list is published once.
    auto future = QtConcurrent::mapped(m_pool, stored, [thumbnailer](const QString &path) {
        return CaptureBuilder::buildRestoredItem(path, thumbnailer);
    });
    future.then(this, [this](QFuture<std::optional<ScreenshotItem>> finished) {
        QList<ScreenshotItem> loaded;
        for (const auto &result : finished.results()) {
            if (result)
                loaded << *result;
        }
        publishLoaded(loaded);
    });
}

void ScreenshotHistory::publishLoaded(const QList<ScreenshotItem> &loaded)
{
    if (loaded.isEmpty())
        return;  // every stored path is gone: the stored list is left as it was
    QList<ScreenshotItem> items = m_items;
    for (const ScreenshotItem &item : loaded) {
        if (items.size() >= maxItems)
            break;
        if (!contains(item.filePath()))
            items << item;
    }
    publish(std::move(items));
    m_pool->start([thumbnailer = m_thumbnailer, keep = paths()] { thumbnailer.prune(keep); });
}
