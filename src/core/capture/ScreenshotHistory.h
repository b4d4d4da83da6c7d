#pragma once

#include "capture/ScreenshotItem.h"
#include "capture/Thumbnailer.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <functional>

class Preferences;
class QThreadPool;

// The ordered list of captures, newest first and at most maxItems long, kept
// in the preferences across launches. Main thread only; thumbnails of a
// restored history are decoded on the given pool.
class ScreenshotHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxItems = 100;
    // Thumbnails are held in memory for the newest items only, what the
    // popover can show with a small margin; the others stay in the disk cache
    // until a view asks for them.
    static constexpr int heldThumbnails = 24;

    ScreenshotHistory(Preferences *preferences, const Thumbnailer &thumbnailer, QThreadPool *pool,
                      QObject *parent = nullptr);

    const QList<ScreenshotItem> &items() const { return m_items; }
    QStringList paths() const;
    bool contains(const QString &path) const;

    // Publishes the stored list at once from file metadata, then fills in the
    // thumbnails in the background, newest first.
    void load();

    // Puts item on top; the oldest fall off past maxItems.
    void prepend(const ScreenshotItem &item);
    // Removes the matching items and returns how many went.
    qsizetype removeIf(const std::function<bool(const ScreenshotItem &)> &matches);
    // Points the given items at new files.
    void repoint(const QList<std::pair<QUuid, QString>> &moves);

Q_SIGNALS:
    void changed();

private:
    void publish(QList<ScreenshotItem> items);
    // Drops thumbnails past the held ones and asks the pool for missing ones.
    void holdThumbnails(QList<ScreenshotItem> &items);
    void requestThumbnail(const ScreenshotItem &item);
    void thumbnailMade(const QUuid &id, const QImage &thumbnail);
    void flushThumbnails();

    Preferences *m_preferences;
    Thumbnailer m_thumbnailer;
    QThreadPool *m_pool;
    QList<ScreenshotItem> m_items;
    // Thumbnails made since the last flush; published together so a long
    // history does not redraw its views once per item.
    QHash<QUuid, QImage> m_madeThumbnails;
    QSet<QUuid> m_requested;  // asked for once: an undecodable file is not decoded again
    QTimer m_thumbnailFlush;
};
