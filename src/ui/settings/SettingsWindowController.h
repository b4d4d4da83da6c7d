#pragma once

#include "settings/SettingsView.h"

#include <QPointer>
#include <QWidget>

class ScreenshotMonitor;

// The settings window's single slot: "Tarnwick Settings", 480 × 580, its
// content scrolling when taller. Opening it again only brings the one window
// forward; closing it discards the view, and the next open builds afresh.
class SettingsWindowController
{
public:
    static QWidget *open(const SettingsView::Dependencies &deps);
    static QWidget *window();
    static SettingsView *view();

private:
    static QPointer<QWidget> s_window;
};
