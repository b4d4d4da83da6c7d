#pragma once

#include "capture/CaptureBuilder.h"
#include "capture/Clipboard.h"
#include "capture/LocalFolders.h"
#include "capture/Thumbnailer.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class Preferences;
class QThreadPool;

// Captures images that appear on the clipboard: polls its change count,
// applies the capture switches, keeps the app's own writes out, and writes
// each accepted image as a PNG file before handing it over. Also holds the
// "one screenshot, one item" memory: the desktop may save a capture to the
// folder and put it on the clipboard as well, and the folder's file is kept.
// Main thread only; encoding and writing run on the given pool.
class ClipboardCapture : public QObject
{
    Q_OBJECT

public:
    struct Timings {
        std::chrono::milliseconds pollInterval{800};
        std::chrono::milliseconds settleDelay{800};
        // How long a capture counts as "just taken" when the same screenshot
        // arrives a second time through the other channel.
        std::chrono::milliseconds sameShotWindow{10000};
        // How long past its settle delay a screenshot file still being written
        // may hold back a clipboard image, so a file that never completes
        // cannot keep clipboard capture waiting.
        std::chrono::milliseconds settleBound{3000};
    };
    struct Dependencies {
        Clipboard *clipboard = nullptr;
        Preferences *preferences = nullptr;
        LocalFolders folders;
        Thumbnailer thumbnailer;
        QThreadPool *pool = nullptr;
        // Whether a screenshot tool announced a capture.
        std::function<bool()> isPending;
        Timings timings;
    };

    explicit ClipboardCapture(const Dependencies &deps, QObject *parent = nullptr);

    void start();
    void stop();
    void poll();

    void toggle();
    // Copies an image the user asked for; the poll never captures it.
    void copyImage(const QImage &image);
    // Puts plain text on the clipboard. Not marked as the app's own: capture
    // takes only images, so text never comes back as an item.
    void copyText(const QString &text);
    // Puts a new folder capture on the clipboard; the poll never captures it.
    void offerCapture(const CaptureBuilder::Capture &capture);

    // One screenshot, one item.
    void noteSettling(const QStringList &paths);
    void settled(const QStringList &paths);
    void remember(const CaptureBuilder::Capture &capture);
    // The path of a clipboard capture of the last moments with these pixels,
    // now forgotten; empty when there is none.
    QString takeClipboardTwin(quint64 fingerprint);

Q_SIGNALS:
    void captured(const CaptureBuilder::Capture &capture);

private:
    struct RecentCapture {
        quint64 fingerprint;
        QString path;
        bool fromClipboard;
        qint64 at;
    };

    // An image read while screenshot files were settling: it waits for them,
    // since it may be the same screenshot.
    struct Parked {
        QImage image;
        QByteArray png;
        quint64 fingerprint;
    };

    void rememberOwn(quint64 fingerprint);
    // An image read off the clipboard, with its fingerprint taken off the main thread too.
    struct Read {
        Clipboard::Image offered;
        quint64 fingerprint = 0;
    };
    // Returns whether an image is now being read.
    bool typesRead(const QStringList &types, bool ours);
    void imageRead(const Clipboard::Image &offered, quint64 fingerprint);
    void readDone();
    void consider(const Parked &offer);
    void releaseParked();
    void scheduleRelease();
    void save(const QImage &image, const QByteArray &png, quint64 fingerprint);
    bool folderCaptureArriving();
    // Any capture with these pixels in the window, or only clipboard ones.
    const RecentCapture *recentCapture(quint64 fingerprint, bool onlyFromClipboard);

    Clipboard *m_clipboard;
    Preferences *m_preferences;
    LocalFolders m_folders;
    Thumbnailer m_thumbnailer;
    QThreadPool *m_pool;
    std::function<bool()> m_isPending;
    Timings m_timings;

    QTimer m_poll;
    qint64 m_lastChangeCount = 0;
    bool m_reading = false;    // types or an image are being read off the main thread
    bool m_pollAgain = false;  // a poll came while it was

    // Fingerprints of the last images this app wrote, so that one coming
    // back (a clipboard manager re-owning it, changes merged by the poll) is
    // never captured.
    QList<quint64> m_ownWrites;

    QElapsedTimer m_clock;
    QHash<QString, qint64> m_settling;  // folder path -> deadline (monotonic ms)
    QList<RecentCapture> m_recentCaptures;
    QList<Parked> m_parked;
    QTimer m_parkedDeadline;
};
