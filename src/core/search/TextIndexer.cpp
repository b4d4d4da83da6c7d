#include "search/TextIndexer.h"

#include "capture/ScreenshotMonitor.h"
#include "common/InteractiveWork.h"
#include "search/CaptureIndex.h"
#include "search/CaptureReader.h"

#include <QDateTime>
#include <QPointer>
#include <QThread>

#include <algorithm>

using namespace std::chrono;

namespace {

qint64 steadyNowMs()
{
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TextIndexer::TextIndexer(Dependencies deps, QObject *parent)
    : QObject(parent)
    , m_deps(std::move(deps))
{
    m_pool.setMaxThreadCount(1);
    m_pool.setThreadPriority(QThread::IdlePriority);
    // What the reader holds lives in its thread: ending the thread gives it back.
    m_pool.setExpiryTimeout(int(m_deps.timings.engineRelease.count()));
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TextIndexer::scheduleNext);
    connect(m_deps.monitor, &ScreenshotMonitor::screenshotsChanged, this, &TextIndexer::reconcile);
}

TextIndexer::~TextIndexer()
{
    m_pool.waitForDone();
}

void TextIndexer::waitForBackgroundWork()
{
    m_pool.waitForDone();
}

template <typename Work, typename Then>
void TextIndexer::onWorker(Work work, Then then)
{
    QPointer<TextIndexer> self(this);
    m_pool.start([self, generation = m_generation, work = std::move(work), then = std::move(then)] {
        auto result = work();
        QMetaObject::invokeMethod(self.data(), [self, generation, then, result = std::move(result)] {
            if (self && generation == self->m_generation)
                then(result);
        }, Qt::QueuedConnection);
    });
}

void TextIndexer::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    ++m_generation;
    m_open = false;
    m_reading = false;  // a read still running reports to no one; the worker runs one task at a time
    m_done.clear();
    m_rows.clear();
    m_notBefore.clear();
    m_retry.stop();
    if (on) {
        open();
    } else {
        CaptureIndex *index = m_deps.index;
        m_pool.start([index] { index->destroy(); });
    }
    Q_EMIT progressChanged();
}

void TextIndexer::open()
{
    CaptureIndex *index = m_deps.index;
    onWorker([index] { return index->open() ? std::optional<QStringList>(index->paths()) : std::nullopt; },
             [this](const std::optional<QStringList> &rows) {
                 m_open = rows.has_value();
                 if (rows)
                     m_rows = QSet<QString>(rows->begin(), rows->end());
                 Q_EMIT opened(m_open);
                 reconcile();
             });
}

QSet<QString> TextIndexer::historyPaths() const
{
    QSet<QString> paths;
    for (const ScreenshotItem &item : m_deps.monitor->screenshots())
        paths.insert(item.filePath());
    return paths;
}

// Rows of captures that left the history go, also those that left while the
// program was not running.
void TextIndexer::reconcile()
{
    if (!m_open)
        return;
    const QSet<QString> history = historyPaths();
    const QSet<QString> stale = m_rows - history;
    m_done.intersect(history);
    if (!stale.isEmpty()) {
        m_rows -= stale;
        CaptureIndex *index = m_deps.index;
        m_pool.start([index, stale, all = history.isEmpty()] {
            if (all)
                return index->clear();
            for (const QString &path : stale)
                index->remove(path);
        });
    }
    Q_EMIT progressChanged();
    scheduleNext();
}

void TextIndexer::armRetry(milliseconds delay)
{
    if (!m_retry.isActive() || m_retry.remainingTimeAsDuration() > delay)
        m_retry.start(delay);
}

void TextIndexer::scheduleNext()
{
    if (!m_open || m_reading)
        return;
    const qint64 now = steadyNowMs();
    if (now < m_pausedUntil)
        return armRetry(milliseconds(m_pausedUntil - now));
    std::optional<qint64> wake;
    for (const ScreenshotItem &item : m_deps.monitor->screenshots()) {
        const QString path = item.filePath();
        if (m_done.contains(path))
            continue;
        const qint64 notBefore = m_notBefore.value(path, 0);
        if (notBefore > now) {
            wake = std::min(wake.value_or(notBefore), notBefore);
            continue;
        }
        m_reading = true;
        onWorker([this, path] { return indexOne(path); },
                 [this, path](const Result &result) { finish(path, result); });
        return;
    }
    if (wake)
        armRetry(milliseconds(*wake - now));
}

TextIndexer::Result TextIndexer::indexOne(const QString &path) const
{
    const std::optional<FileIdentity> identity = FileIdentity::of(path);
    if (!identity)
        return {Outcome::gone};
    const milliseconds settle = m_deps.timings.settleDelay;
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - identity->modifiedMs;
    if (age >= 0 && age < settle.count())
        return {Outcome::unsettled, settle - milliseconds(age)};
    if (m_deps.index->isIndexed(path, *identity))
        return {Outcome::known};
    if (InteractiveWork::isRunning())
        return {Outcome::busy};
    std::optional<CaptureContent> content = m_deps.reader->read(path);
    if (!content)
        return {Outcome::unreadable};
    // Written to while it was read: read again once it is still.
    if (FileIdentity::of(path) != identity)
        return {Outcome::unsettled, settle};
    m_deps.index->upsert({path, *identity, std::move(content->text), std::move(content->codes)});
    return {Outcome::indexed};
}

void TextIndexer::finish(const QString &path, const Result &result)
{
    m_reading = false;
    switch (result.outcome) {
    case Outcome::indexed:
    case Outcome::known:
        m_rows.insert(path);
        [[fallthrough]];
    case Outcome::unreadable:
    case Outcome::gone:
        m_done.insert(path);
        break;
    case Outcome::unsettled:
        m_notBefore.insert(path, steadyNowMs() + result.retryIn.count());
        break;
    case Outcome::busy:
        m_pausedUntil = steadyNowMs() + m_deps.timings.yieldDelay.count();
        break;
    }
    // Removed while it was being read.
    if (m_rows.contains(path) && !historyPaths().contains(path))
        return reconcile();
    Q_EMIT progressChanged();
    scheduleNext();
}

int TextIndexer::indexedCount() const
{
    return int(std::count_if(m_deps.monitor->screenshots().cbegin(), m_deps.monitor->screenshots().cend(),
                             [this](const ScreenshotItem &item) { return m_done.contains(item.filePath()); }));
}

int TextIndexer::totalCount() const
{
    return int(m_deps.monitor->screenshots().size());
}
