#include "viewer/ViewerActions.h"

#include "capture/ScreenshotMonitor.h"
#include "viewer/TextRecognition.h"
#include "viewer/TextRecognizer.h"

#include <QFuture>
#include <QImageReader>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>

namespace {

QImage readImage(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

}  // namespace

ViewerActions::ViewerActions(Dependencies deps, QObject *parent)
    : QObject(parent)
    , m_deps(std::move(deps))
{
    // A superseded recognition may still be running when the next one starts.
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

ViewerActions::~ViewerActions()
{
    m_pool.waitForDone();
}

void ViewerActions::waitForBackgroundWork()
{
    m_pool.waitForDone();
}

bool ViewerActions::canUpload() const
{
    return m_deps.imgurClientId && !m_deps.imgurClientId().isEmpty();
}

void ViewerActions::setFlag(bool ViewerActions::*flag, bool value)
{
    if (this->*flag == value)
        return;
    this->*flag = value;
    Q_EMIT changed();
}

void ViewerActions::resetLater(bool ViewerActions::*flag, std::chrono::milliseconds delay)
{
    // One timer per action: a second copy inside the window does not move
    // the first one's reset.
    QTimer::singleShot(delay, this, [this, flag] { setFlag(flag, false); });
}

void ViewerActions::copyImage(const ScreenshotItem &item)
{
    // Decoding a full-size screenshot takes long enough to stall the popover.
    QtConcurrent::run(&m_pool, &readImage, item.filePath()).then(this, [this](const QImage &image) {
        if (image.isNull())
            return;
        // Through the monitor, so that clipboard capture knows the image as ours.
        m_deps.monitor->copyImageToClipboard(image);
        setFlag(&ViewerActions::m_copied, true);
        resetLater(&ViewerActions::m_copied, m_deps.timings.copiedFeedback);
    });
}

void ViewerActions::copyText(const ScreenshotItem &item)
{
    if (!m_deps.recognizer)
        return;
    const quint64 run = ++m_textRuns;
    const TextRecognizer *recognizer = m_deps.recognizer;
    QtConcurrent::run(&m_pool, [recognizer, path = item.filePath()] {
        return TextRecognition::recognizeFile(*recognizer, path);
    }).then(this, [this, run](const std::optional<QString> &text) {
        // A failed engine or an unreadable file is silent; an older run that
        // finishes late must not replace the text of a newer one.
        if (!text || run != m_textRuns)
            return;
        m_deps.monitor->copyTextToClipboard(*text);
        setFlag(&ViewerActions::m_textCopied, true);
        resetLater(&ViewerActions::m_textCopied, m_deps.timings.copiedFeedback);
    });
}

void ViewerActions::copyPlainText(const QString &text)
{
    m_deps.monitor->copyTextToClipboard(text);
}

void ViewerActions::upload(const ScreenshotItem &item)
{
    if (m_uploading || m_uploadLoading || !canUpload())
        return;
    m_uploadLoading = true;
    QtConcurrent::run(&m_pool, &readImage, item.filePath()).then(this, [this](const QImage &image) {
        m_uploadLoading = false;
        if (!image.isNull())
            startUpload(image);
    });
}

void ViewerActions::startUpload(const QImage &image)
{
    setFlag(&ViewerActions::m_uploaded, false);
    setFlag(&ViewerActions::m_uploading, true);
    ImgurUploader::Settings settings = m_deps.imgur;
    settings.clientId = m_deps.imgurClientId();
    ImgurUploader(settings).upload(image).then(this, [this](const UploadOutcome &outcome) {
        setFlag(&ViewerActions::m_uploading, false);
        // A failure shows nothing: the button simply offers the upload again.
        const auto *result = std::get_if<UploadResult>(&outcome);
        if (!result)
            return;
        m_deps.monitor->copyTextToClipboard(result->link);
        setFlag(&ViewerActions::m_uploaded, true);
        resetLater(&ViewerActions::m_uploaded, m_deps.timings.linkFeedback);
    });
}
