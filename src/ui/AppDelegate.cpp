#include "AppDelegate.h"

#include "ScreenshotMonitor.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

AppDelegate::AppDelegate(ScreenshotMonitor *monitor, QObject *parent)
    : QObject(parent)
    , m_monitor(monitor)
{
}

AppDelegate::~AppDelegate()
{
    delete m_popover;
    delete m_menu;
}

void AppDelegate::applicationDidFinishLaunching()
{
    setupStatusItem();
    setupPopover();
}

void AppDelegate::setupStatusItem()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;  // the hot key and `tarnwick --toggle` still reach the popover
    m_statusItem = new QSystemTrayIcon(this);
    m_statusItem->setIcon(QIcon::fromTheme(QStringLiteral("camera-photo")));
    m_menu = new QMenu;
    m_menu->addAction(QStringLiteral("Quit"), qApp, &QApplication::quit);
    m_statusItem->setContextMenu(m_menu);
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            togglePopover();
    });
    m_statusItem->show();
}

void AppDelegate::setupPopover()
{
    m_popover = new QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint);
    m_popover->resize(360, 480);
    auto *layout = new QVBoxLayout(m_popover);
    layout->addWidget(new QLabel(QStringLiteral("Screenshots"), m_popover));
}

void AppDelegate::togglePopover()
{
    if (!m_popover)
        return;
    if (m_popover->isVisible()) {
        m_popover->hide();
        return;
    }
    m_monitor->markAllRead();
    m_popover->show();
    m_popover->activateWindow();
}
