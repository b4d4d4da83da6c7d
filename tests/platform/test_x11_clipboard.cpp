// Own-write rules against the real X11 clipboard, with other processes
// (xclip) reading and owning it.

#include "capture/InotifyFolderWatcher.h"
#include "MonitorFixture.h"
#include "capture/QtClipboard.h"
#include "TestSupport.h"

#include <QProcess>
#include <QTest>

using namespace TestSupport;

namespace {
// Runs xclip to completion while our event loop keeps serving the selection.
QByteArray xclipOut(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral("xclip"), QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + args);
    if (!process.waitForStarted())
        return {};
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 5000)
        QTest::qWait(10);
    return process.readAllStandardOutput();
}
}  // namespace

class X11ClipboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ruleBIsSkippedOnceAndRuleAIsNeverSeen()
    {
        MonitorFixture f;
        QtClipboard clipboard;
        auto &monitor = f.start(&clipboard);
        DiagnosticRecorder diag;

        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/Screenshot b.png"), makeImage(64, 48)));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        // Another program really sees the new capture on the clipboard.
        QVERIFY(xclipOut({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("TARGETS")})
                    .contains("image/png"));
        const QImage served = QImage::fromData(xclipOut({QStringLiteral("-o"), QStringLiteral("-t"),
                                                         QStringLiteral("image/png")}));
        QCOMPARE(served.size(), QSize(64, 48));

        QTRY_COMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — written by this app")), 1);
        QTest::qWait(200);
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — written by this app")), 1);
        const int deltas = int(diag.lines().filter(QStringLiteral("changeCount delta")).size());
        QCOMPARE(deltas, 1);

        // A copy the user asked for: the poll never sees a change.
        monitor.copyImageToClipboard(makeImage(32, 32, Qt::yellow));
        QTest::qWait(300);
        QCOMPARE(int(diag.lines().filter(QStringLiteral("changeCount delta")).size()), deltas);
        QCOMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(QImage::fromData(xclipOut({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("image/png")}))
                     .size(),
                 QSize(32, 32));
    }

};

QTEST_MAIN(X11ClipboardTest)
#include "test_x11_clipboard.moc"
