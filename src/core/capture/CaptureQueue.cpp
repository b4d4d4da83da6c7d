#include "capture/CaptureQueue.h"

#include "common/InteractiveWork.h"

#include <QPointer>
#include <QThreadPool>

CaptureQueue::CaptureQueue(const LocalFolders &folders, const Thumbnailer &thumbnailer, QThreadPool *pool,
                           int maxPending, QObject *parent)
    : QObject(parent)
    , m_folders(folders)
    , m_thumbnailer(thumbnailer)
    , m_pool(pool)
    , m_maxPending(maxPending)
{
}

void CaptureQueue::enqueue(const Batch &batch)
{
    if (batch.paths.isEmpty())
        return;
    m_pending.append(batch);
    trim();
    if (!m_running)
        runNext();
}

void CaptureQueue::trim()
{
    qsizetype waiting = 0;
    for (const Batch &batch : std::as_const(m_pending))
        waiting += batch.paths.size();
    QStringList passedOver;
    while (waiting > m_maxPending) {
        Batch &oldest = m_pending.first();
        passedOver << oldest.paths.takeFirst();
        --waiting;
        if (oldest.paths.isEmpty())
            m_pending.removeFirst();
    }
    if (!passedOver.isEmpty())
        Q_EMIT finished(passedOver);
}

void CaptureQueue::runNext()
{
    if (m_pending.isEmpty()) {
        m_running = false;
        return;
    }
    m_running = true;
    QPointer<CaptureQueue> self(this);
    m_pool->start([self, batch = m_pending.takeFirst(), folders = m_folders, thumbnailer = m_thumbnailer] {
        const InteractiveWork capturing;
        for (const QString &path : batch.paths) {
            auto capture = CaptureBuilder::buildFolderCapture(path, batch.source, batch.keepCopies, batch.justTaken,
                                                              folders);
            if (!capture)
                continue;
            QMetaObject::invokeMethod(self.data(), [self, capture = *capture] {
                if (self)
                    Q_EMIT self->built(capture);
            }, Qt::QueuedConnection);
            thumbnailer.store(capture->item.filePath(), capture->item.thumbnail);
        }
        QMetaObject::invokeMethod(self.data(), [self, paths = batch.paths] {
            if (!self)
                return;
            Q_EMIT self->finished(paths);
            self->runNext();
        }, Qt::QueuedConnection);
    });
}
