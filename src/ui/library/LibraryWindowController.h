#pragma once

#include <QPointer>
#include <QWidget>

class ScreenshotMonitor;

// The library window's single slot: opening it again brings the one window
// forward. The window holds a placeholder until the library view exists.
class LibraryWindowController
{
public:
    static QWidget *open(ScreenshotMonitor *monitor);
    static QWidget *window();

private:
    static QPointer<QWidget> s_window;
};
