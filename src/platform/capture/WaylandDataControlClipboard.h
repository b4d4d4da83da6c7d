#pragma once

#include "capture/Clipboard.h"
#include "capture/ClipboardImages.h"

#include <QObject>

#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;
class QSocketNotifier;

// The Wayland clipboard, through the compositor's data-control protocol on a
// connection of its own beside the windows' X11 one: KWin and the wlroots
// compositors hand the clipboard to X11 programs only while one of them has
// focus, so a program watching it from the background must ask the
// compositor itself. The primary selection is left alone.
// Main thread only, and it never blocks there once connected: the socket is
// read when it has data, our bytes are served by PipeWriters, and another
// program's image is read on the thread pool.
class WaylandDataControlClipboard : public QObject, public Clipboard
{
    Q_OBJECT
public:
    // How long another program may take to hand over an image.
    static constexpr int readTimeoutMs = 5000;
    // How long the compositor may take to answer while connecting.
    static constexpr int connectTimeoutMs = 2000;

    // None when there is no Wayland display or its compositor offers no data-control.
    static std::unique_ptr<WaylandDataControlClipboard> connectToDisplay(
        qint64 maxImageBytes = ClipboardImages::defaultMaxBytes);
    ~WaylandDataControlClipboard() override;

    qint64 changeCount() const override { return m_changeCount; }
    bool isOwnedByThisApp() const override { return m_owned; }
    QFuture<QStringList> types() const override;
    QFuture<Image> readImage() const override;
    void clearContents() override;
    void writeImage(const QImage &image) override;
    void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) override;
    void setString(const QString &text) override;

Q_SIGNALS:
    // The compositor went away or closed the connection: nothing reaches it any more.
    void connectionLost();

private:
    struct Offer;
    struct Source;
    struct Protocol;  // the protocol's event handlers

    WaylandDataControlClipboard(wl_display *display, qint64 maxImageBytes);
    bool bind();
    void dispatch();
    void flush() const;
    void lose();
    void select(const QStringList &types, const QFuture<QByteArray> &bytes);
    void clearNow();
    void selectionChanged(zwlr_data_control_offer_v1 *proxy);
    void sourceCancelled(Source *source);
    QStringList offeredTypes() const;

    wl_display *m_display;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    zwlr_data_control_manager_v1 *m_manager = nullptr;
    zwlr_data_control_device_v1 *m_device = nullptr;
    QSocketNotifier *m_readable = nullptr;
    QSocketNotifier *m_writable = nullptr;  // on only while requests wait for room in the socket
    qint64 m_maxImageBytes;

    std::unique_ptr<Offer> m_introduced;  // announced, not yet the selection
    std::unique_ptr<Offer> m_selection;
    std::vector<std::unique_ptr<Source>> m_sources;  // ours, until the compositor cancels them
    Source *m_current = nullptr;                     // the one we last made the selection

    qint64 m_changeCount = 0;
    // Selection events still to come back for our own requests: counted when
    // made, so a copy of ours never looks like a change by another program.
    int m_echoesDue = 0;
    bool m_owned = false;
    bool m_clearDue = false;
    bool m_lost = false;
};
