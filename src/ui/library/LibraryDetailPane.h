#pragma once

#include "capture/ScreenshotItem.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class LibActionButton;
class LibraryPreview;
class QLabel;
class QStackedWidget;
class UploadButton;

// The library's right side: for the selected item a header with its name and
// the remove button, then, scrolling, the preview, the date and size line,
// the six action tiles and the upload button; without an item a hint to
// select one. Shows what it is given; every press leaves as a signal.
class LibraryDetailPane : public QWidget
{
    Q_OBJECT
public:
    struct Feedback {
        bool copied = false;
        bool textCopied = false;
        bool uploading = false;
        bool uploaded = false;
    };

    explicit LibraryDetailPane(QWidget *parent = nullptr);

    void setItem(const std::optional<ScreenshotItem> &item);
    void setFeedback(const Feedback &feedback);
    void setUploadOffered(bool offered);
    LibraryPreview *preview() const { return m_preview; }
    LibActionButton *copyButton() const { return m_copy; }
    LibActionButton *copyTextButton() const { return m_copyText; }
    UploadButton *uploadButton() const { return m_upload; }
    bool isEmptyShown() const;

Q_SIGNALS:
    void removeRequested();
    void copyRequested();
    void openRequested();
    void copyTextRequested();
    void revealRequested();
    void annotateRequested();
    void pickColorRequested();
    void uploadRequested();

private:
    QWidget *buildEmpty();
    QWidget *buildDetail();
    QWidget *buildHeader();
    QWidget *buildBody();
    QStringList metadataParts(const ScreenshotItem &item) const;

    QStackedWidget *m_stack;
    QWidget *m_empty = nullptr;
    QLabel *m_sourceIcon = nullptr;
    QLabel *m_name = nullptr;
    LibraryPreview *m_preview = nullptr;
    QLabel *m_meta = nullptr;
    LibActionButton *m_copy = nullptr;
    LibActionButton *m_copyText = nullptr;
    UploadButton *m_upload = nullptr;
};
