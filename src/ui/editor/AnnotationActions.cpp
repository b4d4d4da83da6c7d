#include "editor/AnnotationActions.h"

#include "capture/ScreenshotMonitor.h"

#include <QFuture>
#include <QTimer>

AnnotationActions::AnnotationActions(Dependencies deps, QObject *parent)
    : QObject(parent)
    , m_deps(std::move(deps))
{
}

void AnnotationActions::setClientId(const QString &clientId)
{
    m_deps.imgur.clientId = clientId;
    Q_EMIT changed();
}

void AnnotationActions::copy(const QImage &image)
{
    if (image.isNull() || !m_deps.monitor)
        return;
    m_deps.monitor->copyImageToClipboard(image);
    m_copied = true;
    Q_EMIT changed();
    // The first copy's timer clears the state even after a second copy.
    QTimer::singleShot(m_deps.timings.copied, this, [this] {
        m_copied = false;
        Q_EMIT changed();
    });
}

void AnnotationActions::upload(const QImage &image)
{
    if (m_uploading || image.isNull() || !canUpload())
        return;
    m_uploading = true;
    m_link.clear();
    Q_EMIT changed();
    ImgurUploader(m_deps.imgur).upload(image).then(this, [this](const UploadOutcome &outcome) {
        m_uploading = false;
        if (const auto *result = std::get_if<UploadResult>(&outcome)) {
            m_link = result->link;
            if (m_deps.monitor)
                m_deps.monitor->copyTextToClipboard(m_link);
            const QString shown = m_link;
            QTimer::singleShot(m_deps.timings.link, this, [this, shown] {
                if (m_link == shown)
                    m_link.clear();
                Q_EMIT changed();
            });
        }
        Q_EMIT changed();
    });
}
