#include "library/LibraryWindowController.h"

#include "common/PlaceholderWindow.h"

QPointer<QWidget> LibraryWindowController::s_window;

QWidget *LibraryWindowController::open(ScreenshotMonitor *)
{
    return PlaceholderWindow::show(s_window, QStringLiteral("Library"), QSize(720, 480));
}

QWidget *LibraryWindowController::window()
{
    return s_window;
}
