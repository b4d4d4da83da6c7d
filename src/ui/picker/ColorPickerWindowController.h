#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class ColorPickerView;
struct ScreenshotItem;

// The colour picker's single window, 680 × 740, above other windows and in
// the taskbar while open. Opening the file it shows only brings it forward;
// another file replaces its view, so the window never shows a stale image.
// Closing the window discards its picks.
class ColorPickerWindowController
{
public:
    static QWidget *open(const QString &path);
    static QWidget *open(const ScreenshotItem &item);
    static QWidget *window() { return s_window; }
    // How the pickers it opens put a colour on the clipboard: through the
    // app's clipboard, so the copy reaches the clipboard the app watches.
    static void setCopyText(std::function<void(const QString &)> copyText);
    static ColorPickerView *view();

private:
    static QPointer<QWidget> s_window;
    static std::function<void(const QString &)> s_copyText;
};
