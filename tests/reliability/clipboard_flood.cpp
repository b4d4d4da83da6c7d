// Test helper: another process that puts a new image on the X11 clipboard
// again and again, as a screen recorder copying frames would.
//   clipboard_flood COUNT INTERVAL_MS WIDTH HEIGHT
// Image i is TestSupport::makeImage(WIDTH, HEIGHT, Qt::darkCyan, i): every image
// differs. All are encoded before the first goes out, so the pace holds.
// Prints "started" with the first image, "done MS" after the last
// (MS: milliseconds since the first), keeps owning the clipboard with the last
// one, and exits on SIGTERM.

#include "TestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

namespace {
QByteArray png(int width, int height, int index)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TestSupport::makeImage(width, height, Qt::darkCyan, index).save(&buffer, "PNG");
    return bytes;
}

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
    const int width = args.at(3).toInt();
    const int height = args.at(4).toInt();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(args.at(2).toInt());
    QList<QByteArray> images;
    for (int i = 0; i < count; ++i)
        images << png(width, height, i);
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
