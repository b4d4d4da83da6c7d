// The real binary started over a damaged preferences file (or a pipe or a
// folder in its place) and a damaged configuration cache: it runs with the
// defaults, says so once for each, and the next launch finds nothing to
// complain about.

#include "E2eApp.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>

using namespace TestSupport;

namespace {
const QString preferencesWarning = QStringLiteral("is damaged; starting with the default settings");
const QString cacheWarning = QStringLiteral("is damaged; starting without it");

QByteArray garbage(int size)
{
    QByteArray bytes(size, '\0');
    quint32 state = 7;
    for (char &byte : bytes)
        byte = char((state = state * 1664525u + 1013904223u) >> 24);
    return bytes;
}
}  // namespace

class StressStartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedStateAtStartGivesDefaultsAndOneWarningEach_data()
    {
        QTest::addColumn<QString>("preferences");
        QTest::newRow("bytes that are no settings") << "bytes";
        QTest::newRow("a named pipe, which would hold start-up") << "pipe";
        QTest::newRow("a folder, into which nothing saves") << "folder";
    }

    void damagedStateAtStartGivesDefaultsAndOneWarningEach()
    {
        QFETCH(QString, preferences);
        E2eApp app;
        app.captureErrorOutput();
        const QString cache = app.environment().value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/Tarnwick/.rc");
        const QByteArray damaged = "[General]\nclipboardCaptureEnabled=false\n" + garbage(600);
        QVERIFY(QDir().mkpath(QFileInfo(app.configFile()).path()));
        if (preferences == QLatin1String("bytes"))
            writeBytes(app.configFile(), damaged);
        else if (preferences == QLatin1String("pipe"))
            QCOMPARE(mkfifo(QFile::encodeName(app.configFile()).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkpath(app.configFile() + QStringLiteral("/inside")));
        writeBytes(cache, garbage(300));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(app.start());
        const qint64 startMs = clock.elapsed();
        // Capture works with the defaults, and the history reaches a preferences file that reads back whole.
        const QString path = writePng(app.screenshotFolder() + QStringLiteral("/Screenshot 1.png"), makeImage(200, 120));
        QTRY_VERIFY_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList() == QStringList{path}, 10000);
        // Read afresh on every try: the app writes it in the background, and
        // QSettings keeps what it read first.
        const auto stored = [&app](const char *key) {
            return QSettings(app.configFile(), QSettings::IniFormat).value(QLatin1String(key));
        };
        QTRY_COMPARE_WITH_TIMEOUT(stored("tarnwick.history.urls").toStringList(), QStringList{path}, 5000);
        QVERIFY(!stored("clipboardCaptureEnabled").isValid());
        const QFileInfo kept(app.configFile() + QStringLiteral(".damaged"));  // kept aside, not lost
        QVERIFY(kept.exists());
        QCOMPARE(kept.isFile(), preferences == QLatin1String("bytes"));
        QCOMPARE(kept.isDir(), preferences == QLatin1String("folder"));
        if (kept.isFile())
            QCOMPARE(readBytes(kept.filePath()), damaged);
        QVERIFY(!QFile::exists(cache));
        QTest::qWait(500);  // a repeated warning would be out by now
        const QString errors = app.errorOutput();
        QCOMPARE(errors.count(preferencesWarning), 1);
        QCOMPARE(errors.count(cacheWarning), 1);
        QCOMPARE(app.process().state(), QProcess::Running);

        app.stop();
        QVERIFY(app.start());
        QTRY_COMPARE_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList(), QStringList{path}, 5000);
        QTest::qWait(300);
        const QString again = app.errorOutput();
        QCOMPARE(again.count(preferencesWarning), 1);  // the first launch's, no more
        QCOMPARE(again.count(cacheWarning), 1);
        qInfo("damaged preferences and configuration cache: started in %lld ms with the defaults, one warning each, "
              "none on the next launch:\n%s",
              startMs, qPrintable(again.split(u'\n').filter(QStringLiteral(" is damaged; ")).join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(StressStartupTest)
#include "test_stress_startup.moc"
