#pragma once

#include "upload/ImgurUploader.h"

#include <QObject>
#include <QString>

#include <chrono>

class ScreenshotMonitor;

// The editor's Copy and Imgur actions on the flattened image, with their
// timed feedback: "Copied!" for 2 s, the uploaded link for 5 s (also put on
// the clipboard as plain text). A failed upload shows nothing: the button
// simply offers the upload again.
class AnnotationActions : public QObject
{
    Q_OBJECT

public:
    struct Timings {
        std::chrono::milliseconds copied{2000};
        std::chrono::milliseconds link{5000};
    };
    struct Dependencies {
        // Copies go through its clipboard and own-write rule; none: nothing is copied.
        ScreenshotMonitor *monitor = nullptr;
        ImgurUploader::Settings imgur = {};    // its clientId empty: no uploads
        Timings timings = {};
    };

    explicit AnnotationActions(Dependencies deps, QObject *parent = nullptr);

    bool canUpload() const { return !m_deps.imgur.clientId.isEmpty(); }
    void setClientId(const QString &clientId);
    bool isCopied() const { return m_copied; }
    bool isUploading() const { return m_uploading; }
    QString uploadedLink() const { return m_link; }

    void copy(const QImage &image);
    void upload(const QImage &image);

Q_SIGNALS:
    void changed();

private:
    Dependencies m_deps;
    bool m_copied = false;
    bool m_uploading = false;
    QString m_link;
};
