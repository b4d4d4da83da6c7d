// The real binary: `tarnwick --annotate FILE` opens the editor over the whole
// screen; a drag with the default tool (an arrow) and Ctrl+C put the
// flattened image on the X clipboard at the file's own size, marked along
// the drag. The file is only read and no screenshot enters the history.
// Forwarded with a relative path, another file replaces the first; a file
// that cannot be read stops the command before anything is forwarded.

#include "E2eApp.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {

constexpr int timeoutMs = 15000;  // generous: CI also runs this under sanitizers on two busy cores

}  // namespace

class E2eAnnotateTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;
    QTemporaryDir m_dir;

    std::optional<QRect> editorWindow() const { return m_x11.find(QStringLiteral("Annotate")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_x11.isConnected(), "no X server");
    }

    void dragAndCtrlCCopyTheMarkedImage()
    {
        const QSize size(640, 400);
        const QString file = writePng(m_dir.filePath(QStringLiteral("plain.png")), makeImage(640, 400, Qt::white));
        const QByteArray before = readBytes(file);

        E2eApp app;
        app.launch({QStringLiteral("--annotate"), file});
        QTRY_VERIFY_WITH_TIMEOUT(editorWindow(), timeoutMs);
        const QRect window = *editorWindow();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window.size(), screen.size());  // no panels under Xvfb: the whole screen is available
        QTest::qWait(500);  // the image is decoded in the background

        // The image area starts below the 44-pixel toolbar and its divider;
        // the image is fitted into it and centred.
        const QRectF area(window.left(), window.top() + 45, window.width(), window.height() - 45);
        const double scale = std::min(area.width() / size.width(), area.height() / size.height());
        const QRectF shown(area.center() - QPointF(size.width(), size.height()) * scale / 2, QSizeF(size) * scale);
        const QPointF from = shown.topLeft() + QPointF(shown.width() * 0.2, shown.height() * 0.3);
        const QPointF to = shown.topLeft() + QPointF(shown.width() * 0.7, shown.height() * 0.6);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 mousedown 1 sleep 0.1 mousemove %3 %4 sleep 0.1 mousemove %5 %6 "
                               "sleep 0.1 mouseup 1")
                    .arg(int(from.x())).arg(int(from.y()))
                    .arg(int((from.x() + to.x()) / 2)).arg(int((from.y() + to.y()) / 2))
                    .arg(int(to.x())).arg(int(to.y())));
        X11Probe::xdotool(QStringLiteral("key ctrl+c"));
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->image().isNull(), timeoutMs);

        const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), size);
        // Marked along the drag's line, untouched away from it.
        int marked = 0;
        for (double t = 0.1; t < 0.95; t += 0.1) {
            const QPoint onLine = QPointF(size.width() * (0.2 + 0.5 * t), size.height() * (0.3 + 0.3 * t)).toPoint();
            marked += copied.pixelColor(onLine) != QColor(Qt::white) ? 1 : 0;
        }
        QVERIFY2(marked >= 8, qPrintable(QString::number(marked)));
        QCOMPARE(copied.pixelColor(20, 380), QColor(Qt::white));

        QCOMPARE(readBytes(file), before);  // only read
        // Longer than the clipboard watch takes to poll and settle: its own
        // copy is not taken as a new screenshot.
        QTest::qWait(2500);
        QVERIFY(app.property(QStringLiteral("Screenshots")).toStringList().isEmpty());

        // Forwarded from another folder with a relative path: the editor
        // now shows the other file, which Ctrl+C copies at its own size.
        writePng(m_dir.filePath(QStringLiteral("second/small.png")), makeImage(500, 300, Qt::gray));
        QCOMPARE(app.runCommand({QStringLiteral("--annotate"), QStringLiteral("small.png")},
                                m_dir.filePath(QStringLiteral("second"))),
                 0);
        QTRY_VERIFY_WITH_TIMEOUT(editorWindow(), timeoutMs);
        QTest::qWait(500);  // decoded in the background
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 key ctrl+c").arg(int(from.x())).arg(int(from.y())));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->image().size(), QSize(500, 300), timeoutMs);
        QCOMPARE(app.process().state(), QProcess::Running);
    }

    void unreadableFileStopsTheCommand()
    {
        E2eApp app;
        QString errors;
        QCOMPARE(app.runCommand({QStringLiteral("--annotate"), QStringLiteral("missing.png")}, m_dir.path(), &errors), 1);
        QCOMPARE(errors, QStringLiteral("tarnwick: no such file: %1/missing.png\n").arg(m_dir.path()));
        QVERIFY(!editorWindow());
        QVERIFY(!E2eApp::nameOwned());  // nothing went on to start an instance
    }
};

QTEST_MAIN(E2eAnnotateTest)
#include "test_e2e_annotate.moc"
