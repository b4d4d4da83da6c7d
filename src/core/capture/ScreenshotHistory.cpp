#include "capture/ScreenshotHistory.h"

#include "capture/CaptureBuilder.h"
#include "capture/Preferences.h"

#include <QDir>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

ScreenshotHistory::ScreenshotHistory(Preferences *preferences, const Thumbnailer &thumbnailer, QThreadPool *pool,
                                     QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_thumbnailer(thumbnailer)
    , m_pool(pool)
{
    m_thumbnailFlush.setSingleShot(true);
    m_thumbnailFlush.setInterval(50);
    connect(&m_thumbnailFlush, &QTimer::timeout, this, &ScreenshotHistory::flushThumbnails);
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
    holdThumbnails(items);
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
    QList<ScreenshotItem> items;
    QSet<QString> restored;  // a path stored twice is still one capture
    for (const QString &path : m_preferences->historyPaths()) {
        if (items.size() >= maxItems)
            break;
        if (restored.contains(QDir::cleanPath(path)) || contains(path))
            continue;
        if (auto item = CaptureBuilder::buildRestoredItem(path)) {
            items << *item;
            restored.insert(QDir::cleanPath(path));
        }
    }
    if (items.isEmpty())
        return;  // every stored path is gone: the stored list is left as it was
    publish(items + m_items);
    m_pool->start([thumbnailer = m_thumbnailer, keep = paths()] { thumbnailer.prune(keep); });
}

void ScreenshotHistory::holdThumbnails(QList<ScreenshotItem> &items)
{
    QSet<QUuid> requested;
    for (qsizetype i = 0; i < items.size(); ++i) {
        ScreenshotItem &item = items[i];
        if (i >= heldThumbnails) {
            item.thumbnail = QImage();
            continue;
        }
        if (item.thumbnail.isNull() && !m_requested.contains(item.id))
            requestThumbnail(item);
        requested.insert(item.id);
    }
    m_requested = std::move(requested);
}

void ScreenshotHistory::requestThumbnail(const ScreenshotItem &item)
{
    QPointer<ScreenshotHistory> self(this);
    m_pool->start([self, id = item.id, path = item.filePath(), thumbnailer = m_thumbnailer] {
        const QImage thumbnail = thumbnailer.generateThumbnail(path);
        QMetaObject::invokeMethod(self.data(), [self, id, thumbnail] {
            if (self)
                self->thumbnailMade(id, thumbnail);
        }, Qt::QueuedConnection);
    });
}

void ScreenshotHistory::thumbnailMade(const QUuid &id, const QImage &thumbnail)
{
    if (thumbnail.isNull())
        return;
    m_madeThumbnails.insert(id, thumbnail);
    if (!m_thumbnailFlush.isActive())
        m_thumbnailFlush.start();
}

void ScreenshotHistory::flushThumbnails()
{
    bool any = false;
    for (qsizetype i = 0; i < qMin<qsizetype>(m_items.size(), heldThumbnails); ++i) {
        ScreenshotItem &item = m_items[i];
        if (const auto made = m_madeThumbnails.constFind(item.id); made != m_madeThumbnails.cend()) {
            item.thumbnail = *made;
            any = true;
        }
    }
    m_madeThumbnails.clear();
    if (any)
        Q_EMIT changed();
}
