#include "settings/SettingsWindowController.h"

#include "common/PlaceholderWindow.h"

QPointer<QWidget> SettingsWindowController::s_window;

QWidget *SettingsWindowController::open(ScreenshotMonitor *)
{
    return PlaceholderWindow::show(s_window, QStringLiteral("Tarnwick Settings"), QSize(480, 580));
}

QWidget *SettingsWindowController::window()
{
    return s_window;
}
