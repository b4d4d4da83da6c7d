// Clipboard capture against the real X11 clipboard, owned by other processes
// (clipboard_owner offers any set of types; xclip reads what we serve). The
// poll is driven by hand so each change is looked at exactly when the test says.

#include "MonitorFixture.h"
#include "StressSupport.h"
#include "capture/QtClipboard.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

using Offers = QList<std::pair<QString, QByteArray>>;

const QString png = u"image/png"_s;
const QString skippedOwn = u"[Clipboard] Skipped — written by this app"_s;

// Runs xclip to completion while our event loop keeps serving the selection.
QByteArray xclipOut(const QString &target)
{
    QProcess process;
    process.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-o"_s, u"-t"_s, target});
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 5000))
        return {};
    return process.readAllStandardOutput();
}

struct ClipboardFixture : MonitorFixture {
    QtClipboard x11;
    QTemporaryDir offerDir;
    std::unique_ptr<ClipboardOwner> owner;
    ClipboardFixture()
    {
        timings.clipboardPollInterval = 1h;  // polled by hand
        start(&x11);
    }
    // Waits until the X server told us about a change by another program
    // and the clipboard offers the given type (none: offers nothing).
    bool waitForChange(qint64 before, const QString &type = {})
    {
        const auto changed = [&] {
            if (x11.changeCount() == before)
                return false;
            const QStringList types = x11.types().result();
            return type.isEmpty() ? types.isEmpty() : types.contains(type);
        };
        return QTest::qWaitFor(changed, 5000);
    }
    // Another program takes the clipboard with these types.
    void offer(const Offers &offers)
    {
        QStringList args;
        for (const auto &[type, data] : offers)
            args << type + u'=' + writeBytes(offerDir.path() + u"/offer%1"_s.arg(args.size()), data);
        const qint64 before = x11.changeCount();
        owner.reset();
        owner = std::make_unique<ClipboardOwner>(args);
        if (!waitForChange(before, offers.last().first))
            qFatal("the clipboard owner never took the clipboard");
    }
    void offerAndPoll(const Offers &offers)
    {
        offer(offers);
        monitor->pollClipboard();
    }
    void offerImageAndPoll(const QImage &image) { offerAndPoll({{png, encoded(image)}}); }
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
        const QString html = u"text/html"_s;
        const QStringList phone{u"com.apple.is-remote-clipboard"_s, u"text/plain"_s};
        const QString notAScreenshot = u"[Clipboard] Skipped — not a screenshot and screenshotsOnly is enabled"_s;
        const QString native = u"[Clipboard] Detected native screenshot via pasteboard type heuristic"_s;
        const QString saving = u"[Clipboard] Image found — saving..."_s;
        QTest::newRow("image alone, defaults") << QStringList() << true << true << false << native << true;
        QTest::newRow("browser copy, screenshots only") << QStringList{html} << true << true << false << notAScreenshot << false;
        QTest::newRow("browser copy, any image") << QStringList{html} << false << true << false << saving << true;
        QTest::newRow("browser copy while a screenshot is pending") << QStringList{html} << true << true << true << saving << true;
        QTest::newRow("phone image") << phone << true << true << false << u"[Clipboard] Remote clipboard (iPhone) — proceeding"_s
                                     << true;
        QTest::newRow("phone image, capture off")
            << phone << true << false << false << u"[Clipboard] Skipped — remote (iPhone) and capture disabled"_s << false;
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
        offers.append({png, encoded(image)});
        f.offerAndPoll(offers);
        const QString delta = u"[Clipboard] changeCount delta detected — types: ["_s;
        QTRY_VERIFY(diag.lines().value(0).startsWith(delta));
        QVERIFY(diag.lines().value(0).contains(u"\"image/png\""_s));
        if (types.isEmpty())
            QCOMPARE(diag.lines().value(0), delta + u"\"image/png\"]"_s);
        QTRY_COMPARE(diag.count(line), 1);
        QCOMPARE(diag.contains(u"[Clipboard] Detected native"_s), line.contains(u"native"_s));
        f.settle();
        QCOMPARE(f.monitor->screenshots().size(), captured ? 1 : 0);
        if (!captured)
            return;
        QCOMPARE(f.monitor->unreadCount(), 1);
        const QFileInfo file(f.listedPaths().first());
        QCOMPARE(file.absolutePath(), f.folders.clipboardShots);
        QVERIFY(file.fileName().startsWith(u"Screenshot "_s) && file.fileName().endsWith(u" (Clipboard).png"_s));
        QVERIFY(diag.contains(u"[Clipboard] Saved: "_s + file.fileName()));
        QCOMPARE(QImage(file.filePath()).convertToFormat(QImage::Format_ARGB32), image);
        // A clipboard capture is not written back: the other program still owns the clipboard.
        QVERIFY(!QGuiApplication::clipboard()->ownsClipboard());
    }

    void clipboardWithoutAnAnswerHasNoImage_data()
    {
        QTest::addColumn<bool>("silentOwner");
        QTest::newRow("nobody holds the clipboard") << false;
        QTest::newRow("its owner never answers") << true;
    }

    void clipboardWithoutAnAnswerHasNoImage()
    {
        QFETCH(bool, silentOwner);
        ClipboardFixture f;
        f.offer({{u"text/plain"_s, "x"}});
        const qint64 before = f.x11.changeCount();
        if (silentOwner)
            f.owner = std::make_unique<ClipboardOwner>(QStringList{u"--silent"_s});
        else
            f.owner.reset();
        QTRY_VERIFY(f.x11.changeCount() != before);
        // The interface keeps turning while the change is looked at.
        const StressSupport::StallProbe stalls;
        DiagnosticRecorder diag;
        f.monitor->pollClipboard();
        QTRY_COMPARE(diag.lines(), (QStringList{u"[Clipboard] changeCount delta detected — types: []"_s,
                                                u"[Clipboard] Detected native screenshot via pasteboard type heuristic"_s,
                                                u"[Clipboard] No image found — skipped"_s}));
        QVERIFY2(stalls.longestStallMs() < 800, qPrintable(QString::number(stalls.longestStallMs())));
    }

    void turningCaptureBackOnIgnoresWhatIsThere()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(u"[Clipboard] Capture disabled"_s), 1);
        f.offer({{png, encoded(makeImage(40, 40))}});
        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(u"[Clipboard] Capture enabled"_s), 1);
        f.monitor->pollClipboard();
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 0);
        QVERIFY(!diag.contains(u"[Clipboard] changeCount delta"_s));
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
        const QString file = f.shots + u"/Screenshot from 2026-12-06 10-00-00.png"_s;
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
        f.timings.settleDelay = 1000ms;
        f.timings.settleBound = 500ms;
        f.start(&f.x11);
        QFile slow(f.shots + u"/Screenshot slow.png"_s);
        if (fileCompletes)
            writePng(slow.fileName(), makeImage(64, 64, Qt::black));
        else
            QVERIFY(slow.open(QIODevice::WriteOnly));  // the tool never finishes it
        QTest::qWait(50);  // the folder event is in: the file is settling
        f.offerImageAndPoll(makeImage(64, 64, Qt::white));
        QTRY_COMPARE_WITH_TIMEOUT(f.monitor->screenshots().size(), fileCompletes ? 2 : 1, 5000);
        QCOMPARE(f.clipboardFiles().size(), 1);
    }

    // Copies of one screen-sized shot written a few milliseconds apart, as a
    // key held down makes, while both cores are busy: the newest hundred end
    // up listed. Distinct files under load are the folder stress test's.
    void identicalShotsUnderLoadEndWithTheNewestListed_data()
    {
        QTest::addColumn<int>("gapMs");
        QTest::newRow("stream") << 4;
        QTest::newRow("burst") << 0;
    }

    void identicalShotsUnderLoadEndWithTheNewestListed()
    {
        QFETCH(int, gapMs);
        ClipboardFixture f;
        f.timings.clipboardPollInterval = 800ms;
        f.start(&f.x11);
        constexpr int count = 300;
        const QString shot = writePng(f.root.path() + u"/shot.png"_s, noise(480, 300));
        QStringList written;
        {
            StressSupport::BusyCores load(2);
            for (int i = 0; i < count; ++i) {
                written << f.shots + u"/Screenshot %1.png"_s.arg(i, 4, 10, QLatin1Char('0'));
                QVERIFY(QFile::copy(shot, written.last()));
                if (gapMs > 0)
                    QTest::qWait(gapMs);
            }
        }
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
        f.offerAndPoll({{png, pngClaiming(40000, 40000)}});
        QTRY_COMPARE(diag.count(u"[Clipboard] No image found — skipped"_s), 1);
        // More data than the clipboard limit allows (set low here).
        const QByteArray big = encoded(noise(400, 400));
        QVERIFY(big.size() > 64 * 1024);
        f.offerAndPoll({{png, big}});
        QVERIFY(QtClipboard(nullptr, 64 * 1024).readImage().result().image.isNull());
        QVERIFY(!f.x11.readImage().result().image.isNull());
        // One transfer, of the best type offered: a broken PNG is not followed by the BMP.
        f.offerAndPoll({{u"image/bmp"_s, encoded(makeImage(8, 8), "BMP")}, {png, "not a png"}});
        QVERIFY(f.x11.readImage().result().image.isNull());
    }

    // Another program's copy made right after our own write is captured. Our
    // own captures are served to other programs but never captured, neither
    // while we hold the clipboard nor when another program hands our image
    // back; a copy the user asked for is no change at all.
    void ownImagesAreServedButNeverCaptured()
    {
        ClipboardFixture f;
        f.timings.sameShotWindow = 50ms;
        f.start(&f.x11);
        DiagnosticRecorder diag;
        const auto deltas = [&] { return diag.lines().filter(u"changeCount delta"_s).size(); };
        const QImage shot = makeImage(80, 60, Qt::darkRed, 5);
        writePng(f.shots + u"/Screenshot 1.png"_s, shot);
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);  // our write is on the clipboard, not yet polled
        f.offerImageAndPoll(makeImage(40, 40, Qt::white));
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);

        writePng(f.shots + u"/Screenshot 2.png"_s, makeImage(64, 48));
        QTRY_COMPARE(f.monitor->screenshots().size(), 3);
        QVERIFY(xclipOut(u"TARGETS"_s).contains("image/png"));
        QCOMPARE(QImage::fromData(xclipOut(png)).size(), QSize(64, 48));  // at full size
        f.monitor->pollClipboard();
        QTRY_COMPARE(diag.count(skippedOwn), 1);
        f.monitor->copyImageToClipboard(makeImage(32, 32, Qt::yellow));
        QCOMPARE(QImage::fromData(xclipOut(png)).size(), QSize(32, 32));  // any change it makes is in by now
        f.monitor->pollClipboard();
        f.settle(100);  // also past the same-shot window: only the memory of own writes is left
        QCOMPARE(deltas(), 2);
        QCOMPARE(diag.count(skippedOwn), 1);

        for (int times = 2; times <= 3; ++times) {  // a clipboard manager takes over our image, again
            f.offerImageAndPoll(shot);
            QTRY_COMPARE(diag.count(skippedOwn), times);
        }
        f.settle();
        QCOMPARE(f.monitor->screenshots().size(), 3);
        QCOMPARE(f.clipboardFiles().size(), 1);
    }
};

QTEST_MAIN(ClipboardCaptureTest)
#include "test_clipboard_capture.moc"
