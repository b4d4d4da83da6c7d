#pragma once

#include "upload/ImgurUploader.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class AnnotationEditorView;
class ImgurClientId;
class ScreenshotMonitor;
struct ScreenshotItem;

// The annotation editor's single window: it fills the screen's available
// area, stays above other windows and has a taskbar entry while open.
// Opening the file it shows raises it with its marks; another file replaces
// it. Closing discards the marks; the file is never written.
class AnnotationEditorWindowController
{
public:
    // Where uploads go and the client id in effect, which the open window
    // follows (none or empty: the Imgur button stays hidden).
    struct Uploads {
        ImgurClientId *clientId = nullptr;  // not owned; must outlive the window
        ImgurUploader::Settings imgur = {};
    };

    static QWidget *open(const QString &path, ScreenshotMonitor *monitor);
    static QWidget *open(const ScreenshotItem &item, ScreenshotMonitor *monitor);
    static void setUploads(const Uploads &uploads);
    static QWidget *window() { return s_window; }
    static AnnotationEditorView *view();

private:
    static QPointer<QWidget> s_window;
};
