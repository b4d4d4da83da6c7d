// A flood of clipboard images from another process against the real X11
// clipboard: the main thread stays responsive, the newest image is the newest
// item, and memory comes back once the flood is over.

#include "MonitorFixture.h"
#include "StressSupport.h"
#include "capture/QtClipboard.h"
#include "session/AllocatorTuning.h"
#include "session/IdleMemoryRelease.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTimer>

#include <optional>

using namespace TestSupport;

namespace {
constexpr int floodImages = 500;
constexpr int floodIntervalMs = 10;  // 100 images a second for five seconds
constexpr int width = 320;
constexpr int height = 200;
constexpr qint64 stallBoundMs = 100;
constexpr double memoryBound = 1.2;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back on purpose (its quarantine): the
// figures are printed, the bound holds for plain builds.
constexpr bool memoryComesBack = false;
#else
constexpr bool memoryComesBack = true;
#endif
}  // namespace

class StressClipboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { AllocatorTuning::apply(); }  // as the program does first thing

    // The history starts full, as after some use, so the memory measured
    // before is what a full history holds and the flood has to fit in it.
    void floodKeepsTheMainThreadResponsiveAndMemoryBounded()
    {
        MonitorFixture f;
        QtClipboard x11;
        f.timings.clipboardPollInterval = std::chrono::milliseconds(10);
        QStringList restored;
        for (int i = 0; i < ScreenshotMonitor::maxItems; ++i)
            restored << writePng(f.folders.clipboardShots + QStringLiteral("/Screenshot restored %1.png").arg(i),
                                 makeImage(width, height, Qt::darkGreen, i));
        f.preferences->setHistoryPaths(restored);
        auto &monitor = f.start(&x11);
        IdleMemoryRelease memoryRelease(std::chrono::milliseconds(300));  // wired as the program wires it
        connect(&monitor, &ScreenshotMonitor::captureInserted, &memoryRelease, &IdleMemoryRelease::activity);
        QCOMPARE(monitor.screenshots().size(), ScreenshotMonitor::maxItems);
        f.settle(500);  // restored thumbnails published
        const qint64 before = StressSupport::memoryKiB();

        QSignalSpy inserted(&monitor, &ScreenshotMonitor::captureInserted);
        std::optional<StressSupport::StallProbe> stalls;
        qint64 peak = before;
        QTimer sampler;
        sampler.setInterval(50);
        connect(&sampler, &QTimer::timeout, this, [&] { peak = std::max(peak, StressSupport::memoryKiB()); });
        // The flood helper keeps owning the clipboard with its last image until it is killed.
        QProcess flood;
        const auto stopFlood = qScopeGuard([&] { flood.kill(); flood.waitForFinished(); });
        flood.start(QCoreApplication::applicationDirPath() + QStringLiteral("/clipboard_flood"),
                    {QString::number(floodImages), QString::number(floodIntervalMs), QString::number(width),
                     QString::number(height)});
        const auto nextLine = [&](int timeoutMs) {  // empty on timeout
            const auto ready = [&] { return flood.canReadLine() || flood.state() == QProcess::NotRunning; };
            return QTest::qWaitFor(ready, timeoutMs) ? flood.readLine().trimmed() : QByteArray();
        };
        QCOMPARE(nextLine(10000), QByteArray("started"));
        stalls.emplace();
        sampler.start();
        const QByteArray done = nextLine(30000);
        QVERIFY2(done.startsWith("done "), done.constData());
        const qint64 floodMs = done.mid(5).toLongLong();
        // The last image offered becomes the newest item.
        const QImage last = makeImage(width, height, Qt::darkCyan, floodImages - 1);
        QVERIFY(QTest::qWaitFor(
            [&] { return QImage(f.listedPaths().value(0)).convertToFormat(QImage::Format_ARGB32) == last; }, 20000));
        const qint64 longestStall = stalls->longestStallMs();
        stalls.reset();
        sampler.stop();

        f.settle(1000);  // the flood settles, and the quiet period passes
        const qint64 after = StressSupport::memoryKiB();
        const QStringList listed = f.listedPaths();
        qInfo("clipboard flood: %d images of %dx%d offered in %lld ms, %d captured; longest main-thread stall "
              "%lld ms; resident memory %lld KiB before, %lld KiB at peak, %lld KiB after",
              floodImages, width, height, floodMs, int(inserted.size()), longestStall, before, peak,
              after);
        QCOMPARE(listed.size(), ScreenshotMonitor::maxItems);
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()).size(), listed.size());
        QCOMPARE(f.preferences->historyPaths(), listed);
        QVERIFY2(longestStall <= stallBoundMs, qPrintable(QString::number(longestStall)));
        if (memoryComesBack)
            QVERIFY2(after <= before * memoryBound, qPrintable(QStringLiteral("%1 KiB after, %2 before").arg(after).arg(before)));
    }
};

QTEST_MAIN(StressClipboardTest)
#include "test_stress_clipboard.moc"
