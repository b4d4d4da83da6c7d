#include "capture/ScreenshotMonitor.h"

#include "capture/CaptureBuilder.h"
#include "capture/LocalCopies.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotNameRule.h"
#include "common/Diagnostics.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

namespace {
ClipboardCapture::Dependencies clipboardDependencies(const ScreenshotMonitor::Dependencies &deps,
                                                     const Thumbnailer &thumbnailer, QThreadPool *pool,
                                                     std::function<bool()> isPending)
{
    ClipboardCapture::Dependencies result;
    result.clipboard = deps.clipboard;
    result.preferences = deps.preferences;
    result.folders = deps.folders;
    result.thumbnailer = thumbnailer;
    result.pool = pool;
    result.isPending = std::move(isPending);
    result.timings = {deps.timings.clipboardPollInterval, deps.timings.settleDelay, deps.timings.sameShotWindow,
                      deps.timings.settleBound};
    return result;
}
}  // namespace

ScreenshotMonitor::ScreenshotMonitor(const Dependencies &deps, QObject *parent)
    : QObject(parent)
    , m_preferences(deps.preferences)
    , m_folders(deps.folders)
    , m_thumbnailer(deps.thumbnailCacheDir)
    , m_timings(deps.timings)
    , m_history(deps.preferences, m_thumbnailer, &m_pool)
    , m_folderCapture(deps.folderWatcher, deps.folderLocator,
                      {deps.timings.settleDelay, deps.timings.folderPollInterval,
                       deps.timings.missingFolderPollInterval})
    , m_clipboardCapture(clipboardDependencies(deps, m_thumbnailer, &m_pool, [this] { return m_isPending; }))
    , m_captureQueue(deps.folders, m_thumbnailer, &m_pool, maxItems)
{
    Q_ASSERT(m_preferences && deps.clipboard && deps.folderWatcher && deps.folderLocator);
    m_pendingReset.setSingleShot(true);
    m_pendingReset.setInterval(m_timings.pendingLifetime);
    connect(&m_pendingReset, &QTimer::timeout, this, [this] { setPending(false); });

    connect(&m_history, &ScreenshotHistory::changed, this, &ScreenshotMonitor::screenshotsChanged);
    connect(&m_folderCapture, &FolderCapture::filesArriving, &m_clipboardCapture, &ClipboardCapture::noteSettling);
    connect(&m_folderCapture, &FolderCapture::filesSettled, this, [this](const QStringList &paths) {
        addScreenshots(paths);
    });
    connect(&m_folderCapture, &FolderCapture::filesVanished, this, &ScreenshotMonitor::reconcileVanished);
    connect(&m_folderCapture, &FolderCapture::fileBeingWritten, this, [this](const QString &path) {
        // The tool is still writing: the capture is on its way.
        m_clipboardCapture.noteSettling({path});
        screenshotEventFired();
    });
    connect(&m_clipboardCapture, &ClipboardCapture::captured, this, &ScreenshotMonitor::insertCapture);
    connect(&m_captureQueue, &CaptureQueue::built, this, &ScreenshotMonitor::insertCapture);
    connect(&m_captureQueue, &CaptureQueue::finished, &m_clipboardCapture, &ClipboardCapture::settled);

    m_folderCapture.start();
    m_history.load();
    m_clipboardCapture.start();
}

ScreenshotMonitor::~ScreenshotMonitor()
{
    stop();
    m_pool.waitForDone();
}

void ScreenshotMonitor::start()
{
    m_folderCapture.start();
    m_clipboardCapture.start();
}

void ScreenshotMonitor::stop()
{
    m_folderCapture.stop();
    m_clipboardCapture.stop();
}

void ScreenshotMonitor::waitForBackgroundWork()
{
    m_pool.waitForDone();
}

// ---- observable state -------------------------------------------------------

void ScreenshotMonitor::setUnreadCount(int count)
{
    count = std::max(count, 0);
    if (count == m_unreadCount)
        return;
    m_unreadCount = count;
    Q_EMIT unreadCountChanged(count);
}

void ScreenshotMonitor::setPending(bool pending)
{
    if (!pending)
        m_pendingReset.stop();
    if (pending == m_isPending)
        return;
    m_isPending = pending;
    Q_EMIT isPendingChanged(pending);
}

void ScreenshotMonitor::markAllRead()
{
    QMetaObject::invokeMethod(this, [this] { setUnreadCount(0); }, Qt::QueuedConnection);
}

void ScreenshotMonitor::screenshotEventFired()
{
    Diagnostics::line(QStringLiteral("[Darwin] screenshotEventFired called"));
    QPointer<ScreenshotMonitor> self(this);
    QMetaObject::invokeMethod(this, [self] {
        if (!self)
            return;
        self->setPending(true);
        self->m_pendingReset.start();
    }, Qt::QueuedConnection);
}

// ---- insertion and removal -------------------------------------------------

void ScreenshotMonitor::addScreenshot(const QString &path, ScreenshotSource source)
{
    addScreenshots({path}, source);
}

void ScreenshotMonitor::addScreenshots(const QStringList &paths, ScreenshotSource source)
{
    insertFiles(paths, source, true);
}

void ScreenshotMonitor::insertFiles(const QStringList &paths, ScreenshotSource source, bool justTaken)
{
    m_captureQueue.enqueue({paths, source, justTaken, saveLocalCopies()});
}

void ScreenshotMonitor::insertCapture(const CaptureBuilder::Capture &capture)
{
    const ScreenshotItem &item = capture.item;
    // A kept copy that is already listed is the same capture, offered again.
    if (m_history.contains(capture.offeredPath) || m_history.contains(item.filePath()))
        return;
    if (!capture.fromClipboard)
        dropClipboardTwin(capture.fingerprint);
    if (!capture.clipboardBytes.isEmpty())
        m_clipboardCapture.offerCapture(capture);
    setPending(false);
    m_history.prepend(item);
    setUnreadCount(m_unreadCount + 1);
    m_clipboardCapture.remember(capture);
    Q_EMIT captureInserted(item.filePath());
}

void ScreenshotMonitor::dropClipboardTwin(quint64 fingerprint)
{
    const QString path = m_clipboardCapture.takeClipboardTwin(fingerprint);
    if (path.isEmpty() || m_history.removeIf([&](const ScreenshotItem &item) { return item.filePath() == path; }) == 0)
        return;
    LocalCopies::deleteKept(m_folders, path);
    m_thumbnailer.forget(path);
    setUnreadCount(m_unreadCount - 1);
}

void ScreenshotMonitor::remove(const ScreenshotItem &item)
{
    LocalCopies::deleteKept(m_folders, item.filePath());
    m_thumbnailer.forget(item.filePath());
    QPointer<ScreenshotMonitor> self(this);
    QMetaObject::invokeMethod(this, [self, id = item.id] {
        if (!self)
            return;
        self->m_history.removeIf([&](const ScreenshotItem &entry) { return entry.id == id; });
        self->setUnreadCount(self->m_unreadCount - 1);
    }, Qt::QueuedConnection);
}

void ScreenshotMonitor::removeAllDeletingTemporary()
{
    for (const ScreenshotItem &item : m_history.items())
        LocalCopies::deleteKept(m_folders, item.filePath());
    LocalCopies::deleteAll(m_folders.clipboardShots);
    m_thumbnailer.prune({});
    QPointer<ScreenshotMonitor> self(this);
    QMetaObject::invokeMethod(this, [self] {
        if (!self)
            return;
        self->m_history.removeIf([](const ScreenshotItem &) { return true; });
        self->setUnreadCount(0);
    }, Qt::QueuedConnection);
}

void ScreenshotMonitor::dropItemsIn(const QString &folder)
{
    m_history.removeIf([&](const ScreenshotItem &item) { return LocalFolders::contains(folder, item.filePath()); });
}

void ScreenshotMonitor::reconcileVanished(const QSet<QString> &names)
{
    m_history.removeIf([&](const ScreenshotItem &item) {
        return names.contains(QFileInfo(item.filePath()).fileName()) && !m_folders.livesInLocalFolder(item.filePath());
    });
    setUnreadCount(std::min<int>(m_unreadCount, int(m_history.items().size())));
}

// ---- clipboard capture ----------------------------------------------------------

bool ScreenshotMonitor::isClipboardCaptureEnabled() const
{
    return m_preferences->isClipboardCaptureEnabled();
}

bool ScreenshotMonitor::clipboardScreenshotsOnly() const
{
    return m_preferences->clipboardScreenshotsOnly();
}

bool ScreenshotMonitor::saveLocalCopies() const
{
    return m_preferences->saveLocalCopies();
}

void ScreenshotMonitor::toggleClipboardCapture()
{
    m_clipboardCapture.toggle();
}

void ScreenshotMonitor::copyImageToClipboard(const QImage &image)
{
    m_clipboardCapture.copyImage(image);
}

void ScreenshotMonitor::copyTextToClipboard(const QString &text)
{
    m_clipboardCapture.copyText(text);
}

void ScreenshotMonitor::pollClipboard()
{
    m_clipboardCapture.poll();
}

// ---- local copies ------------------------------------------------------------------

void ScreenshotMonitor::syncExistingToSavedShots(bool thenClearClipboard)
{
    QPointer<ScreenshotMonitor> self(this);
    m_pool.start([self, items = m_history.items(), folders = m_folders, thenClearClipboard] {
        using LocalCopies::CopyResult;
        QList<std::pair<QUuid, QString>> moves;
        for (const ScreenshotItem &item : items) {
            if (item.source != ScreenshotSource::mac || !QFileInfo(item.filePath()).isFile())
                continue;
            const QString name = QFileInfo(item.filePath()).fileName();
            const CopyResult result = LocalCopies::copyIfAbsent(item.filePath(), folders.savedShots);
            if (result == CopyResult::copied)
                Diagnostics::line(QStringLiteral("[SavedShots] Synced existing: ") + name);
            // Re-pointed only once a complete copy is there.
            if (result != CopyResult::failed && !LocalFolders::contains(folders.savedShots, item.filePath()))
                moves.append({item.id, folders.savedShots + QLatin1Char('/') + name});
        }
        const QStringList orphans = LocalCopies::candidates(folders.clipboardShots, [](const QString &) { return true; });
        for (const QString &name : orphans) {
            const QString path = folders.clipboardShots + QLatin1Char('/') + name;
            if (LocalCopies::copyIfAbsent(path, folders.savedShots) == CopyResult::copied)
                Diagnostics::line(QStringLiteral("[SavedShots] Synced orphan clipboard: ") + name);
        }
        if (thenClearClipboard)
            LocalCopies::deleteCopied(folders.clipboardShots, folders.savedShots);
        QMetaObject::invokeMethod(self.data(), [self, moves, clipboardShots = folders.clipboardShots] {
            if (!self)
                return;
            self->m_history.repoint(moves);
            self->m_history.removeIf([&](const ScreenshotItem &item) {
                return LocalFolders::contains(clipboardShots, item.filePath()) && !QFileInfo::exists(item.filePath());
            });
        }, Qt::QueuedConnection);
    });
}

void ScreenshotMonitor::syncAll()
{
    QSet<QString> known;
    for (const QString &path : m_history.paths())
        known.insert(QDir::cleanPath(path));
    QStringList offers;
    const auto offerUnlisted = [&](const QString &folder, const std::function<bool(const QString &)> &rule) {
        const QStringList names = LocalCopies::candidates(folder, rule);
        for (auto it = names.crbegin(); it != names.crend(); ++it) {
            const QString path = QDir::cleanPath(folder + QLatin1Char('/') + *it);
            if (!known.contains(path)) {
                known.insert(path);
                offers << path;
            }
        }
    };
    offerUnlisted(watchedPath(), ScreenshotNameRule::isScreenshotName);
    offerUnlisted(m_folders.clipboardShots, ScreenshotNameRule::isClipboardShotName);
    offerUnlisted(m_folders.savedShots, ScreenshotNameRule::isScreenshotName);
    if (!offers.isEmpty())
        insertFiles(offers, ScreenshotSource::mac, false);
}

void ScreenshotMonitor::clearSavedShots()
{
    if (LocalCopies::deleteAll(m_folders.savedShots))
        dropItemsIn(m_folders.savedShots);
}

void ScreenshotMonitor::clearClipboardShots()
{
    if (LocalCopies::deleteAll(m_folders.clipboardShots))
        dropItemsIn(m_folders.clipboardShots);
}

std::pair<int, qint64> ScreenshotMonitor::savedShotsStats() const
{
    const LocalCopies::Stats stats = LocalCopies::stats(m_folders.savedShots);
    return {stats.count, stats.totalSize};
}
