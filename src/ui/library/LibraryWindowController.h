#pragma once

#include "library/LibraryView.h"

#include <QPointer>
#include <QWidget>

class ScreenshotMonitor;

// The library window's single slot: a fixed 720 × 480 window titled
// "Library". Opening it again only brings the one window forward, keeping its
// selection; closing it discards the view, and the next open builds afresh.
class LibraryWindowController
{
public:
    static QWidget *open(const LibraryView::Dependencies &deps);
    static QWidget *open(ScreenshotMonitor *monitor);
    static QWidget *window();
    static LibraryView *view();

private:
    static QPointer<QWidget> s_window;
};
