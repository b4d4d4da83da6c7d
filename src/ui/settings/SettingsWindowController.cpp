#include "settings/SettingsWindowController.h"

#include "common/Style.h"
#include "common/WindowPlacement.h"

#include <QCoreApplication>
#include <QScrollArea>
#include <QVBoxLayout>

QPointer<QWidget> SettingsWindowController::s_window;

namespace {

constexpr QSize contentSize{480, 580};

}  // namespace

QWidget *SettingsWindowController::open(const SettingsView::Dependencies &deps)
{
    if (s_window) {
        WindowPlacement::bringForward(s_window);
        return s_window;
    }
    auto *window = new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                            | Qt::WindowMinimizeButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QCoreApplication::translate("SettingsWindowController", "Tarnwick Settings"));
    window->setFixedSize(contentSize);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes straight to the first control, which scrolls into view
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(new SettingsView(deps));
    Style::slimScrollBar(scroll);
    layout->addWidget(scroll);
    WindowPlacement::centreOnScreen(window);
    s_window = window;
    WindowPlacement::bringForward(window);
    return window;
}

QWidget *SettingsWindowController::window()
{
    return s_window;
}

SettingsView *SettingsWindowController::view()
{
    return s_window ? s_window->findChild<SettingsView *>() : nullptr;
}
