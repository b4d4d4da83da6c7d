#pragma once

#include "capture/CaptureQueue.h"
#include "capture/ClipboardCapture.h"
#include "capture/FolderCapture.h"
#include "capture/LocalFolders.h"
#include "capture/ScreenshotHistory.h"
#include "capture/ScreenshotItem.h"
#include "capture/Thumbnailer.h"

#include <QList>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <chrono>

class Clipboard;
class FolderWatcher;
class Preferences;
class ScreenshotFolderLocator;

// The capture-and-history object: recognises new screenshots in the screenshot
// folder and on the clipboard, keeps the ordered history (newest first, at most
// 100), persists it, and keeps local copies. It owns the unread count and the
// pending flag and delegates the rest to its history, folder capture and
// clipboard capture. Observable state changes only on the main thread; file
// work and decoding run on the monitor's own pool.
class ScreenshotMonitor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<ScreenshotItem> screenshots READ screenshots NOTIFY screenshotsChanged)
    Q_PROPERTY(int unreadCount READ unreadCount NOTIFY unreadCountChanged)
    Q_PROPERTY(bool isPending READ isPending NOTIFY isPendingChanged)

public:
    static constexpr int maxItems = ScreenshotHistory::maxItems;
    static constexpr int popoverMaxItems = 20;

    struct Timings {
        std::chrono::milliseconds settleDelay{800};
        std::chrono::milliseconds pendingLifetime{15000};
        std::chrono::milliseconds folderPollInterval{2000};
        std::chrono::milliseconds missingFolderPollInterval{500};
        std::chrono::milliseconds clipboardPollInterval{800};
        // How long a capture counts as "just taken" when the same screenshot
        // arrives a second time through the other channel.
        std::chrono::milliseconds sameShotWindow{10000};
        // How long past the settle delay a file still being written may hold
        // back a clipboard image.
        std::chrono::milliseconds settleBound{3000};
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

    const QList<ScreenshotItem> &screenshots() const { return m_history.items(); }
    int unreadCount() const { return m_unreadCount; }
    bool isPending() const { return m_isPending; }
    const LocalFolders &folders() const { return m_folders; }
    QString watchedPath() const { return m_folderCapture.watchedPath(); }

    void markAllRead();
    void remove(const ScreenshotItem &item);
    void removeAllDeletingTemporary();

    // Folder watch and clipboard poll.
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
    // Replaces the clipboard's contents with plain text.
    void copyTextToClipboard(const QString &text);

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
    void setUnreadCount(int count);
    void setPending(bool pending);

    // Builds and inserts existing files; only captures just taken go to the clipboard.
    void insertFiles(const QStringList &paths, ScreenshotSource source, bool justTaken);
    // The insertion step shared by folder and clipboard captures.
    void insertCapture(const CaptureBuilder::Capture &capture);
    void dropClipboardTwin(quint64 fingerprint);
    void dropItemsIn(const QString &folder);
    void reconcileVanished(const QSet<QString> &names);

    Preferences *m_preferences;
    LocalFolders m_folders;
    Thumbnailer m_thumbnailer;
    Timings m_timings;

    int m_unreadCount = 0;
    bool m_isPending = false;
    QTimer m_pendingReset;

    ScreenshotHistory m_history;
    FolderCapture m_folderCapture;
    ClipboardCapture m_clipboardCapture;
    CaptureQueue m_captureQueue;

    // Declared last so it is destroyed first: its destructor waits for the
    // background tasks, which post their results back to this object.
    QThreadPool m_pool;
};
