// Test helper: another process that owns the X11 clipboard with several
// types at once, as browsers and phone bridges do (xclip offers one type).
//   clipboard_owner type=file [type=file ...]
// Prints "ready" once it owns the clipboard, and exits when it loses it or
// receives SIGTERM.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
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
