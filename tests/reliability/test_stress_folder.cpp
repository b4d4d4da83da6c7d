// The screenshot folder under stress: a thousand files arriving at once or one
// after another while every core is busy, and the folder deleted and made
// again while the monitor runs. Real inotify on temporary folders.

#include "MonitorFixture.h"
#include "StressSupport.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <thread>

using namespace TestSupport;

namespace {

QString shotName(int i)
{
    return QStringLiteral("Screenshot %1.png").arg(i, 4, 10, QLatin1Char('0'));
}

// The real watcher, reporting every time the monitor tries to watch the
// folder: while the folder is missing, each of its polls is one try.
class ObservedWatcher : public InotifyFolderWatcher
{
public:
    bool watch(const QString &folder) override
    {
        const bool watching = InotifyFolderWatcher::watch(folder);
        refusals += watching ? 0 : 1;
        return watching;
    }
    int refusals = 0;
};

}  // namespace

class StressFolderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newestHundredListedUnderLoad_data()
    {
        QTest::addColumn<bool>("movedAtOnce");
        QTest::newRow("moved in at once from a sibling folder") << true;
        QTest::newRow("written one by one") << false;
    }

    // Files come from another thread, as from a screenshot tool, while the
    // main thread captures and two more threads keep both cores busy.
    void newestHundredListedUnderLoad()
    {
        QFETCH(bool, movedAtOnce);
        constexpr int count = 1000;
        MonitorFixture f;
        // Beside the watched folder, so moving a file in is a rename on one file system.
        const QString sibling = f.root.path() + QStringLiteral("/Pictures/Incoming");
        QList<QByteArray> pngs;
        for (int i = 0; i < count; ++i) {
            pngs << encoded(makeImage(320, 200, Qt::darkBlue, i));
            if (movedAtOnce)
                writeBytes(sibling + QLatin1Char('/') + shotName(i), pngs.last());
        }
        f.start();
        QStringList expected;
        for (int i = count - 1; i >= count - ScreenshotMonitor::maxItems; --i)
            expected << f.shots + QLatin1Char('/') + shotName(i);

        QElapsedTimer clock;
        clock.start();
        std::atomic<int> failures{0};
        {
            StressSupport::BusyCores load(2);
            std::thread producer([&] {
                for (int i = 0; i < count; ++i) {
                    const QString target = f.shots + QLatin1Char('/') + shotName(i);
                    if (movedAtOnce) {
                        failures += QFile::rename(sibling + QLatin1Char('/') + shotName(i), target) ? 0 : 1;
                        continue;
                    }
                    QFile file(target);
                    failures += file.open(QIODevice::WriteOnly) && file.write(pngs.at(i)) == pngs.at(i).size() ? 0 : 1;
                    file.close();
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
            // Checked once the producer is joined: a failure must not leave it running.
            const auto newestListed = [&] { return f.listedPaths().value(0) == expected.first(); };
            const bool listed = QTest::qWaitFor(newestListed, 120000);
            producer.join();
            QVERIFY(listed);
            QCOMPARE(failures.load(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(f.listedPaths(), expected, 30000);
        }
        const qint64 elapsed = clock.elapsed();
        f.settle(200);  // a late or repeated insertion would show up by now
        QCOMPARE(f.listedPaths(), expected);
        QCOMPARE(f.preferences->historyPaths(), expected);
        qInfo("folder stress, %s: %d files, newest %d listed in order after %lld ms with both cores busy",
              QTest::currentDataTag(), count, int(expected.size()), elapsed);
    }

    // With the product's timings: the folder is made again just after a poll
    // found it missing, the slowest moment for the watch to come back.
    void deletedFolderResumesQuickly()
    {
        constexpr qint64 boundMs = 2500;
        ObservedWatcher observed;  // outlives the monitor
        MonitorFixture f;
        f.folderWatcher = &observed;
        f.timings = ScreenshotMonitor::Timings{};
        auto &monitor = f.start();
        writePng(f.shots + QStringLiteral("/Screenshot before.png"), makeImage(64, 40, Qt::red));
        QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), 1, 5000);

        qint64 slowest = 0;
        for (int round = 0; round < 2; ++round) {
            QVERIFY(QDir(f.shots).removeRecursively());
            QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), 0, 5000);
            const int refusals = observed.refusals;
            QVERIFY(QTest::qWaitFor([&] { return observed.refusals > refusals; }, 10000));
            QElapsedTimer clock;
            clock.start();
            const QString path = writePng(f.shots + QStringLiteral("/Screenshot after %1.png").arg(round),
                                          makeImage(64, 40, Qt::blue, round));
            QVERIFY(QTest::qWaitFor([&] { return f.listedPaths() == QStringList{path}; }, 10000));
            slowest = std::max(slowest, clock.elapsed());
        }
        qInfo("folder deleted and made again: capture resumed %lld ms after the new file (bound %lld ms)", slowest,
              boundMs);
        QVERIFY2(slowest <= boundMs, qPrintable(QString::number(slowest)));
    }
};

QTEST_GUILESS_MAIN(StressFolderTest)
#include "test_stress_folder.moc"
