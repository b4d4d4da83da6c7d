#pragma once

#include "capture/CaptureBuilder.h"
#include "capture/LocalFolders.h"
#include "capture/ScreenshotSource.h"
#include "capture/Thumbnailer.h"

#include <QList>
#include <QObject>
#include <QStringList>

class QThreadPool;

// Builds captures for files one batch at a time, in arrival order, on the
// pool, so that insertions keep the order the files came in. When files come
// faster than they can be decoded, only the newest maxPending wait: older ones
// would fall off the history as soon as they were inserted. Main thread only.
class CaptureQueue : public QObject
{
    Q_OBJECT

public:
    struct Batch {
        QStringList paths;
        ScreenshotSource source = ScreenshotSource::mac;
        bool justTaken = true;   // a capture just taken goes to the clipboard
        bool keepCopies = false; // a copy is kept in SavedShots
    };

    CaptureQueue(const LocalFolders &folders, const Thumbnailer &thumbnailer, QThreadPool *pool, int maxPending,
                 QObject *parent = nullptr);

    void enqueue(const Batch &batch);

Q_SIGNALS:
    void built(const CaptureBuilder::Capture &capture);
    // These files are done with: built, gone, or passed over.
    void finished(const QStringList &paths);

private:
    void trim();
    void runNext();

    LocalFolders m_folders;
    Thumbnailer m_thumbnailer;
    QThreadPool *m_pool;
    int m_maxPending;
    QList<Batch> m_pending;
    bool m_running = false;
};
