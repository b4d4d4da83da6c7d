#pragma once

#include "capture/LocalFolders.h"
#include "capture/ScreenshotItem.h"
#include "capture/Thumbnailer.h"

#include <QList>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <optional>

class Clipboard;
class FolderWatcher;
class Preferences;
class ScreenshotFolderLocator;
namespace CaptureBuilder {
struct Capture;
}

// The capture-and-history object: recognises new screenshots in the screenshot
// folder and on the clipboard, keeps the ordered history (newest first, at most
// 100), persists it, and keeps local copies. Observable state changes only on
// the main thread; file work and decoding run on the monitor's own pool.
class ScreenshotMonitor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<ScreenshotItem> screenshots READ screenshots NOTIFY screenshotsChanged)
    Q_PROPERTY(int unreadCount READ unreadCount NOTIFY unreadCountChanged)
    Q_PROPERTY(bool isPending READ isPending NOTIFY isPendingChanged)

public:
    static constexpr int maxItems = 100;
    static constexpr int popoverMaxItems = 20;

    struct Timings {
        std::chrono::milliseconds settleDelay{800};
        std::chrono::milliseconds pendingLifetime{15000};
        std::chrono::milliseconds folderPollInterval{2000};
        std::chrono::milliseconds clipboardPollInterval{800};
        // How long a capture counts as "just taken" when the same screenshot
        // arrives a second time through the other channel.
        std::chrono::milliseconds sameShotWindow{10000};
    };

    // Everything the monitor needs from the desktop; none of it is owned and
    // all of it must outlive the monitor.
    struct Dependencies {
        Preferences *preferences = nullptr;
        Clipboard *clipboard = nullptr;
        FolderWatcher *folderWatcher = nullptr;
        const ScreenshotFolderLocator *folderLocator = nullptr;
        LocalFolders folders;
        QString thumbnailCacheDir;  // empty: no thumbnail cache
        Timings timings;
    };

    // Starts the folder watch, loads the history, and starts the folder and
    // clipboard polls, in that order.
    explicit ScreenshotMonitor(const Dependencies &deps, QObject *parent = nullptr);
    ~ScreenshotMonitor() override;

    const QList<ScreenshotItem> &screenshots() const { return m_screenshots; }
    int unreadCount() const { return m_unreadCount; }
    bool isPending() const { return m_isPending; }
    const LocalFolders &folders() const { return m_folders; }
    QString watchedPath() const { return m_watchedPath; }

    void markAllRead();
    void remove(const ScreenshotItem &item);
    void removeAllDeletingTemporary();

    // Folder watch control; stop() also ends the clipboard poll.
    void start();
    void stop();
    // A screenshot tool announced a capture: the pending flag rises for a while.
    void screenshotEventFired();

    // Builds items for existing files off the main thread and inserts them in
    // the given order. Main thread.
    void addScreenshot(const QString &path, ScreenshotSource source = ScreenshotSource::mac);
    void addScreenshots(const QStringList &paths, ScreenshotSource source = ScreenshotSource::mac);

    // Clipboard capture switches.
    bool isClipboardCaptureEnabled() const;
    bool clipboardScreenshotsOnly() const;
    bool saveLocalCopies() const;
    void toggleClipboardCapture();
    // Copies an image the user asked for; the clipboard poll never sees it.
    void copyImageToClipboard(const QImage &image);

    // Local copies.
    void syncExistingToSavedShots(bool thenClearClipboard);
    void syncAll();
    void clearSavedShots();
    void clearClipboardShots();
    std::pair<int, qint64> savedShotsStats() const;

    // The clipboard poll, public so tests can drive it without waiting.
    void pollClipboard();
    // Waits for queued background work (tests and shutdown).
    void waitForBackgroundWork();

Q_SIGNALS:
    void screenshotsChanged();
    void unreadCountChanged(int unreadCount);
    void isPendingChanged(bool isPending);
    // Every finished insertion, after the list was published (benchmarks, tests).
    void captureInserted(const QString &path);

private:
    void setScreenshots(QList<ScreenshotItem> items);
    void setUnreadCount(int count);
    void setPending(bool pending);

    // The insertion step shared by folder and clipboard captures.
    void insertCapture(const CaptureBuilder::Capture &capture);
    bool isListed(const QString &path) const;
    void persistHistory();
    void loadHistory();
    void publishLoadedHistory(const QList<ScreenshotItem> &loaded);
    void dropItemsIn(const QString &folder);

    void beginWatch(bool seed);
    void stopWatch();
    void restartWatch();
    void directoryDidChange();
    void folderLost();
    void onEntryCreated(const QString &name);
    void checkFolderSetting();
    QSet<QString> listScreenshotNames() const;
    void reconcileVanished(const QSet<QString> &names);

    void startClipboardPoller();
    void saveClipboardImage(const QImage &image, const QByteArray &png, quint64 fingerprint);

    // One screenshot, one item: the desktop may save a capture to the folder
    // and put it on the clipboard as well; the folder's file is kept.
    struct RecentCapture {
        quint64 fingerprint;
        QString path;
        bool fromClipboard;
        qint64 at;
    };
    void noteSettling(const QStringList &paths);
    void settled(const QStringList &paths);
    bool folderCaptureArriving();
    // Any capture with these pixels in the window, or only clipboard ones.
    const RecentCapture *recentCapture(quint64 fingerprint, bool onlyFromClipboard);
    void rememberCapture(quint64 fingerprint, const QString &path, bool fromClipboard);
    void dropClipboardTwin(quint64 fingerprint);

    Preferences *m_preferences;
    Clipboard *m_clipboard;
    FolderWatcher *m_folderWatcher;
    const ScreenshotFolderLocator *m_folderLocator;
    LocalFolders m_folders;
    Thumbnailer m_thumbnailer;
    Timings m_timings;

    QList<ScreenshotItem> m_screenshots;
    int m_unreadCount = 0;
    bool m_isPending = false;

    QString m_watchedPath;
    bool m_watching = false;
    bool m_folderWasMissing = false;
    bool m_reportedOpenFailure = false;
    QSet<QString> m_knownFiles;
    QTimer m_pendingReset;
    QTimer m_folderPoll;
    QTimer m_clipboardPoll;

    QHash<QString, qint64> m_settling;  // folder path -> deadline (monotonic ms)
    QList<RecentCapture> m_recentCaptures;
    QElapsedTimer m_clock;

    qint64 m_lastClipboardChangeCount = 0;
    bool m_appWroteToClipboard = false;

    // Declared last so it is destroyed first: its destructor waits for the
    // background tasks, which post their results back to this object.
    QThreadPool m_pool;
};
