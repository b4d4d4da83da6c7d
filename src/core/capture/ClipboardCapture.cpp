#include "capture/ClipboardCapture.h"

#include "capture/Clipboard.h"
#include "capture/ClipboardPolicy.h"
#include "capture/ClipboardShotWriter.h"
#include "capture/ImageFingerprint.h"
#include "capture/Preferences.h"
#include "common/Diagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

Q_LOGGING_CATEGORY(lcClipboard, "tarnwick.clipboard", QtInfoMsg)

ClipboardCapture::ClipboardCapture(const Dependencies &deps, QObject *parent)
    : QObject(parent)
    , m_clipboard(deps.clipboard)
    , m_preferences(deps.preferences)
    , m_folders(deps.folders)
    , m_thumbnailer(deps.thumbnailer)
    , m_pool(deps.pool)
    , m_isPending(deps.isPending)
    , m_timings(deps.timings)
{
    Q_ASSERT(m_clipboard && m_preferences && m_pool && m_isPending);
    m_clock.start();
    m_lastChangeCount = m_clipboard->changeCount();
    m_poll.setInterval(m_timings.pollInterval);
    connect(&m_poll, &QTimer::timeout, this, &ClipboardCapture::poll);
    // Parked images wait no longer than the last settling file may hold them.
    m_parkedDeadline.setSingleShot(true);
    m_parkedDeadline.setTimerType(Qt::PreciseTimer);
    connect(&m_parkedDeadline, &QTimer::timeout, this, &ClipboardCapture::releaseParked);
}

void ClipboardCapture::start()
{
    m_poll.start();
}

void ClipboardCapture::stop()
{
    m_poll.stop();
}

void ClipboardCapture::toggle()
{
    const bool enabled = !m_preferences->isClipboardCaptureEnabled();
    m_preferences->setBool(Preferences::clipboardCaptureEnabledKey, enabled);
    if (enabled) {
        // What is on the clipboard right now is not a new capture.
        m_lastChangeCount = m_clipboard->changeCount();
        Diagnostics::line(QStringLiteral("[Clipboard] Capture enabled"));
    } else {
        Diagnostics::line(QStringLiteral("[Clipboard] Capture disabled"));
    }
}

void ClipboardCapture::rememberOwn(quint64 fingerprint)
{
    constexpr qsizetype remembered = 32;
    m_ownWrites.append(fingerprint);
    if (m_ownWrites.size() > remembered)
        m_ownWrites.removeFirst();
}

void ClipboardCapture::copyImage(const QImage &image)
{
    rememberOwn(ImageFingerprint::of(image));
    m_clipboard->clearContents();
    m_clipboard->writeImage(image);
    m_lastChangeCount = m_clipboard->changeCount();
}

void ClipboardCapture::copyText(const QString &text)
{
    m_clipboard->clearContents();
    m_clipboard->setString(text);
}

void ClipboardCapture::offerCapture(const CaptureBuilder::Capture &capture)
{
    rememberOwn(capture.fingerprint);
    m_clipboard->clearContents();
    m_clipboard->writeEncodedImage(capture.clipboardBytes, capture.clipboardType);
}

void ClipboardCapture::poll()
{
    if (m_reading) {
        m_pollAgain = true;  // one read at a time; this change is looked at once it is done
        return;
    }
    const qint64 count = m_clipboard->changeCount();
    if (count == m_lastChangeCount)
        return;
    m_lastChangeCount = count;
    // Asking who owns the clipboard, rather than skipping the next change
    // after a write, keeps a copy made by another program in the same poll.
    const bool ours = m_clipboard->isOwnedByThisApp();
    m_reading = true;
    m_clipboard->types().then(this, [this, ours](const QStringList &types) {
        if (!typesRead(types, ours))
            readDone();
    });
}

bool ClipboardCapture::typesRead(const QStringList &types, bool ours)
{
    Diagnostics::line(QStringLiteral("[Clipboard] changeCount delta detected — types: ")
                      + ClipboardPolicy::describeTypes(types));
    if (ours) {
        Diagnostics::line(QStringLiteral("[Clipboard] Skipped — written by this app"));
        return false;
    }
    const auto decision = ClipboardPolicy::decide(types, m_preferences->isClipboardCaptureEnabled(),
                                                  m_preferences->clipboardScreenshotsOnly(), m_isPending());
    if (!decision.line.isEmpty())
        Diagnostics::line(decision.line);
    if (decision.verdict == ClipboardPolicy::Verdict::skip)
        return false;
    m_clipboard->readImage()
        .then(QtFuture::Launch::Async,
              [](const Clipboard::Image &offered) { return Read{offered, ImageFingerprint::of(offered.image)}; })
        .then(this, [this](const Read &read) {
            imageRead(read.offered, read.fingerprint);
            readDone();
        });
    return true;
}

void ClipboardCapture::readDone()
{
    m_reading = false;
    if (std::exchange(m_pollAgain, false))
        poll();
}

void ClipboardCapture::imageRead(const Clipboard::Image &offered, quint64 fingerprint)
{
    if (offered.image.isNull()) {
        Diagnostics::line(QStringLiteral("[Clipboard] No image found — skipped"));
        return;
    }
    if (m_ownWrites.contains(fingerprint)) {
        Diagnostics::line(QStringLiteral("[Clipboard] Skipped — written by this app"));
        return;
    }
    consider({offered.image, offered.png, fingerprint});
}

void ClipboardCapture::consider(const Parked &offer)
{
    if (recentCapture(offer.fingerprint, false)) {
        qCInfo(lcClipboard) << "skipped: the same screenshot came through the watched folder";
        return;
    }
    if (folderCaptureArriving()) {
        qCInfo(lcClipboard) << "waiting: a screenshot file is settling and may hold the same image";
        m_parked.append(offer);
        scheduleRelease();
        return;
    }
    Diagnostics::line(QStringLiteral("[Clipboard] Image found — saving..."));
    save(offer.image, offer.png, offer.fingerprint);
}

void ClipboardCapture::releaseParked()
{
    const QList<Parked> parked = std::exchange(m_parked, {});
    for (const Parked &offer : parked)
        consider(offer);
}

void ClipboardCapture::scheduleRelease()
{
    // Settling files normally release the parked images sooner; this is the
    // bound for those that never complete.
    const QList<qint64> deadlines = m_settling.values();
    const qint64 last = *std::max_element(deadlines.cbegin(), deadlines.cend());
    m_parkedDeadline.start(std::chrono::milliseconds(last - m_clock.elapsed() + 1));
}

void ClipboardCapture::save(const QImage &image, const QByteArray &png, quint64 fingerprint)
{
    const QString folder = m_preferences->saveLocalCopies() ? m_folders.savedShots : m_folders.clipboardShots;
    const QDateTime now = QDateTime::currentDateTime();
    QPointer<ClipboardCapture> self(this);
    m_pool->start([self, folder, now, image, png, thumbnailer = m_thumbnailer, fingerprint] {
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
            if (self->recentCapture(capture.fingerprint, false)) {
                // The folder's copy won while this one was being written.
                QFile::remove(capture.offeredPath);
                return;
            }
            Q_EMIT self->captured(capture);
        }, Qt::QueuedConnection);
        thumbnailer.store(path, capture.item.thumbnail);
    });
}

// ---- one screenshot, one item ----------------------------------------------------

void ClipboardCapture::noteSettling(const QStringList &paths)
{
    const qint64 deadline = m_clock.elapsed() + m_timings.settleDelay.count() + m_timings.settleBound.count();
    for (const QString &path : paths)
        m_settling.insert(path, deadline);
}

void ClipboardCapture::settled(const QStringList &paths)
{
    for (const QString &path : paths)
        m_settling.remove(path);
    releaseParked();
}

bool ClipboardCapture::folderCaptureArriving()
{
    m_settling.removeIf([now = m_clock.elapsed()](const auto &entry) { return entry.value() <= now; });
    return !m_settling.isEmpty();
}

const ClipboardCapture::RecentCapture *ClipboardCapture::recentCapture(quint64 fingerprint, bool onlyFromClipboard)
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

void ClipboardCapture::remember(const CaptureBuilder::Capture &capture)
{
    if (capture.fingerprint != 0)
        m_recentCaptures.append({capture.fingerprint, capture.item.filePath(), capture.fromClipboard, m_clock.elapsed()});
}

QString ClipboardCapture::takeClipboardTwin(quint64 fingerprint)
{
    const RecentCapture *twin = recentCapture(fingerprint, true);
    if (!twin)
        return {};
    const QString path = twin->path;
    m_recentCaptures.removeIf([&](const RecentCapture &capture) { return capture.path == path; });
    return path;
}
