#include "capture/ScreenshotMonitor.h"

#include "capture/CaptureBuilder.h"
#include "capture/Clipboard.h"
#include "capture/ClipboardPolicy.h"
#include "capture/ClipboardShotWriter.h"
#include "common/Diagnostics.h"
#include "capture/FolderWatcher.h"
#include "capture/ImageFingerprint.h"
#include "capture/LocalCopies.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotFolderLocator.h"
#include "capture/ScreenshotNameRule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>

Q_LOGGING_CATEGORY(lcCapture, "tarnwick.capture")
Q_LOGGING_CATEGORY(lcClipboard, "tarnwick.clipboard")

namespace {
QStringList pathsOf(const QList<ScreenshotItem> &items)
{
    QStringList paths;
    paths.reserve(items.size());
    for (const ScreenshotItem &item : items)
        paths << item.filePath();
    return paths;
}
}  // namespace

ScreenshotMonitor::ScreenshotMonitor(const Dependencies &deps, QObject *parent)
    : QObject(parent)
    , m_preferences(deps.preferences)
    , m_clipboard(deps.clipboard)
    , m_folderWatcher(deps.folderWatcher)
    , m_folderLocator(deps.folderLocator)
    , m_folders(deps.folders)
    , m_thumbnailer(deps.thumbnailCacheDir)
    , m_timings(deps.timings)
{
    Q_ASSERT(m_preferences && m_clipboard && m_folderWatcher && m_folderLocator);
    m_clock.start();
    m_lastClipboardChangeCount = m_clipboard->changeCount();

    m_pendingReset.setSingleShot(true);
    m_pendingReset.setInterval(m_timings.pendingLifetime);
    connect(&m_pendingReset, &QTimer::timeout, this, [this] { setPending(false); });

    connect(m_folderWatcher, &FolderWatcher::changed, this, &ScreenshotMonitor::directoryDidChange);
    connect(m_folderWatcher, &FolderWatcher::folderLost, this, &ScreenshotMonitor::folderLost);
    connect(m_folderWatcher, &FolderWatcher::entryCreated, this, &ScreenshotMonitor::onEntryCreated);

    start();
    loadHistory();
    m_folderPoll.setInterval(m_timings.folderPollInterval);
    connect(&m_folderPoll, &QTimer::timeout, this, &ScreenshotMonitor::checkFolderSetting);
    m_folderPoll.start();
    startClipboardPoller();
}

ScreenshotMonitor::~ScreenshotMonitor()
{
    stop();
    m_folderPoll.stop();
    m_pool.waitForDone();
}

// ---- observable state -------------------------------------------------------

void ScreenshotMonitor::setScreenshots(QList<ScreenshotItem> items)
{
    m_screenshots = std::move(items);
    Q_EMIT screenshotsChanged();
}

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

// ---- insertion and removal -------------------------------------------------

void ScreenshotMonitor::addScreenshot(const QString &path, ScreenshotSource source)
{
    addScreenshots({path}, source);
}

void ScreenshotMonitor::addScreenshots(const QStringList &paths, ScreenshotSource source)
{
    const bool keepCopies = saveLocalCopies();
    QPointer<ScreenshotMonitor> self(this);
    const LocalFolders folders = m_folders;
    const Thumbnailer thumbnailer = m_thumbnailer;
    m_pool.start([self, paths, source, keepCopies, folders, thumbnailer] {
        // One task for the whole batch keeps the insertions in the given order.
        for (const QString &path : paths) {
            auto capture = CaptureBuilder::buildFolderCapture(path, source, keepCopies, folders);
            if (!capture)
                continue;
            QMetaObject::invokeMethod(self.data(), [self, capture = *capture] {
                if (self)
                    self->insertCapture(capture);
            }, Qt::QueuedConnection);
            thumbnailer.store(capture->item.filePath(), capture->item.thumbnail);
        }
        QMetaObject::invokeMethod(self.data(), [self, paths] {
            if (self)
                self->settled(paths);
        }, Qt::QueuedConnection);
    });
}

bool ScreenshotMonitor::isListed(const QString &path) const
{
    const QString wanted = QDir::cleanPath(path);
    return std::any_of(m_screenshots.cbegin(), m_screenshots.cend(),
                       [&](const ScreenshotItem &item) { return QDir::cleanPath(item.filePath()) == wanted; });
}

void ScreenshotMonitor::insertCapture(const CaptureBuilder::Capture &capture)
{
    const ScreenshotItem &item = capture.item;
    // A kept copy that is already listed is the same capture, offered again.
    if (isListed(capture.offeredPath) || isListed(item.filePath()))
        return;
    if (!capture.fromClipboard)
        dropClipboardTwin(capture.fingerprint);
    if (!capture.clipboardImage.isNull()) {
        m_appWroteToClipboard = true;
        m_clipboard->clearContents();
        m_clipboard->writeImage(capture.clipboardImage);
    }
    setPending(false);
    QList<ScreenshotItem> items = m_screenshots;
    items.prepend(item);
    if (items.size() > maxItems) {
        for (qsizetype i = maxItems; i < items.size(); ++i)
            m_thumbnailer.forget(items.at(i).filePath());
        items.resize(maxItems);
    }
    setScreenshots(std::move(items));
    persistHistory();
    setUnreadCount(m_unreadCount + 1);
    rememberCapture(capture.fingerprint, item.filePath(), capture.fromClipboard);
    Q_EMIT captureInserted(item.filePath());
}

void ScreenshotMonitor::remove(const ScreenshotItem &item)
{
    if (m_folders.livesInLocalFolder(item.filePath()))
        QFile::remove(item.filePath());
    m_thumbnailer.forget(item.filePath());
    QPointer<ScreenshotMonitor> self(this);
    QMetaObject::invokeMethod(this, [self, id = item.id] {
        if (!self)
            return;
        QList<ScreenshotItem> items = self->m_screenshots;
        items.removeIf([&](const ScreenshotItem &entry) { return entry.id == id; });
        self->setScreenshots(std::move(items));
        self->persistHistory();
        self->setUnreadCount(self->m_unreadCount - 1);
    }, Qt::QueuedConnection);
}

void ScreenshotMonitor::removeAllDeletingTemporary()
{
    for (const ScreenshotItem &item : std::as_const(m_screenshots)) {
        if (m_folders.livesInLocalFolder(item.filePath()))
            QFile::remove(item.filePath());
    }
    LocalCopies::deleteAll(m_folders.clipboardShots);
    m_thumbnailer.prune({});
    QPointer<ScreenshotMonitor> self(this);
    QMetaObject::invokeMethod(this, [self] {
        if (!self)
            return;
        self->setScreenshots({});
        self->persistHistory();
        self->setUnreadCount(0);
    }, Qt::QueuedConnection);
}

void ScreenshotMonitor::dropItemsIn(const QString &folder)
{
    QList<ScreenshotItem> items = m_screenshots;
    items.removeIf([&](const ScreenshotItem &item) { return LocalFolders::contains(folder, item.filePath()); });
    setScreenshots(std::move(items));
    persistHistory();
}

// ---- persistence -------------------------------------------------------------

void ScreenshotMonitor::persistHistory()
{
    m_preferences->setHistoryPaths(pathsOf(m_screenshots));
}

void ScreenshotMonitor::loadHistory()
{
    if (!m_preferences->hasHistory())
        return;
    const QStringList paths = m_preferences->historyPaths();
    const Thumbnailer thumbnailer = m_thumbnailer;
    // Thumbnails are built in parallel off the main thread; the list is published once.
    auto future = QtConcurrent::mapped(&m_pool, paths, [thumbnailer](const QString &path) {
        return CaptureBuilder::buildRestoredItem(path, thumbnailer);
    });
    future.then(this, [this](QFuture<std::optional<ScreenshotItem>> finished) {
        QList<ScreenshotItem> loaded;
        for (const auto &result : finished.results()) {
            if (result)
                loaded << *result;
        }
        publishLoadedHistory(loaded);
    });
}

void ScreenshotMonitor::publishLoadedHistory(const QList<ScreenshotItem> &loaded)
{
    if (loaded.isEmpty())
        return;  // every stored path is gone: the stored list is left as it was
    // Captures that arrived while the history was loading stay on top.
    QList<ScreenshotItem> items = m_screenshots;
    for (const ScreenshotItem &item : loaded) {
        if (items.size() >= maxItems)
            break;
        if (!isListed(item.filePath()))
            items << item;
    }
    setScreenshots(std::move(items));
    persistHistory();
    const Thumbnailer thumbnailer = m_thumbnailer;
    m_pool.start([thumbnailer, keep = pathsOf(m_screenshots)] { thumbnailer.prune(keep); });
}

// ---- folder watch -------------------------------------------------------------

void ScreenshotMonitor::start()
{
    m_watchedPath = m_folderLocator->screenshotDirectory();
    m_reportedOpenFailure = false;
    beginWatch(true);
}

void ScreenshotMonitor::stop()
{
    stopWatch();
    m_clipboardPoll.stop();
}

void ScreenshotMonitor::stopWatch()
{
    m_folderWatcher->unwatch();
    m_watching = false;
}

void ScreenshotMonitor::restartWatch()
{
    // Unlike stop(), a folder change leaves the clipboard poll running.
    stopWatch();
    start();
}

void ScreenshotMonitor::beginWatch(bool seed)
{
    const bool exists = QFileInfo(m_watchedPath).isDir();
    // The watch is in place before the listing, so nothing written in between is missed.
    if (!m_folderWatcher->watch(m_watchedPath)) {
        if (!m_reportedOpenFailure)
            Diagnostics::line(QStringLiteral("[ScreenshotMonitor] Could not open: ") + m_watchedPath);
        m_reportedOpenFailure = true;
        m_folderWasMissing = m_folderWasMissing || !exists;
        if (seed)
            m_knownFiles.clear();
        return;
    }
    m_watching = true;
    Diagnostics::line(QStringLiteral("[ScreenshotMonitor] Watching: ") + m_watchedPath);
    if (seed && !m_folderWasMissing) {
        // Screenshots already there at start are never added.
        m_knownFiles = listScreenshotNames();
        return;
    }
    // A folder that appeared after start holds nothing but new captures.
    m_folderWasMissing = false;
    directoryDidChange();
}

void ScreenshotMonitor::checkFolderSetting()
{
    const QString dir = m_folderLocator->screenshotDirectory();
    if (m_watchedPath.isEmpty() || dir != m_watchedPath) {
        Diagnostics::line(QStringLiteral("[ScreenshotMonitor] Folder changed to: ") + dir);
        m_folderWasMissing = false;
        restartWatch();
        return;
    }
    if (!m_watching)
        beginWatch(false);
}

QSet<QString> ScreenshotMonitor::listScreenshotNames() const
{
    QSet<QString> names;
    const QStringList entries = QDir(m_watchedPath).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : entries) {
        if (ScreenshotNameRule::isScreenshotName(name))
            names.insert(name);
    }
    return names;
}

void ScreenshotMonitor::directoryDidChange()
{
    if (m_watchedPath.isEmpty())
        return;
    const QSet<QString> current = listScreenshotNames();
    QStringList added = (current - m_knownFiles).values();
    const QSet<QString> vanished = m_knownFiles - current;
    m_knownFiles = current;
    if (!vanished.isEmpty())
        reconcileVanished(vanished);
    if (added.isEmpty())
        return;
    std::sort(added.begin(), added.end());
    QStringList paths;
    for (const QString &name : std::as_const(added))
        paths << m_watchedPath + QLatin1Char('/') + name;
    noteSettling(paths);
    // The settle delay lets the screenshot tool finish writing and renaming.
    QTimer::singleShot(m_timings.settleDelay, this, [this, paths] { addScreenshots(paths); });
}

void ScreenshotMonitor::folderLost()
{
    directoryDidChange();
    stopWatch();
    m_folderWasMissing = true;
    m_reportedOpenFailure = false;
}

void ScreenshotMonitor::onEntryCreated(const QString &name)
{
    // The tool is still writing: the capture is on its way.
    if (ScreenshotNameRule::isScreenshotName(name) && !m_knownFiles.contains(name)) {
        noteSettling({m_watchedPath + QLatin1Char('/') + name});
        screenshotEventFired();
    }
}

void ScreenshotMonitor::reconcileVanished(const QSet<QString> &names)
{
    QList<ScreenshotItem> items = m_screenshots;
    items.removeIf([&](const ScreenshotItem &item) {
        return names.contains(QFileInfo(item.filePath()).fileName())
            && !m_folders.livesInLocalFolder(item.filePath());
    });
    setScreenshots(std::move(items));
    persistHistory();
    setUnreadCount(std::min<int>(m_unreadCount, int(m_screenshots.size())));
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
    const bool enabled = !isClipboardCaptureEnabled();
    m_preferences->setBool(Preferences::clipboardCaptureEnabledKey, enabled);
    if (enabled) {
        // What is on the clipboard right now is not a new capture.
        m_lastClipboardChangeCount = m_clipboard->changeCount();
        Diagnostics::line(QStringLiteral("[Clipboard] Capture enabled"));
    } else {
        Diagnostics::line(QStringLiteral("[Clipboard] Capture disabled"));
    }
}

void ScreenshotMonitor::copyImageToClipboard(const QImage &image)
{
    m_appWroteToClipboard = true;
    m_clipboard->clearContents();
    m_clipboard->writeImage(image);
    m_lastClipboardChangeCount = m_clipboard->changeCount();
    m_appWroteToClipboard = false;
}

void ScreenshotMonitor::startClipboardPoller()
{
    m_clipboardPoll.setInterval(m_timings.clipboardPollInterval);
    connect(&m_clipboardPoll, &QTimer::timeout, this, &ScreenshotMonitor::pollClipboard, Qt::UniqueConnection);
    m_clipboardPoll.start();
}

void ScreenshotMonitor::pollClipboard()
{
    const qint64 count = m_clipboard->changeCount();
    if (count == m_lastClipboardChangeCount)
        return;
    m_lastClipboardChangeCount = count;
    const QStringList types = m_clipboard->types();
    Diagnostics::line(QStringLiteral("[Clipboard] changeCount delta detected — types: ")
                      + ClipboardPolicy::describeTypes(types));
    if (m_appWroteToClipboard) {
        m_appWroteToClipboard = false;
        Diagnostics::line(QStringLiteral("[Clipboard] Skipped — written by this app"));
        return;
    }
    const auto decision = ClipboardPolicy::decide(types, isClipboardCaptureEnabled(), clipboardScreenshotsOnly(),
                                                  m_isPending);
    if (!decision.line.isEmpty())
        Diagnostics::line(decision.line);
    if (decision.verdict == ClipboardPolicy::Verdict::skip)
        return;
    const Clipboard::Image offered = m_clipboard->readImage();
    if (offered.image.isNull()) {
        Diagnostics::line(QStringLiteral("[Clipboard] No image found — skipped"));
        return;
    }
    const quint64 fingerprint = ImageFingerprint::of(offered.image);
    if (folderCaptureArriving() || recentCapture(fingerprint, false)) {
        qCInfo(lcClipboard) << "skipped: the same screenshot is arriving through the watched folder";
        return;
    }
    Diagnostics::line(QStringLiteral("[Clipboard] Image found — saving..."));
    saveClipboardImage(offered.image, offered.png, fingerprint);
}

void ScreenshotMonitor::saveClipboardImage(const QImage &image, const QByteArray &png, quint64 fingerprint)
{
    const QString folder = saveLocalCopies() ? m_folders.savedShots : m_folders.clipboardShots;
    const QDateTime now = QDateTime::currentDateTime();
    const Thumbnailer thumbnailer = m_thumbnailer;
    QPointer<ScreenshotMonitor> self(this);
    m_pool.start([self, folder, now, image, png, thumbnailer, fingerprint] {
        const QString path = ClipboardShotWriter::write(folder, now, image, png);
        if (path.isEmpty()) {
            qCWarning(lcClipboard) << "could not write a clipboard capture into" << folder;
            return;
        }
        Diagnostics::line(QStringLiteral("[Clipboard] Saved: ") + QFileInfo(path).fileName());
        CaptureBuilder::Capture capture;
        capture.offeredPath = path;
        capture.item.url = QUrl::fromLocalFile(path);
        capture.item.capturedAt = now;
        capture.item.thumbnail = Thumbnailer::reduce(image);
        capture.fingerprint = fingerprint;
        capture.fromClipboard = true;
        QMetaObject::invokeMethod(self.data(), [self, capture] {
            if (!self)
                return;
            if (self->folderCaptureArriving() || self->recentCapture(capture.fingerprint, false)) {
                // The folder's copy won while this one was being written.
                QFile::remove(capture.offeredPath);
                return;
            }
            self->insertCapture(capture);
        }, Qt::QueuedConnection);
        thumbnailer.store(path, capture.item.thumbnail);
    });
}

// ---- one screenshot, one item ----------------------------------------------------

void ScreenshotMonitor::noteSettling(const QStringList &paths)
{
    const qint64 deadline = m_clock.elapsed() + m_timings.settleDelay.count() + m_timings.sameShotWindow.count();
    for (const QString &path : paths)
        m_settling.insert(path, deadline);
}

void ScreenshotMonitor::settled(const QStringList &paths)
{
    for (const QString &path : paths)
        m_settling.remove(path);
}

bool ScreenshotMonitor::folderCaptureArriving()
{
    // A deadline bounds each entry, so a file that never completes cannot
    // block clipboard capture for good.
    m_settling.removeIf([now = m_clock.elapsed()](const auto &entry) { return entry.value() < now; });
    return !m_settling.isEmpty();
}

const ScreenshotMonitor::RecentCapture *ScreenshotMonitor::recentCapture(quint64 fingerprint, bool onlyFromClipboard)
{
    const qint64 oldest = m_clock.elapsed() - m_timings.sameShotWindow.count();
    m_recentCaptures.removeIf([oldest](const RecentCapture &capture) { return capture.at < oldest; });
    if (fingerprint == 0)
        return nullptr;
    for (const RecentCapture &capture : std::as_const(m_recentCaptures)) {
        if (capture.fingerprint == fingerprint && (capture.fromClipboard || !onlyFromClipboard))
            return &capture;
    }
    return nullptr;
}

void ScreenshotMonitor::rememberCapture(quint64 fingerprint, const QString &path, bool fromClipboard)
{
    if (fingerprint != 0)
        m_recentCaptures.append({fingerprint, path, fromClipboard, m_clock.elapsed()});
}

void ScreenshotMonitor::dropClipboardTwin(quint64 fingerprint)
{
    const RecentCapture *twin = recentCapture(fingerprint, true);
    if (!twin)
        return;
    const QString path = twin->path;
    m_recentCaptures.removeIf([&](const RecentCapture &capture) { return capture.path == path; });
    QList<ScreenshotItem> items = m_screenshots;
    const auto removed = items.removeIf([&](const ScreenshotItem &item) { return item.filePath() == path; });
    if (removed == 0)
        return;
    if (m_folders.livesInLocalFolder(path))
        QFile::remove(path);
    m_thumbnailer.forget(path);
    setScreenshots(std::move(items));
    setUnreadCount(m_unreadCount - 1);
}

void ScreenshotMonitor::waitForBackgroundWork()
{
    m_pool.waitForDone();
}

// ---- local copies ------------------------------------------------------------------

void ScreenshotMonitor::syncExistingToSavedShots(bool thenClearClipboard)
{
    const QList<ScreenshotItem> items = m_screenshots;
    const LocalFolders folders = m_folders;
    QPointer<ScreenshotMonitor> self(this);
    m_pool.start([self, items, folders, thenClearClipboard] {
        QDir().mkpath(folders.savedShots);
        QList<std::pair<QUuid, QString>> updates;
        for (const ScreenshotItem &item : items) {
            if (item.source != ScreenshotSource::mac || !QFileInfo(item.filePath()).isFile())
                continue;
            const QString name = QFileInfo(item.filePath()).fileName();
            if (LocalCopies::copyIfAbsent(item.filePath(), folders.savedShots))
                Diagnostics::line(QStringLiteral("[SavedShots] Synced existing: ") + name);
            if (!LocalFolders::contains(folders.savedShots, item.filePath()))
                updates.append({item.id, folders.savedShots + QLatin1Char('/') + name});
        }
        const QStringList orphans = LocalCopies::candidates(folders.clipboardShots, [](const QString &) { return true; });
        for (const QString &name : orphans) {
            if (LocalCopies::copyIfAbsent(folders.clipboardShots + QLatin1Char('/') + name, folders.savedShots))
                Diagnostics::line(QStringLiteral("[SavedShots] Synced orphan clipboard: ") + name);
        }
        QMetaObject::invokeMethod(self.data(), [self, updates, thenClearClipboard] {
            if (!self)
                return;
            QList<ScreenshotItem> current = self->m_screenshots;
            for (const auto &[id, dest] : updates) {
                for (ScreenshotItem &item : current) {
                    if (item.id == id)
                        item.url = QUrl::fromLocalFile(dest);
                }
            }
            self->setScreenshots(std::move(current));
            self->persistHistory();
            if (thenClearClipboard)
                self->clearClipboardShots();
        }, Qt::QueuedConnection);
    });
}

void ScreenshotMonitor::syncAll()
{
    QSet<QString> known;
    for (const QString &path : pathsOf(m_screenshots))
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
    offerUnlisted(m_watchedPath, ScreenshotNameRule::isScreenshotName);
    offerUnlisted(m_folders.clipboardShots, ScreenshotNameRule::isClipboardShotName);
    offerUnlisted(m_folders.savedShots, ScreenshotNameRule::isScreenshotName);
    if (!offers.isEmpty())
        addScreenshots(offers);
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
