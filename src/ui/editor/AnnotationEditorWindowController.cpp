#include "editor/AnnotationEditorWindowController.h"

#include "capture/ScreenshotItem.h"
#include "common/WindowPlacement.h"
#include "editor/AnnotationEditorView.h"
#include "upload/ImgurClientId.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

QPointer<QWidget> AnnotationEditorWindowController::s_window;

namespace {

AnnotationEditorWindowController::Uploads &uploads()
{
    static AnnotationEditorWindowController::Uploads shared;
    return shared;
}

QWidget *newWindow(const QString &path, ScreenshotMonitor *monitor)
{
    auto *window = new QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QCoreApplication::translate("AnnotationEditorWindowController", "Annotate"));
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    // Never larger than the screen, so Copy and Imgur stay reachable.
    window->setMinimumSize(std::min(1200, available.width()), std::min(700, available.height()));
    window->setGeometry(available);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    AnnotationActions::Dependencies deps;
    deps.monitor = monitor;
    deps.imgur = uploads().imgur;
    ImgurClientId *clientId = uploads().clientId;
    deps.imgur.clientId = clientId ? clientId->effective() : QString();
    auto *view = new AnnotationEditorView(path, std::move(deps), window);
    if (clientId)
        QObject::connect(clientId, &ImgurClientId::changed, view->actions(), &AnnotationActions::setClientId);
    layout->addWidget(view);
    view->setFocus();
    return window;
}

}  // namespace

QWidget *AnnotationEditorWindowController::open(const QString &path, ScreenshotMonitor *monitor)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    if (s_window && (!view() || view()->path() != file)) {
        s_window->close();  // another file: its marks go with it
        delete s_window;
    }
    if (!s_window)
        s_window = newWindow(file, monitor);
    WindowPlacement::bringForward(s_window);
    return s_window;
}

QWidget *AnnotationEditorWindowController::open(const ScreenshotItem &item, ScreenshotMonitor *monitor)
{
    return open(item.filePath(), monitor);
}

void AnnotationEditorWindowController::setUploads(const Uploads &uploads)
{
    ::uploads() = uploads;
}

AnnotationEditorView *AnnotationEditorWindowController::view()
{
    return s_window ? s_window->findChild<AnnotationEditorView *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
