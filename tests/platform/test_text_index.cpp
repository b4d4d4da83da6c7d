// The text indexer over a real monitor, reading real captures with Tesseract
// in the real reader process into a real SQLite index, and the index found by
// its words.

#include "AnalysisScreens.h"
#include "MonitorFixture.h"
#include "StressSupport.h"
#include "TestDoubles.h"
#include "analysis/TesseractTextRecognizer.h"
#include "search/ChildProcessCaptureReader.h"
#include "search/IndexedTextRecognizer.h"
#include "search/SqliteCaptureIndex.h"
#include "search/TextIndexer.h"
#include "viewer/TextRecognition.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <signal.h>
#include <unistd.h>

namespace {

QString tarnwick()
{
    return qEnvironmentVariable("TARNWICK_BINARY");
}

// The real reader, counting what it is asked to read.
class CountingReader : public CaptureReader
{
public:
    std::optional<CaptureContent> read(const QString &path) const override
    {
        lastReadMs = QDateTime::currentMSecsSinceEpoch();
        std::optional<CaptureContent> content = m_reader.read(path);
        childrenWhileReading = ChildProcessCaptureReader::runningChildren();
        ++calls;
        return content;
    }
    mutable std::atomic<int> calls = 0;
    mutable std::atomic<qint64> lastReadMs = 0;
    mutable std::atomic<int> childrenWhileReading = 0;

private:
    ChildProcessCaptureReader m_reader{tarnwick()};
};

// A process's fields by /proc after its name: state ('Z' once it has exited
// and awaits its parent), parent, …; none when it is gone.
QList<QByteArray> statusOf(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    // "pid (name) state ppid …", where the name may hold anything.
    return line.isEmpty() ? QList<QByteArray>() : line.mid(line.lastIndexOf(')') + 2).split(' ');
}

// This process's reader processes that have not exited.
QList<pid_t> runningReaders()
{
    QList<pid_t> found;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const pid_t pid = entry.toInt();
        const QList<QByteArray> status = pid > 0 ? statusOf(pid) : QList<QByteArray>();
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (status.value(1).toInt() == getpid() && status.value(0) != "Z" && command.open(QIODevice::ReadOnly)
            && command.readAll().contains("--read-captures"))
            found << pid;
    }
    return found;
}

const auto kSettle = std::chrono::milliseconds(1500);

// Oldest first; each line a capture of its own.
const QStringList kShots{"Invoice ORDER 4711 error", "Meeting in Zurich tomorrow", "Kernel panic error detected"};

QString textShot(const QString &path, const QString &lines, int ageSeconds)
{
    QImage image(900, 80 + 60 * int(lines.count(QLatin1Char('\n')) + 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
    painter.setPen(Qt::black);
    painter.drawText(image.rect().adjusted(30, 0, 0, 0), Qt::AlignVCenter, lines);
    painter.end();
    TestSupport::writePng(path, image);
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    return path;
}

}  // namespace

class TextIndexTest : public QObject
{
    Q_OBJECT

    MonitorFixture m_fixture;
    CountingReader m_reader;
    std::unique_ptr<SqliteCaptureIndex> m_index;
    std::unique_ptr<TextIndexer> m_indexer;
    QStringList m_paths;  // oldest first, as kShots

    QString indexFile() const { return m_fixture.root.filePath(QStringLiteral("cache/index.sqlite")); }

    // A new index object and indexer over the same file, as after a restart.
    void startIndexer()
    {
        m_indexer.reset();
        m_index = std::make_unique<SqliteCaptureIndex>(indexFile());
        m_indexer = std::make_unique<TextIndexer>(TextIndexer::Dependencies{
            m_fixture.monitor.get(), &m_reader, m_index.get(),
            {.settleDelay = kSettle, .engineRelease = std::chrono::milliseconds(200)}});
        m_indexer->setEnabled(true);
    }

    QStringList hits(const QString &words) const
    {
        QStringList found;
        for (const CaptureHit &hit : m_index->search(words))
            found << QString::number(m_paths.indexOf(hit.path));
        return found;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture.start();
        for (int i = 0; i < kShots.size(); ++i)
            m_paths << textShot(m_fixture.root.filePath(QStringLiteral("in/shot%1.png").arg(i)), kShots[i], 60 - i);
        QSignalSpy inserted(m_fixture.monitor.get(), &ScreenshotMonitor::captureInserted);
        m_fixture.monitor->addScreenshots(m_paths);
        QTRY_COMPARE(inserted.size(), 3);
        m_reader.calls = 0;
        startIndexer();
        QTRY_COMPARE_WITH_TIMEOUT(m_indexer->indexedCount(), 3, 60000);
        QCOMPARE(m_reader.calls.load(), 3);
    }

    void cleanup()
    {
        m_indexer.reset();
        m_index.reset();
        m_fixture.monitor.reset();
        m_fixture.preferences->setHistoryPaths({});
        m_paths.clear();
        QFile::remove(indexFile());
    }

    // hits: indexes into kShots, newest first; reads: recognitions after the change.
    void indexFindsCapturesByTheirWords_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QStringList>("hits");
        QTest::addColumn<int>("reads");
        QTest::newRow("indexed after capture, found by word") << "" << "panic" << QStringList{"2"} << 0;
        QTest::newRow("several, newest first") << "" << "error" << QStringList{"2", "0"} << 0;
        QTest::newRow("by prefix") << "" << "invo" << QStringList{"0"} << 0;
        QTest::newRow("in any case") << "" << "KERNEL" << QStringList{"2"} << 0;
        QTest::newRow("accents ignored") << "" << "zürich" << QStringList{"1"} << 0;
        QTest::newRow("two words") << "" << "4711 ord" << QStringList{"0"} << 0;
        QTest::newRow("every word must match") << "" << "panic 4711" << QStringList{} << 0;
        QTest::newRow("removed capture leaves") << "remove" << "error" << QStringList{"0"} << 0;
        QTest::newRow("clear all leaves nothing") << "clear" << "error" << QStringList{} << 0;
        QTest::newRow("restart resumes without reading again") << "restart" << "zurich" << QStringList{"1"} << 0;
        QTest::newRow("damaged index is rebuilt") << "damage" << "tomorrow" << QStringList{"1"} << 3;
        QTest::newRow("switch off deletes the index") << "off" << "panic" << QStringList{} << 0;
        QTest::newRow("new capture read once settled") << "fresh" << "budget" << QStringList{"3"} << 1;
        // Before any test reads on the main thread, whose reader stays.
        QTest::newRow("reader ends when idle") << "idle" << "panic" << QStringList{"2"} << 0;
    }

    void indexFindsCapturesByTheirWords()
    {
        QFETCH(QString, change);
        QFETCH(QString, words);
        QFETCH(QStringList, hits);
        QFETCH(int, reads);
        m_reader.calls = 0;
        if (change == "remove") {
            m_fixture.monitor->remove(m_fixture.monitor->screenshots().at(0));
            QTRY_COMPARE(m_index->paths().size(), 2);
        } else if (change == "clear") {
            m_fixture.monitor->removeAllDeletingTemporary();
            QTRY_VERIFY(m_index->paths().isEmpty());
        } else if (change == "restart") {
            startIndexer();
            QTRY_COMPARE(m_indexer->indexedCount(), 3);
        } else if (change == "damage") {
            m_indexer.reset();
            m_index.reset();
            TestSupport::writeBytes(indexFile(), QByteArray(8192, 'x'));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("search index .* damaged"));
            startIndexer();
            QTRY_COMPARE_WITH_TIMEOUT(m_indexer->indexedCount(), 3, 60000);
        } else if (change == "fresh") {
            const qint64 written = QDateTime::currentMSecsSinceEpoch();
            m_paths << textShot(m_fixture.root.filePath(QStringLiteral("in/fresh.png")), "Quarterly budget", 0);
            m_fixture.monitor->addScreenshots({m_paths.last()});
            QTRY_COMPARE_WITH_TIMEOUT(m_reader.calls.load(), 1, 60000);
            QCOMPARE_GE(m_reader.lastReadMs - written, qint64(kSettle.count()));
        } else if (change == "idle") {
            QVERIFY(m_reader.childrenWhileReading > 0);
            QTRY_COMPARE(ChildProcessCaptureReader::runningChildren(), 0);
            QCOMPARE(runningReaders(), QList<pid_t>());
            QCOMPARE(TesseractTextRecognizer::loadedEngines(), 0);
        } else if (change == "off") {
            m_indexer->setEnabled(false);
            m_indexer->waitForBackgroundWork();
            QVERIFY(!QFile::exists(indexFile()));
        }
        m_indexer->waitForBackgroundWork();
        QCOMPARE(this->hits(words), hits);
        QCOMPARE(m_reader.calls.load(), reads);
    }

    // The event loop keeps running while a history of captures is read.
    void mainThreadKeepsRespondingWhileIndexing()
    {
        QStringList more;
        for (int i = 0; i < 20; ++i)
            more << textShot(m_fixture.root.filePath(QStringLiteral("in/more%1.png").arg(i)), kShots.join('\n'), 120);
        m_reader.calls = 0;
        QSignalSpy progress(m_indexer.get(), &TextIndexer::progressChanged);
        m_fixture.monitor->addScreenshots(more);
        const StressSupport::StallProbe probe;
        // Waits in an event loop: QTRY's polling sleeps between polls.
        while (m_indexer->indexedCount() < 23 && progress.wait(60000)) {
        }
        QCOMPARE(m_indexer->indexedCount(), 23);
        QCOMPARE(m_reader.calls.load(), 20);
        const qint64 stall = probe.longestStallMs();
        QVERIFY2(stall <= 50, qPrintable(QStringLiteral("main thread held for %1 ms").arg(stall)));
    }

    // Copy Text on an indexed, unchanged capture: the stored text, without
    // reading, and the same as a fresh reading.
    void copyTextTakesTheStoredText()
    {
        const ScriptedTextRecognizer engine({QStringList{"read again"}});
        const IndexedTextRecognizer copyText(engine, *m_index);
        const std::optional<QString> stored = TextRecognition::recognizeFile(copyText, m_paths[2]);
        QCOMPARE(stored, TextRecognition::recognizeFile(TesseractTextRecognizer(), m_paths[2]));
        QVERIFY(stored->contains(QStringLiteral("panic")));
    }

    // The reader process, on this thread: a capture's text and codes; a child
    // that died meanwhile replaced; a program that answers nothing, or none,
    // reads nothing and holds nothing up.
    void readerProcessReadsAndRecovers_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("killFirst");
        QTest::addColumn<bool>("reads");
        QTest::newRow("text and codes") << tarnwick() << "qr.png" << false << true;
        QTest::newRow("a name with a line feed") << tarnwick() << "Bildschirmfoto\nvon heute é.png" << false << true;
        QTest::newRow("a dead child is replaced") << tarnwick() << "qr.png" << true << true;
        QTest::newRow("a program that quits") << QStringLiteral("/bin/true") << "qr.png" << false << false;
        QTest::newRow("no such program") << QStringLiteral("/nonexistent/tarnwick") << "qr.png" << false << false;
    }

    void readerProcessReadsAndRecovers()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        QFETCH(bool, killFirst);
        QFETCH(bool, reads);
        const QString qr = m_fixture.root.filePath(name);
        QImage page(1000, 400, QImage::Format_RGB32);
        page.fill(Qt::white);
        AnalysisScreens::paste(page, QImage(m_paths[0]), QPoint(0, 0));
        AnalysisScreens::paste(page, AnalysisScreens::encoded(QStringLiteral("qrencode"), {QStringLiteral("-s"), QStringLiteral("6"), QStringLiteral("https://example.com/q")}, qr), QPoint(700, 180));
        QVERIFY(page.save(qr, "PNG"));
        m_indexer.reset();  // and the reader process of its thread
        const ChildProcessCaptureReader reader(program);
        if (killFirst) {
            QVERIFY(reader.read(m_paths[1]));
            const QList<pid_t> children = runningReaders();
            QCOMPARE(children.size(), 1);
            ::kill(children[0], SIGKILL);
            QTRY_COMPARE(statusOf(children[0]).value(0), QByteArray("Z"));  // exited, its socket closed
        }
        if (program.startsWith(QStringLiteral("/nonexistent")))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot start"));
        else if (!reads)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("reader ended on"));
        const std::optional<CaptureContent> content = reader.read(qr);
        QCOMPARE(content.has_value(), reads);
        if (reads) {
            QVERIFY2(content->text.contains(QStringLiteral("ORDER 4711")), qPrintable(content->text));
            QCOMPARE(content->codes, QStringList{QStringLiteral("https://example.com/q")});
        }
    }
};

QTEST_MAIN(TextIndexTest)
#include "test_text_index.moc"
