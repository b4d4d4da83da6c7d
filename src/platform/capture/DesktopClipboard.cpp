#include "capture/DesktopClipboard.h"

#include "capture/ClipboardImages.h"
#include "capture/QtClipboard.h"
#include "capture/WaylandDataControlClipboard.h"

DesktopClipboard::DesktopClipboard(QObject *parent)
    : QObject(parent)
    , m_wayland(WaylandDataControlClipboard::connectToDisplay())
{
    if (m_wayland) {
        qCInfo(lcPasteboard).noquote() << "clipboard: the Wayland compositor's, through data-control on"
                                       << qEnvironmentVariable("WAYLAND_DISPLAY");
        connect(m_wayland.get(), &WaylandDataControlClipboard::connectionLost, this, &DesktopClipboard::fallBack);
        return;
    }
    m_x11 = std::make_unique<QtClipboard>();
    qCInfo(lcPasteboard).noquote() << (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                           ? "clipboard: X11"
                                           : "clipboard: X11 (the Wayland compositor offers no data-control)");
}

DesktopClipboard::~DesktopClipboard() = default;

Clipboard &DesktopClipboard::current() const
{
    if (m_wayland)
        return *m_wayland;
    return *m_x11;
}

void DesktopClipboard::fallBack()
{
    const qint64 count = changeCount();
    // Deleted later: the lost connection is reported from inside its own event handling.
    m_wayland.release()->deleteLater();
    m_x11 = std::make_unique<QtClipboard>();
    m_countOffset = count - m_x11->changeCount();
    qCWarning(lcPasteboard) << "clipboard: the Wayland compositor is gone; using X11 from now on";
}

qint64 DesktopClipboard::changeCount() const
{
    return current().changeCount() + m_countOffset;
}

bool DesktopClipboard::isOwnedByThisApp() const
{
    return current().isOwnedByThisApp();
}

QFuture<QStringList> DesktopClipboard::types() const
{
    return current().types();
}

QFuture<Clipboard::Image> DesktopClipboard::readImage() const
{
    return current().readImage();
}

void DesktopClipboard::clearContents()
{
    current().clearContents();
}

void DesktopClipboard::writeImage(const QImage &image)
{
    current().writeImage(image);
}

void DesktopClipboard::writeEncodedImage(const QByteArray &bytes, const QString &mimeType)
{
    current().writeEncodedImage(bytes, mimeType);
}

void DesktopClipboard::setString(const QString &text)
{
    current().setString(text);
}
