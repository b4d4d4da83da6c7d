#pragma once

#include "capture/Clipboard.h"

#include <QObject>

#include <memory>

class QtClipboard;
class WaylandDataControlClipboard;

// The clipboard of this session, chosen once at start: the compositor's own
// through data-control where a Wayland compositor offers it (KDE Plasma,
// wlroots compositors), else the X11 CLIPBOARD (X11 sessions, and GNOME,
// which mirrors its clipboard to XWayland). If the compositor goes away the
// X11 clipboard takes over for good, the change count carrying on, so the
// app keeps running and capturing.
class DesktopClipboard : public QObject, public Clipboard
{
    Q_OBJECT
public:
    explicit DesktopClipboard(QObject *parent = nullptr);
    ~DesktopClipboard() override;

    qint64 changeCount() const override;
    bool isOwnedByThisApp() const override;
    QFuture<QStringList> types() const override;
    QFuture<Image> readImage() const override;
    void clearContents() override;
    void writeImage(const QImage &image) override;
    void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) override;
    void setString(const QString &text) override;

private:
    Clipboard &current() const;
    void fallBack();

    std::unique_ptr<WaylandDataControlClipboard> m_wayland;
    std::unique_ptr<QtClipboard> m_x11;
    qint64 m_countOffset = 0;
};
