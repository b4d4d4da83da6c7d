// clipboard_flood COUNT INTERVAL_MS WIDTH HEIGHT: puts image i = makeImage(WIDTH,
// HEIGHT, Qt::darkCyan, i) on the X11 clipboard every INTERVAL_MS, as a screen
// recorder copying frames would; all are encoded first, so the pace holds.
// Prints "started" with the first, "done MS" (since the first) after the last,
// and keeps owning the clipboard with the last one until SIGTERM.

#include "TestSupport.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

namespace {
void say(const QByteArray &line)
{
    std::puts(line.constData());
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const int count = args.at(1).toInt();
    QList<QByteArray> images;
    for (int i = 0; i < count; ++i)
        images << TestSupport::encoded(TestSupport::makeImage(args.at(3).toInt(), args.at(4).toInt(), Qt::darkCyan, i));
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(args.at(2).toInt());
    int next = 0;
    QElapsedTimer clock;
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/png"), images.at(next));
        QGuiApplication::clipboard()->setMimeData(data);
        if (next == 0) {
            clock.start();
            say("started");
        }
        if (++next == count) {
            timer.stop();
            say("done " + QByteArray::number(clock.elapsed()));
        }
    });
    timer.start();
    return app.exec();
}
