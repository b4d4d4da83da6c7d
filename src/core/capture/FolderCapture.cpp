#include "capture/FolderCapture.h"

#include "capture/FolderWatcher.h"
#include "capture/ScreenshotFolderLocator.h"
#include "capture/ScreenshotNameRule.h"
#include "common/Diagnostics.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

FolderCapture::FolderCapture(FolderWatcher *watcher, const ScreenshotFolderLocator *locator, Timings timings,
                             QObject *parent)
    : QObject(parent)
    , m_watcher(watcher)
    , m_locator(locator)
    , m_timings(timings)
{
    connect(m_watcher, &FolderWatcher::changed, this, &FolderCapture::directoryDidChange);
    connect(m_watcher, &FolderWatcher::folderLost, this, &FolderCapture::folderLost);
    connect(m_watcher, &FolderWatcher::entryCreated, this, &FolderCapture::onEntryCreated);
    m_poll.setInterval(m_timings.missingPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &FolderCapture::checkFolderSetting);
}

void FolderCapture::start()
{
    watchLocated();
    m_poll.start();
}

void FolderCapture::stop()
{
    m_poll.stop();
    stopWatch();
}

void FolderCapture::watchLocated()
{
    m_watchedPath = m_locator->screenshotDirectory();
    m_reportedOpenFailure = false;
    beginWatch(true);
}

void FolderCapture::stopWatch()
{
    m_watcher->unwatch();
    setWatching(false);
}

void FolderCapture::setWatching(bool watching)
{
    m_watching = watching;
    const auto interval = watching ? m_timings.pollInterval : m_timings.missingPollInterval;
    if (m_poll.intervalAsDuration() != interval)
        m_poll.setInterval(interval);  // restarts a running poll, so only on a change
}

void FolderCapture::beginWatch(bool seed)
{
    const bool exists = QFileInfo(m_watchedPath).isDir();
    // The watch is in place before the listing, so nothing written in between is missed.
    if (!m_watcher->watch(m_watchedPath)) {
        if (!m_reportedOpenFailure)
            Diagnostics::line(QStringLiteral("[ScreenshotMonitor] Could not open: ") + m_watchedPath);
        m_reportedOpenFailure = true;
        m_folderWasMissing = m_folderWasMissing || !exists;
        // Files already there are never captures, even when the watch only
        // succeeds on a later poll (watch limit reached, permissions).
        if (seed)
            m_knownFiles = exists ? listScreenshotNames() : QSet<QString>();
        return;
    }
    setWatching(true);
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

void FolderCapture::checkFolderSetting()
{
    const QString dir = m_locator->screenshotDirectory();
    if (m_watchedPath.isEmpty() || dir != m_watchedPath) {
        Diagnostics::line(QStringLiteral("[ScreenshotMonitor] Folder changed to: ") + dir);
        m_folderWasMissing = false;
        stopWatch();
        watchLocated();
        return;
    }
    if (!m_watching)
        beginWatch(false);
}

QSet<QString> FolderCapture::listScreenshotNames() const
{
    QSet<QString> names;
    const QStringList entries = QDir(m_watchedPath).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : entries) {
        if (ScreenshotNameRule::isScreenshotName(name))
            names.insert(name);
    }
    return names;
}

void FolderCapture::directoryDidChange()
{
    if (m_watchedPath.isEmpty())
        return;
    QSet<QString> current = listScreenshotNames();
    // New entries that appeared while the folder was listed are left for the
    // next listing, which their own events bring: a listing may miss some of
    // them and include later ones, and a burst would lose its order.
    const QSet<QString> arrived = m_watcher->takeArrivals();
    current.removeIf([&](const QString &name) { return arrived.contains(name) && !m_knownFiles.contains(name); });
    QStringList added = (current - m_knownFiles).values();
    const QSet<QString> vanished = m_knownFiles - current;
    m_knownFiles = current;
    if (!vanished.isEmpty())
        Q_EMIT filesVanished(vanished);
    if (added.isEmpty())
        return;
    std::sort(added.begin(), added.end());
    QStringList paths;
    for (const QString &name : std::as_const(added))
        paths << m_watchedPath + QLatin1Char('/') + name;
    Q_EMIT filesArriving(paths);
    // The settle delay lets the screenshot tool finish writing and renaming.
    QTimer::singleShot(m_timings.settleDelay, this, [this, paths] { Q_EMIT filesSettled(paths); });
}

void FolderCapture::folderLost()
{
    directoryDidChange();
    stopWatch();
    m_folderWasMissing = true;
    m_reportedOpenFailure = false;
}

void FolderCapture::onEntryCreated(const QString &name)
{
    if (ScreenshotNameRule::isScreenshotName(name) && !m_knownFiles.contains(name))
        Q_EMIT fileBeingWritten(m_watchedPath + QLatin1Char('/') + name);
}
