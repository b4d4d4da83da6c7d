#include "LibraryWindowController.h"

#include <QLabel>
#include <QVBoxLayout>

QPointer<QWidget> LibraryWindowController::s_window;

QWidget *LibraryWindowController::open(ScreenshotMonitor *)
{
    if (!s_window) {
        s_window = new QWidget;
        s_window->setAttribute(Qt::WA_DeleteOnClose);
        s_window->setWindowTitle(QStringLiteral("Library"));
        s_window->setFixedSize(720, 480);
        auto *layout = new QVBoxLayout(s_window);
        layout->addWidget(new QLabel(QStringLiteral("Library"), s_window), 0, Qt::AlignCenter);
    }
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
    return s_window;
}

QWidget *LibraryWindowController::window()
{
    return s_window;
}
