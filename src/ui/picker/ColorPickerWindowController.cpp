#include "picker/ColorPickerWindowController.h"

#include "capture/ScreenshotItem.h"
#include "common/WindowPlacement.h"
#include "picker/ColorPickerView.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QVBoxLayout>

QPointer<QWidget> ColorPickerWindowController::s_window;
std::function<void(const QString &)> ColorPickerWindowController::s_copyText;

namespace {

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QWidget *newWindow()
{
    auto *window = new QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QCoreApplication::translate("ColorPickerWindowController", "Color Picker"));
    window->setMinimumSize(520, 440);
    window->resize(680, 740);
    WindowPlacement::centreOnScreen(window);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    return window;
}

void showView(QWidget *window, const QString &path, const std::function<void(const QString &)> &copyText)
{
    delete ColorPickerWindowController::view();
    ColorPickerView::Dependencies deps;
    deps.copyText = copyText;
    auto *view = new ColorPickerView(path, deps, window);
    window->layout()->addWidget(view);
    view->setFocus();
}

}  // namespace

QWidget *ColorPickerWindowController::open(const QString &path)
{
    const QString file = absolute(path);
    if (!s_window)
        s_window = newWindow();
    if (!view() || view()->path() != file)
        showView(s_window, file, s_copyText);
    WindowPlacement::bringForward(s_window);
    return s_window;
}

QWidget *ColorPickerWindowController::open(const ScreenshotItem &item)
{
    return open(item.filePath());
}

void ColorPickerWindowController::setCopyText(std::function<void(const QString &)> copyText)
{
    s_copyText = std::move(copyText);
}

ColorPickerView *ColorPickerWindowController::view()
{
    return s_window ? s_window->findChild<ColorPickerView *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
