// Clipboard capture against the real X11 clipboard, owned by other processes
// (clipboard_owner offers any set of types; xclip reads what we serve). The
// poll is driven by hand so each change is looked at exactly when the test says.

#include "MonitorFixture.h"
#include "capture/QtClipboard.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace TestSupport;

namespace {

using Offers = QList<std::pair<QString, QByteArray>>;

// Incompressible pixels, so the PNG is as large as the image.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = state = state * 1664525u + 1013904223u;
    }
    return image;
}

// Runs xclip to completion while our event loop keeps serving the selection.
QByteArray xclipOut(const QString &target)
{
    QProcess process;
    process.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                            QStringLiteral("-o"), QStringLiteral("-t"), target});
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 5000))
        return {};
    return process.readAllStandardOutput();
}

// Another program that owns the clipboard until it is killed.
class Owner
{
public:
    Owner(const Offers &offers, const QString &dir)
    {
        QStringList args;
        for (const auto &[type, data] : offers)
            args << type + QLatin1Char('=') + writeBytes(dir + QStringLiteral("/offer%1").arg(args.size()), data);
        m_process.start(qEnvironmentVariable("CLIPBOARD_OWNER"), args);
        // It says "ready" once it owns the clipboard; our event loop keeps running meanwhile.
        if (!QTest::qWaitFor([&] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }, 5000))
            qFatal("the clipboard owner never took the clipboard");
    }
    ~Owner() { quit(); }
    void quit()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

struct ClipboardFixture : MonitorFixture {
    QtClipboard x11;
    QTemporaryDir offerDir;
    std::unique_ptr<Owner> owner;
    ClipboardFixture()
    {
        timings.clipboardPollInterval = std::chrono::hours(1);  // polled by hand
        QDir().mkpath(shots);
        start(&x11);
    }
    // Waits until the X server told us about a change by another program
    // and the clipboard offers the given type (none: offers nothing).
    bool waitForChange(qint64 before, const QString &type = {})
    {
        return QTest::qWaitFor(
            [&] {
                if (x11.changeCount() == before)
                    return false;
                const QStringList types = x11.types();
                return type.isEmpty() ? types.isEmpty() : types.contains(type);
            },
            5000);
    }
    // Another program takes the clipboard with these types; the poll looks at it.
    void offerAndPoll(const Offers &offers)
    {
        const qint64 before = x11.changeCount();
        owner.reset();
        owner = std::make_unique<Owner>(offers, offerDir.path());
        if (!waitForChange(before, offers.last().first))
            qFatal("the clipboard owner never took the clipboard");
        monitor->pollClipboard();
    }
    void offerImageAndPoll(const QImage &image) { offerAndPoll({{QStringLiteral("image/png"), encoded(image)}}); }
    QStringList clipboardFiles() const { return QDir(folders.clipboardShots).entryList(QDir::Files, QDir::Name); }
};

}  // namespace

class ClipboardCaptureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void switchesDecideWhatIsCaptured_data()
    {
        QTest::addColumn<QStringList>("types");  // offered before the image
        QTest::addColumn<bool>("screenshotsOnly");
        QTest::addColumn<bool>("captureEnabled");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("captured");
        const QString html = QStringLiteral("text/html");
        const QString remote = QStringLiteral("com.apple.is-remote-clipboard");
        const QString notAScreenshot = QStringLiteral("[Clipboard] Skipped — not a screenshot and screenshotsOnly is enabled");
        const QString native = QStringLiteral("[Clipboard] Detected native screenshot via pasteboard type heuristic");
        const QString saving = QStringLiteral("[Clipboard] Image found — saving...");
        QTest::newRow("image alone, defaults") << QStringList() << true << true << false << native << true;
        QTest::newRow("browser copy, screenshots only") << QStringList{html} << true << true << false << notAScreenshot << false;
        QTest::newRow("browser copy, any image") << QStringList{html} << false << true << false << saving << true;
        QTest::newRow("browser copy while a screenshot is pending") << QStringList{html} << true << true << true << saving << true;
        QTest::newRow("phone image") << QStringList{remote, QStringLiteral("text/plain")} << true << true << false
                                     << QStringLiteral("[Clipboard] Remote clipboard (iPhone) — proceeding") << true;
        QTest::newRow("phone image, capture off") << QStringList{remote, QStringLiteral("text/plain")} << true << false
                                                  << false
                                                  << QStringLiteral("[Clipboard] Skipped — remote (iPhone) and capture disabled")
                                                  << false;
    }

    void switchesDecideWhatIsCaptured()
    {
        QFETCH(QStringList, types);
        QFETCH(bool, screenshotsOnly);
        QFETCH(bool, captureEnabled);
        QFETCH(bool, pending);
        QFETCH(QString, line);
        QFETCH(bool, captured);
        ClipboardFixture f;
        f.preferences->setBool(Preferences::clipboardScreenshotsOnlyKey, screenshotsOnly);
        if (!captureEnabled)
            f.monitor->toggleClipboardCapture();
        if (pending) {
            f.monitor->screenshotEventFired();
            QTRY_VERIFY(f.monitor->isPending());
        }
        DiagnosticRecorder diag;
        const QImage image = makeImage(300, 200, Qt::magenta);
        Offers offers;
        for (const QString &type : types)
            offers.append({type, "x"});
        offers.append({QStringLiteral("image/png"), encoded(image)});
        f.offerAndPoll(offers);
        const QString delta = QStringLiteral("[Clipboard] changeCount delta detected — types: [");
        QVERIFY(diag.lines().value(0).startsWith(delta));
        QVERIFY(diag.lines().value(0).contains(QLatin1String("\"image/png\"")));
        if (types.isEmpty())
            QCOMPARE(diag.lines().value(0), delta + QStringLiteral("\"image/png\"]"));
        QTRY_COMPARE(diag.count(line), 1);
        QCOMPARE(diag.contains(QStringLiteral("[Clipboard] Detected native")), line.contains(QLatin1String("native")));
        f.settle();
        QCOMPARE(f.monitor->screenshots().size(), captured ? 1 : 0);
        if (!captured)
            return;
        QCOMPARE(f.monitor->unreadCount(), 1);
        const QString path = f.listedPaths().first();
        QCOMPARE(QFileInfo(path).absolutePath(), f.folders.clipboardShots);
        QVERIFY(QFileInfo(path).fileName().startsWith(QLatin1String("Screenshot ")));
        QVERIFY(QFileInfo(path).fileName().endsWith(QLatin1String(" (Clipboard).png")));
        QVERIFY(diag.contains(QStringLiteral("[Clipboard] Saved: ") + QFileInfo(path).fileName()));
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_ARGB32), image);
        // A clipboard capture is not written back: the other program still owns the clipboard.
        QVERIFY(!QGuiApplication::clipboard()->ownsClipboard());
    }

    void clearedClipboardHasNoImage()
    {
        ClipboardFixture f;
        f.offerAndPoll({{QStringLiteral("text/plain"), "x"}});
        DiagnosticRecorder diag;
        const qint64 before = f.x11.changeCount();
        f.owner->quit();  // the owner goes away: nobody holds the clipboard
        QVERIFY(f.waitForChange(before));
        f.monitor->pollClipboard();
        QTRY_COMPARE(diag.lines(), (QStringList{
                                   QStringLiteral("[Clipboard] changeCount delta detected — types: []"),
                                   QStringLiteral("[Clipboard] Detected native screenshot via pasteboard type heuristic"),
                                   QStringLiteral("[Clipboard] No image found — skipped"),
                               }));
    }

    void turningCaptureBackOnIgnoresWhatIsThere()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Capture disabled")), 1);
        const qint64 before = f.x11.changeCount();
        f.owner = std::make_unique<Owner>(Offers{{QStringLiteral("image/png"), encoded(makeImage(40, 40))}},
                                          f.offerDir.path());
        QVERIFY(f.waitForChange(before, QStringLiteral("image/png")));
        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Capture enabled")), 1);
        f.monitor->pollClipboard();
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 0);
        QVERIFY(!diag.contains(QStringLiteral("[Clipboard] changeCount delta")));
    }

    void twoImagesInOneSecondGiveTwoFiles()
    {
        ClipboardFixture f;
        f.offerImageAndPoll(makeImage(30, 30, Qt::red));
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);  // read before its owner goes away
        f.offerImageAndPoll(makeImage(30, 30, Qt::blue));
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);
        QCOMPARE(f.clipboardFiles().size(), 2);
        QCOMPARE(QImage(f.listedPaths().at(0)).pixelColor(15, 15), QColor(Qt::blue));
        QCOMPARE(QImage(f.listedPaths().at(1)).pixelColor(15, 15), QColor(Qt::red));
    }

    void sameShotThroughFolderAndClipboardIsOneItem_data()
    {
        QTest::addColumn<bool>("clipboardFirst");
        QTest::newRow("file then clipboard") << false;
        QTest::newRow("clipboard then file") << true;
    }

    void sameShotThroughFolderAndClipboardIsOneItem()
    {
        QFETCH(bool, clipboardFirst);
        ClipboardFixture f;
        const QImage shot = makeImage(640, 400, Qt::darkGreen, 77);
        const QString file = f.shots + QStringLiteral("/Screenshot from 2026-12-06 10-00-00.png");
        if (clipboardFirst) {
            f.offerImageAndPoll(shot);
            QTRY_COMPARE(f.monitor->screenshots().size(), 1);
            writePng(file, shot);
        } else {
            writePng(file, shot);
            QTest::qWait(20);  // the folder event is in
            f.offerImageAndPoll(shot);
        }
        QTRY_COMPARE(f.listedPaths(), QStringList{file});
        f.settle(100);
        QCOMPARE(f.listedPaths(), QStringList{file});
        QCOMPARE(f.monitor->unreadCount(), 1);
        QCOMPARE(f.clipboardFiles(), QStringList());
    }

    void unrelatedImageWhileAFileSettlesIsCaptured_data()
    {
        QTest::addColumn<bool>("fileCompletes");
        QTest::newRow("file completes") << true;
        QTest::newRow("file never completes") << false;
    }

    void unrelatedImageWhileAFileSettlesIsCaptured()
    {
        QFETCH(bool, fileCompletes);
        ClipboardFixture f;
        // Long enough for the other program to take the clipboard while the file settles.
        f.timings.settleDelay = std::chrono::milliseconds(1000);
        f.timings.settleBound = std::chrono::milliseconds(500);
        f.start(&f.x11);
        QFile slow(f.shots + QStringLiteral("/Screenshot slow.png"));
        if (fileCompletes)
            writePng(slow.fileName(), makeImage(64, 64, Qt::black));
        else
            QVERIFY(slow.open(QIODevice::WriteOnly));  // the tool never finishes it
        QTest::qWait(50);  // the folder event is in: the file is settling
        f.offerImageAndPoll(makeImage(64, 64, Qt::white));
        QTRY_COMPARE_WITH_TIMEOUT(f.monitor->screenshots().size(), fileCompletes ? 2 : 1, 5000);
        QCOMPARE(f.clipboardFiles().size(), 1);
    }

    void copyRightAfterOurOwnWriteIsCaptured()
    {
        ClipboardFixture f;
        writePng(f.shots + QStringLiteral("/Screenshot 1.png"), makeImage(40, 40, Qt::black));
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);  // our write is on the clipboard, not yet polled
        f.offerImageAndPoll(makeImage(40, 40, Qt::white));
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);
    }

    void ownImageComingBackIsNeverCaptured()
    {
        ClipboardFixture f;
        f.timings.sameShotWindow = std::chrono::milliseconds(50);
        f.start(&f.x11);
        const QImage shot = makeImage(80, 60, Qt::darkRed, 5);
        writePng(f.shots + QStringLiteral("/Screenshot 1.png"), shot);
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);
        f.settle(100);  // past the same-shot window: only the memory of own writes is left
        f.monitor->pollClipboard();  // our own write, skipped once
        DiagnosticRecorder diag;
        f.offerImageAndPoll(shot);  // a clipboard manager takes over our image
        QTRY_COMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — written by this app")), 1);
        f.settle();
        QCOMPARE(f.monitor->screenshots().size(), 1);
        QCOMPARE(f.clipboardFiles(), QStringList());
    }

    // Screenshot files written a few milliseconds apart while both cores are
    // busy: whatever their pixels, the newest hundred end up listed.
    void streamsUnderLoadEndWithTheNewestListed_data()
    {
        QTest::addColumn<bool>("identical");
        QTest::addColumn<int>("gapMs");
        QTest::newRow("identical, stream") << true << 4;
        QTest::newRow("identical, burst") << true << 0;
        QTest::newRow("distinct, stream") << false << 4;
        QTest::newRow("distinct, burst") << false << 0;
    }

    void streamsUnderLoadEndWithTheNewestListed()
    {
        QFETCH(bool, identical);
        QFETCH(int, gapMs);
        ClipboardFixture f;
        f.timings.clipboardPollInterval = std::chrono::milliseconds(800);
        f.start(&f.x11);
        std::atomic<bool> busy{true};
        std::vector<std::thread> load;
        for (int i = 0; i < 2; ++i)
            load.emplace_back([&busy] { while (busy.load(std::memory_order_relaxed)) {} });
        constexpr int count = 300;
        // Identical files are copies of one screen-sized shot, as a key held down would make.
        const QString shot = writePng(f.root.path() + QStringLiteral("/shot.png"), noise(480, 300));
        QStringList written;
        for (int i = 0; i < count; ++i) {
            const QString path = f.shots + QStringLiteral("/Screenshot %1.png").arg(i, 4, 10, QLatin1Char('0'));
            if (identical)
                QVERIFY(QFile::copy(shot, path));
            else
                writePng(path, makeImage(320, 200, Qt::darkBlue, i));
            written << path;
            if (gapMs > 0)
                QTest::qWait(gapMs);
        }
        busy = false;
        for (std::thread &thread : load)
            thread.join();
        QTRY_COMPARE_WITH_TIMEOUT(f.listedPaths().value(0), written.last(), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(f.monitor->screenshots().size(), ScreenshotMonitor::maxItems, 10000);
        QStringList listed = f.listedPaths();
        QCOMPARE(f.preferences->historyPaths(), listed);  // the cap reaches what is stored
        listed.sort();
        QCOMPARE(listed, written.mid(count - ScreenshotMonitor::maxItems));
    }

    void oversizedOrBrokenImagesAreSkipped()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        // A few hundred bytes that claim 40000×40000 pixels.
        f.offerAndPoll({{QStringLiteral("image/png"), pngClaiming(40000, 40000)}});
        QTRY_COMPARE(diag.count(QStringLiteral("[Clipboard] No image found — skipped")), 1);
        // More data than the clipboard limit allows (set low here).
        const QByteArray big = encoded(noise(400, 400));
        QVERIFY(big.size() > 64 * 1024);
        f.offerAndPoll({{QStringLiteral("image/png"), big}});
        QVERIFY(QtClipboard(nullptr, 64 * 1024).readImage().result().image.isNull());
        QVERIFY(!f.x11.readImage().result().image.isNull());
        // One transfer, of the best type offered: a broken PNG is not followed by the BMP.
        f.offerAndPoll({{QStringLiteral("image/bmp"), encoded(makeImage(8, 8), "BMP")},
                        {QStringLiteral("image/png"), "not a png"}});
        QVERIFY(f.x11.readImage().result().image.isNull());
    }

    void ownWritesAreServedButNeverCaptured()
    {
        MonitorFixture f;
        QtClipboard clipboard;
        auto &monitor = f.start(&clipboard);
        DiagnosticRecorder diag;
        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/Screenshot b.png"), makeImage(64, 48)));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        // Another program really sees the new capture, at full size.
        QVERIFY(xclipOut(QStringLiteral("TARGETS")).contains("image/png"));
        QCOMPARE(QImage::fromData(xclipOut(QStringLiteral("image/png"))).size(), QSize(64, 48));
        QTRY_COMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — written by this app")), 1);
        QTest::qWait(200);
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — written by this app")), 1);
        QCOMPARE(diag.lines().filter(QStringLiteral("changeCount delta")).size(), 1);

        // A copy the user asked for: the poll never sees a change.
        monitor.copyImageToClipboard(makeImage(32, 32, Qt::yellow));
        QTest::qWait(300);
        QCOMPARE(diag.lines().filter(QStringLiteral("changeCount delta")).size(), 1);
        QCOMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(QImage::fromData(xclipOut(QStringLiteral("image/png"))).size(), QSize(32, 32));
    }
};

QTEST_MAIN(ClipboardCaptureTest)
#include "test_clipboard_capture.moc"
