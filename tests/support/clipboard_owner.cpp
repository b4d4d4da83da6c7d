// Test helper: another process that owns the X11 clipboard with several
// types at once, as browsers and phone bridges do (xclip offers one type).
//   clipboard_owner type=file [type=file ...]
//   clipboard_owner --silent    owns it and never answers a request
// Prints "ready" once it owns the clipboard, and exits when it loses it or
// receives SIGTERM.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int ownSilently()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 2;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 9, "CLIPBOARD"), nullptr);
    xcb_set_selection_owner(connection, window, atom->atom, XCB_CURRENT_TIME);
    std::free(atom);
    xcb_flush(connection);
    std::puts("ready");
    std::fflush(stdout);
    // Every request is read and dropped; only losing the clipboard ends it.
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const bool lost = (event->response_type & 0x7f) == XCB_SELECTION_CLEAR;
        std::free(event);
        if (lost)
            break;
    }
    xcb_disconnect(connection);
    return 0;
}
}  // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--silent") == 0)
        return ownSilently();
    QGuiApplication app(argc, argv);
    auto *data = new QMimeData;
    for (const QString &arg : app.arguments().mid(1)) {
        const qsizetype split = arg.indexOf(QLatin1Char('='));
        QFile file(arg.mid(split + 1));
        if (split <= 0 || !file.open(QIODevice::ReadOnly))
            return 2;
        data->setData(arg.left(split), file.readAll());
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
        if (!clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    QTimer::singleShot(0, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return app.exec();
}
