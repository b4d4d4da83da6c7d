#pragma once

#include <QObject>
#include <QPointer>

class QMenu;
class QSystemTrayIcon;
class QWidget;
class ScreenshotMonitor;

// The shell: tray icon, its menu and the popover. Owns no capture state; the
// monitor is shared with every view.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit AppDelegate(ScreenshotMonitor *monitor, QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();

public Q_SLOTS:
    void togglePopover();

private:
    void setupStatusItem();
    void setupPopover();

    ScreenshotMonitor *m_monitor;
    QSystemTrayIcon *m_statusItem = nullptr;
    QMenu *m_menu = nullptr;
    QPointer<QWidget> m_popover;
};
