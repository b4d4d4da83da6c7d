#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>

class FolderWatcher;
class ScreenshotFolderLocator;

// Watches the screenshot folder: finds screenshot files that appear after the
// watch began, lets each batch settle, notices files that vanish, and follows
// the folder setting when it changes. Main thread only.
class FolderCapture : public QObject
{
    Q_OBJECT

public:
    struct Timings {
        std::chrono::milliseconds settleDelay{800};
        std::chrono::milliseconds pollInterval{2000};
        // While the folder is missing or cannot be watched: a folder made
        // again is then watched soon after, not a whole poll later.
        std::chrono::milliseconds missingPollInterval{500};
    };

    FolderCapture(FolderWatcher *watcher, const ScreenshotFolderLocator *locator, Timings timings,
                  QObject *parent = nullptr);

    // Locates the folder, watches it and starts the folder-setting poll.
    void start();
    void stop();
    QString watchedPath() const { return m_watchedPath; }

Q_SIGNALS:
    // New screenshot files were listed; they are handed over after the settle delay.
    void filesArriving(const QStringList &paths);
    void filesSettled(const QStringList &paths);
    // A screenshot file was created and is still being written.
    void fileBeingWritten(const QString &path);
    // Names of screenshot files that left the folder.
    void filesVanished(const QSet<QString> &names);

private:
    void watchLocated();
    void beginWatch(bool seed);
    void stopWatch();
    void setWatching(bool watching);
    void checkFolderSetting();
    void directoryDidChange();
    void folderLost();
    void onEntryCreated(const QString &name);
    QSet<QString> listScreenshotNames() const;

    FolderWatcher *m_watcher;
    const ScreenshotFolderLocator *m_locator;
    Timings m_timings;
    QTimer m_poll;

    QString m_watchedPath;
    bool m_watching = false;
    bool m_folderWasMissing = false;
    bool m_reportedOpenFailure = false;
    QSet<QString> m_knownFiles;
};
