#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

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
    static ColorPickerView *view();

private:
    static QPointer<QWidget> s_window;
};
