// The real binary: a screenshot written into the screenshot folder shows up
// over D-Bus and, its text read, is found by Search and --search; a second
// process forwards its command; commands that end in the process itself. The
// history stored and coming back on the next launch is test_stress_startup's.

#include "E2eApp.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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

    // The bus takes what the command line takes: a named pipe would hold a
    // reader thread for good (two of them, every painted window), and a
    // relative path would resolve against the app's own folder.
    void busRefusesWhatIsNoFileToOpen()
    {
        E2eApp app;
        QVERIFY(app.start());
        const QTemporaryDir folder;
        QStringList pipes;
        for (const QString &name : {QStringLiteral("f1.png"), QStringLiteral("f2.png")}) {
            pipes << folder.filePath(name);
            QCOMPARE(mkfifo(QFile::encodeName(pipes.last()).constData(), 0600), 0);
        }
        const QList<QStringList> calls{{"PickColor", pipes[0], "not a file: " + pipes[0]},
                                       {"Annotate", pipes[1], "not a file: " + pipes[1]},
                                       {"PickColor", "f1.png", "not an absolute path: f1.png"}};
        for (const QStringList &call : calls) {
            QDBusMessage message = QDBusMessage::createMethodCall(
                QStringLiteral("com.tarnwick.Tarnwick"), QStringLiteral("/"), QStringLiteral("com.tarnwick.Tarnwick"),
                call[0]);
            message << call[1];
            const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
            QCOMPARE(reply.errorMessage(), call[2]);
        }
        QCOMPARE(app.runCommand({QStringLiteral("--toggle")}), 0);
        QCOMPARE(app.property(QStringLiteral("UnreadCount")).toInt(), 0);
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
        QTest::newRow("codes of a named pipe") << QStringList{"--codes", "pipe.png"} << 1
                                               << "tarnwick: pipe.png: not a file\n";
        for (const char *option : {"--text", "--codes"})
            QTest::newRow(option + QByteArray(" of an SVG with text, named .png"))
                << QStringList{option, "drawing.png"} << 1
                << "tarnwick: drawing.png: not an image that can be read without a display\n";
        QTest::newRow("search before anything was indexed") << QStringList{"--search", "word"} << 1
                                                            << "tarnwick: no search index yet\n";
    }

    void commandEndsAtOnce()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        E2eApp app;
        const QTemporaryDir folder;
        QCOMPARE(mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("pipe.png"))).constData(), 0600), 0);
        writeBytes(folder.filePath(QStringLiteral("drawing.png")),
                   "<svg xmlns='http://www.w3.org/2000/svg' width='99' height='40'><text y='20'>Hi</text></svg>");
        QString errors;
        QCOMPARE(app.runCommand(args, folder.path(), &errors), exitCode);
        QCOMPARE(errors, error.replace(QStringLiteral("%1"), folder.path()));
        QVERIFY(!E2eApp::nameOwned());
    }

    // The app reads a new screenshot's text into its index; the bus finds it
    // by a word and, after the app quit, the command line by two prefixes.
    void searchFindsTheWordsOfACapture()
    {
        E2eApp app;
        QVERIFY(app.start());
        QImage image(900, 140, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
        painter.drawText(image.rect().adjusted(30, 0, 0, 0), Qt::AlignVCenter,
                         QStringLiteral("Quarterly budget overrun"));
        painter.end();
        const QString path = writePng(app.screenshotFolder() + QStringLiteral("/Screenshot 1.png"), image);
        const auto search = [](const QString &words) {
            const QString name = QStringLiteral("com.tarnwick.Tarnwick");
            QDBusMessage call = QDBusMessage::createMethodCall(name, QStringLiteral("/"), name, QStringLiteral("Search"));
            call << words;
            return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000).arguments().value(0).toStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(search(QStringLiteral("budget")), QStringList{path}, 60000);
        app.stop();
        QByteArray output;
        QCOMPARE(app.runCommand({QStringLiteral("--search"), QStringLiteral("quart"), QStringLiteral("OVERR")}, {},
                                nullptr, &output),
                 0);
        const QJsonObject hit{{QStringLiteral("path"), path},
                              {QStringLiteral("snippet"), QStringLiteral("Quarterly budget overrun")}};
        QCOMPARE(output, QJsonDocument(hit).toJson(QJsonDocument::Compact) + '\n');
        QCOMPARE(app.runCommand({QStringLiteral("--search"), QStringLiteral("quarterly"), QStringLiteral("nowhere")}, {},
                                nullptr, &output),
                 0);
        QCOMPARE(output, QByteArray());
        QVERIFY(!E2eApp::nameOwned());
    }
};

QTEST_MAIN(E2eCaptureTest)
#include "test_e2e_capture.moc"
