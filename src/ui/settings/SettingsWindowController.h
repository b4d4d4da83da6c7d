#pragma once

#include <QPointer>
#include <QWidget>

class ScreenshotMonitor;

// The settings window's single slot: opening it again brings the one window
// forward. The window holds a placeholder until the settings view exists.
class SettingsWindowController
{
public:
    static QWidget *open(ScreenshotMonitor *monitor);
    static QWidget *window();

private:
    static QPointer<QWidget> s_window;
};
