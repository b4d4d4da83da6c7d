#pragma once

#include "capture/ScreenshotItem.h"
#include "upload/ImgurUploader.h"

#include <QObject>
#include <QThreadPool>

#include <chrono>
#include <functional>

class ScreenshotMonitor;
class TextRecognizer;

// The viewer's actions on one item that take time or touch the clipboard:
// copy the image, copy its text, upload it. Keeps the one-shot feedback flags
// the buttons show; each flag falls back by its own timer. Files are read and
// text is recognised on a private pool; every state change and clipboard
// write happens on the main thread.
class ViewerActions : public QObject
{
    Q_OBJECT
public:
    struct Timings {
        std::chrono::milliseconds copiedFeedback{2000};
        std::chrono::milliseconds linkFeedback{3000};
    };
    struct Dependencies {
        ScreenshotMonitor *monitor = nullptr;          // required
        const TextRecognizer *recognizer = nullptr;    // none: Copy Text does nothing
        ImgurUploader::Settings imgur = {};            // its clientId is replaced by imgurClientId()
        std::function<QString()> imgurClientId;        // empty result: no uploads
        Timings timings = {};
    };

    explicit ViewerActions(Dependencies deps, QObject *parent = nullptr);
    ~ViewerActions() override;

    bool isCopied() const { return m_copied; }
    bool isTextCopied() const { return m_textCopied; }
    bool isUploading() const { return m_uploading; }
    bool isUploaded() const { return m_uploaded; }
    // Upload controls are offered only with a client identifier.
    bool canUpload() const;

    void copyImage(const ScreenshotItem &item);
    void copyText(const ScreenshotItem &item);
    void upload(const ScreenshotItem &item);
    void copyPlainText(const QString &text);

    // Waits for file reads and recognitions (tests and shutdown).
    void waitForBackgroundWork();

Q_SIGNALS:
    // Any of the feedback flags changed.
    void changed();

private:
    void setFlag(bool ViewerActions::*flag, bool value);
    void resetLater(bool ViewerActions::*flag, std::chrono::milliseconds delay);
    void startUpload(const QImage &image);

    Dependencies m_deps;
    bool m_copied = false;
    bool m_textCopied = false;
    bool m_uploading = false;
    bool m_uploaded = false;
    bool m_uploadLoading = false;  // the image to upload is being read
    quint64 m_textRuns = 0;        // only the latest started run writes the clipboard
    // Declared last so it is destroyed first: its tasks hand results to this object.
    QThreadPool m_pool;
};
