#include "SettingsWindowController.h"

#include <QLabel>
#include <QVBoxLayout>

QPointer<QWidget> SettingsWindowController::s_window;

QWidget *SettingsWindowController::open(ScreenshotMonitor *)
{
    if (!s_window) {
        s_window = new QWidget;
        s_window->setAttribute(Qt::WA_DeleteOnClose);
        s_window->setWindowTitle(QStringLiteral("Tarnwick Settings"));
        s_window->setFixedSize(480, 580);
        auto *layout = new QVBoxLayout(s_window);
        layout->addWidget(new QLabel(QStringLiteral("Tarnwick Settings"), s_window), 0, Qt::AlignCenter);
    }
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
    return s_window;
}

QWidget *SettingsWindowController::window()
{
    return s_window;
}
