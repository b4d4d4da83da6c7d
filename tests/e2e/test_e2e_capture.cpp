// The real binary: a screenshot written into the screenshot folder shows up
// over D-Bus and in the preferences; a second process forwards its command.
// The history coming back on the next launch is test_stress_startup's.

#include "E2eApp.h"
#include "TestSupport.h"

#include <QSettings>
#include <QTest>

using namespace TestSupport;

class E2eCaptureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screenshotFileReachesBusAndPreferences()
    {
        E2eApp app;
        QVERIFY(app.start());
        // GNOME creates the folder with the first screenshot.
        const QString path = writePng(app.screenshotFolder() + QStringLiteral("/Screenshot from 2026-12-06 10-00-00.png"),
                                      makeImage(800, 500));
        QTRY_VERIFY_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList().contains(path), 10000);
        QCOMPARE(app.property(QStringLiteral("UnreadCount")).toInt(), 1);
        // The app writes its preferences in the background: read the file afresh on every try,
        // since QSettings keeps what it read first.
        const auto storedHistory = [&app] {
            return QSettings(app.configFile(), QSettings::IniFormat).value(QStringLiteral("tarnwick.history.urls")).toStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(storedHistory(), QStringList{path}, 5000);

        QVERIFY(!app.property(QStringLiteral("IsPending")).toBool());
        QCOMPARE(app.runCommand({QStringLiteral("--screenshot-taken")}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(app.property(QStringLiteral("IsPending")).toBool(), 5000);
        QCOMPARE(app.process().state(), QProcess::Running);
    }

    void twoLaunchesAtOnceLeaveOneInstance()
    {
        E2eApp app;
        QProcess first;
        QProcess second;
        for (QProcess *process : {&first, &second})
            process->setProcessEnvironment(app.environment());
        first.start(qEnvironmentVariable("TARNWICK_BINARY"));
        second.start(qEnvironmentVariable("TARNWICK_BINARY"));
        QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning,
                                 15000);
        QProcess &gone = first.state() == QProcess::NotRunning ? first : second;
        QProcess &running = &gone == &first ? second : first;
        QCOMPARE(gone.exitCode(), 0);
        QTest::qWait(500);
        QCOMPARE(running.state(), QProcess::Running);
        // The one left is the bus instance and captures alone.
        const QString path = writePng(app.screenshotFolder() + QStringLiteral("/Screenshot 1.png"), makeImage(300, 200));
        QTRY_VERIFY_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList().contains(path), 10000);
        running.terminate();
        QVERIFY(running.waitForFinished(5000));
    }

    void commandLine()
    {
        E2eApp app;
        QCOMPARE(app.runCommand({QStringLiteral("--version")}), 0);
        QCOMPARE(app.runCommand({QStringLiteral("--help")}), 0);
        QVERIFY(app.runCommand({QStringLiteral("--no-such-option")}) != 0);
    }
};

QTEST_GUILESS_MAIN(E2eCaptureTest)
#include "test_e2e_capture.moc"
