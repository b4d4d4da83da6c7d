#include "library/LibraryWindowController.h"

#include "common/WindowPlacement.h"

#include <QCoreApplication>
#include <QVBoxLayout>

QPointer<QWidget> LibraryWindowController::s_window;

namespace {

constexpr QSize windowSize{720, 480};

}  // namespace

QWidget *LibraryWindowController::open(const LibraryView::Dependencies &deps)
{
    if (s_window) {
        WindowPlacement::bringForward(s_window);
        return s_window;
    }
    auto *window = new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                            | Qt::WindowMinimizeButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QCoreApplication::translate("LibraryWindowController", "Library"));
    window->setFixedSize(windowSize);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new LibraryView(deps, window));
    WindowPlacement::centreOnScreen(window);
    s_window = window;
    WindowPlacement::bringForward(window);
    return window;
}

QWidget *LibraryWindowController::open(ScreenshotMonitor *monitor)
{
    LibraryView::Dependencies deps;
    deps.monitor = monitor;
    return open(deps);
}

QWidget *LibraryWindowController::window()
{
    return s_window;
}

LibraryView *LibraryWindowController::view()
{
    return s_window ? s_window->findChild<LibraryView *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
