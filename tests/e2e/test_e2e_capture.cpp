// The real binary: a screenshot written into the screenshot folder shows up
// over D-Bus; a second process forwards its command; commands that end in the
// process itself. The history stored and coming back on the next launch is
// test_stress_startup's.

#include "E2eApp.h"
#include "TestSupport.h"

#include <QTemporaryDir>
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

    // Each ends in this process: nothing is forwarded and no instance starts.
    // A file for --pick-color or --annotate is made absolute here, as a
    // running instance does not share this process's folder.
    void commandEndsAtOnce_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("version") << QStringList{"--version"} << 0 << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "";
        QTest::newRow("unknown option") << QStringList{"--no-such-option"} << 1
                                        << "tarnwick: Unknown option 'no-such-option'.\n";
        QTest::newRow("pick a missing file") << QStringList{"--pick-color", "missing.png"} << 1
                                             << "tarnwick: no such file: %1/missing.png\n";
        QTest::newRow("pick a folder") << QStringList{"--pick-color", "."} << 1 << "tarnwick: not a file: %1\n";
        QTest::newRow("annotate a missing file") << QStringList{"--annotate", "missing.png"} << 1
                                                 << "tarnwick: no such file: %1/missing.png\n";
    }

    void commandEndsAtOnce()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        E2eApp app;
        const QTemporaryDir folder;
        QString errors;
        QCOMPARE(app.runCommand(args, folder.path(), &errors), exitCode);
        QCOMPARE(errors, error.replace(QStringLiteral("%1"), folder.path()));
        QVERIFY(!E2eApp::nameOwned());
    }
};

QTEST_GUILESS_MAIN(E2eCaptureTest)
#include "test_e2e_capture.moc"
