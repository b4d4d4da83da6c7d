// The real zxing-cpp and Tesseract on generated screenshots, codes made by
// other encoders (qrencode, zint), and the real binary's --codes and --text.

#include "AnalysisScreens.h"
#include "TestSupport.h"
#include "analysis/TesseractTextRecognizer.h"
#include "analysis/ZxingCodeDetector.h"
#include "viewer/CodeScan.h"
#include "viewer/TextRecognition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <algorithm>
#include <future>
#include <vector>

using namespace AnalysisScreens;
using TestSupport::writeBytes;
using namespace Qt::StringLiterals;

namespace {

const QSize kRetina(2880, 1800);

struct Placed {
    QString code;  // key into the generated codes
    QPoint at;
    int scale;
};
using Layout = QList<Placed>;
using Truth = QList<std::pair<QString, QRectF>>;  // "index key" of each placed code, and its box

const Layout threeCodes{{"ean13", {300, 300}, 2}, {"code128", {1400, 300}, 2}, {"qr", {900, 1100}, 2}};

// Flips a third of the data modules of a QR code made with 8-pixel modules,
// leaving the finder, timing, alignment and format areas alone: located, but
// far beyond what error correction repairs.
QImage damaged(QImage qr)
{
    const int module = 8;
    const int n = qr.width() / module;
    QPainter painter(&qr);
    QRandomGenerator random(7);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const bool finder = (x < 9 && y < 9) || (x >= n - 9 && y < 9) || (x < 9 && y >= n - 9);
            const bool alignment = x >= n - 10 && x <= n - 4 && y >= n - 10 && y <= n - 4;
            if (finder || alignment || x == 6 || y == 6 || random.bounded(3) != 0)
                continue;
            painter.fillRect(x * module, y * module, module, module, random.bounded(2) ? Qt::black : Qt::white);
        }
    }
    return qr;
}

bool near(const QRectF &box, const QRectF &truth)
{
    const QRectF off(box.topLeft() - truth.topLeft(), box.bottomRight() - truth.bottomRight());
    return std::max({std::abs(off.left()), std::abs(off.top()), std::abs(off.right()), std::abs(off.bottom())}) <= 0.02;
}

QStringList payloadsOf(const QList<DetectedCode> &codes)
{
    QStringList payloads;
    for (const DetectedCode &code : codes) {
        if (code.text)
            payloads.append(*code.text);
    }
    payloads.sort();
    return payloads;
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The real binary, without a display.
Run tarnwick(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("TARNWICK_BINARY"), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

}  // namespace

Q_DECLARE_METATYPE(Placed)

class AnalysisTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QMap<QString, QImage> m_codes;
    QMap<QString, QString> m_read;  // "format text" by key, text "null" where it cannot be read
    ZxingCodeDetector m_detector;
    TesseractTextRecognizer m_recognizer;

    // A 2880×1800 window with the codes pasted in, and where each one is.
    QImage screen(const Layout &layout, Truth *truth = nullptr) const
    {
        QImage image = window(kRetina);
        for (const Placed &placed : layout) {
            const QRect rect = paste(image, m_codes.value(placed.code), placed.at, placed.scale);
            if (truth)
                truth->append({u"%1 %2"_s.arg(truth->size()).arg(placed.code),
                               QTransform::fromScale(1.0 / kRetina.width(), 1.0 / kRetina.height()).mapRect(QRectF(rect))});
        }
        return image;
    }

    // Each code as "index key: format text" after the placed code it covers, sorted.
    static QStringList described(const QList<DetectedCode> &codes, const Truth &truth)
    {
        QStringList lines;
        for (const DetectedCode &code : codes) {
            const auto on = std::ranges::find_if(truth, [&](const auto &placed) { return near(code.box, placed.second); });
            lines << (on == truth.end() ? u"nowhere"_s : on->first) + u": "_s + code.format + u' ' + code.text.value_or(u"null"_s);
        }
        lines.sort();
        return lines;
    }

    QStringList expected(const Layout &layout) const
    {
        QStringList lines;
        for (const Placed &placed : layout)
            lines << u"%1 %2: %3"_s.arg(lines.size()).arg(placed.code, m_read.value(placed.code));
        lines.sort();
        return lines;
    }

    QString saved(const QString &name, const QImage &image) const
    {
        const QString path = m_dir.filePath(name);
        if (!QFileInfo::exists(path))
            image.save(path);
        return path;
    }

    void addCode(const QString &key, const QString &program, const QStringList &arguments, const QString &read)
    {
        const QImage image = encoded(program, arguments, m_dir.filePath(key + u"-code.png"_s));
        QVERIFY2(!image.isNull(), qPrintable(program + u" failed (install it: tools/setup.sh)"_s));
        m_codes.insert(key, image);
        m_read.insert(key, read);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString url = u"https://example.com/tarnwick?shot=42"_s;
        addCode(u"qr"_s, u"qrencode"_s, {u"-s"_s, u"6"_s, u"-m"_s, u"0"_s, url}, u"QRCode "_s + url);
        addCode(u"qrDamaged"_s, u"qrencode"_s, {u"-s"_s, u"8"_s, u"-m"_s, u"0"_s, u"-l"_s, u"L"_s, u"lost payload"_s},
                u"QRCode null"_s);
        m_codes.insert(u"qrDamaged"_s, damaged(m_codes.value(u"qrDamaged"_s)));
        const QStringList bars{u"--notext"_s, u"--noquietzones"_s, u"--scale"_s, u"2"_s};
        addCode(u"code128"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"20"_s, u"--height"_s, u"40"_s, u"-d"_s, u"TW-2026/128"_s},
                u"Code128 TW-2026/128"_s);
        addCode(u"ean13"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"13"_s, u"-d"_s, u"400638133393"_s}, u"EAN13 4006381333931"_s);
        addCode(u"pdf417"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"55"_s, u"-d"_s, u"Boarding pass 17C"_s},
                u"PDF417 Boarding pass 17C"_s);
    }

    void codesAreLocatedAndRead_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<bool>("shown");  // by the viewer: some code could be read
        QTest::newRow("QR code, top left") << Layout{{"qr", {620, 240}, 2}} << true;
        QTest::newRow("Code 128, bottom right") << Layout{{"code128", {1700, 1400}, 1}} << true;
        QTest::newRow("EAN-13 alone, middle") << Layout{{"ean13", {1300, 800}, 2}} << true;
        QTest::newRow("PDF417, left") << Layout{{"pdf417", {560, 1100}, 1}} << true;
        QTest::newRow("unreadable QR beside a readable one") << Layout{{"qrDamaged", {400, 400}, 1}, {"qr", {1600, 500}, 2}} << true;
        QTest::newRow("unreadable QR alone") << Layout{{"qrDamaged", {1200, 700}, 1}} << false;
        QTest::newRow("no code") << Layout{} << false;
        QTest::newRow("EAN-13, Code 128 and QR together") << threeCodes << true;
        QTest::newRow("the same EAN-13 twice") << Layout{{"ean13", {300, 300}, 2}, {"ean13", {1500, 1100}, 2}} << true;
    }

    // Every placed code is located where it is, with its format and, where
    // readable, its text. The system's zxing-cpp aborts on linear codes read
    // together: surviving the rows with two linear codes is half of what they prove.
    void codesAreLocatedAndRead()
    {
        QFETCH(Layout, layout);
        QFETCH(bool, shown);
        Truth truth;
        const QList<DetectedCode> codes = m_detector.detect(screen(layout, &truth));
        QCOMPARE(described(codes, truth), expected(layout));
        const std::optional<CodeScanResult> result = CodeScan::resultFrom(codes);
        QCOMPARE(result.has_value(), shown);
        if (result)
            QCOMPARE(result->boxes.size(), codes.size());
    }

    // Clipboard images often are black marks on nothing: read as on white.
    void aCodeOnTransparencyIsRead()
    {
        QImage clear(700, 700, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QImage qr = m_codes.value(u"qr"_s).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < qr.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(qr.scanLine(y));
            for (int x = 0; x < qr.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0);
        }
        QPainter(&clear).drawImage(100, 100, qr);
        QCOMPARE(payloadsOf(m_detector.detect(clear)), QStringList{u"https://example.com/tarnwick?shot=42"_s});
    }

    void screenTextIsRead_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("light theme, 13 px") << false << 13;
        QTest::newRow("dark theme, 16 px") << true << 16;
    }

    void screenTextIsRead()
    {
        QFETCH(bool, dark);
        QFETCH(int, pixelSize);
        const TextScreen page = text(QSize(1600, 1000), dark, pixelSize, 260);
        const std::optional<QStringList> lines = m_recognizer.recognizeLines(page.image);
        QVERIFY(lines);
        // The page's cards are read on two engines at once, joined in reading order.
        QCOMPARE(TesseractTextRecognizer({}, 2).recognizeLines(page.image), lines);
        const QString expected = page.lines.join(u'\n');
        const double ours = wordAccuracy(expected, lines->join(u'\n'));
        QVERIFY2(ours >= 0.95, qPrintable(QString::number(ours)));

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"OMP_THREAD_LIMIT"_s, u"1"_s);
        cli.setProcessEnvironment(env);
        cli.start(u"tesseract"_s, {saved(u"text-%1-%2.png"_s.arg(dark).arg(pixelSize), page.image), u"-"_s, u"-l"_s, u"eng"_s});
        QVERIFY2(cli.waitForFinished(120000) && cli.exitCode() == 0, "tesseract (the command) did not run");
        const double theirs = wordAccuracy(expected, QString::fromUtf8(cli.readAllStandardOutput()));
        QVERIFY2(ours >= theirs, qPrintable(u"%1 < %2"_s.arg(ours).arg(theirs)));

        // Reading order: each written line is found after the one before it.
        qsizetype from = 0;
        for (const QString &line : page.lines) {
            const auto found = std::find_if(lines->cbegin() + from, lines->cend(), [&](const QString &read) {
                return wordAccuracy(line, read) >= 0.8;
            });
            QVERIFY2(found != lines->cend(), qPrintable(u"out of order or missing: "_s + line));
            from = found - lines->cbegin() + 1;
        }
    }

    // No text is an empty text; no engine is a failure, which copies nothing.
    void noTextIsNotAFailure()
    {
        const QString path = saved(u"blank.png"_s, window(QSize(1280, 800), true));
        QCOMPARE(TextRecognition::recognizeFile(m_recognizer, path), std::optional<QString>(QString()));
        const TesseractTextRecognizer broken(m_dir.filePath(u"no-tessdata"_s));
        QCOMPARE(broken.recognizeLines(window(QSize(200, 100))), std::nullopt);
    }

    // The viewer and the library window scan on pool threads, several at once.
    void severalThreadsAtOnce()
    {
        const QImage codes = screen(threeCodes);
        const QImage page = text(QSize(900, 400), false, 14, 50).image;
        const QStringList payloads = payloadsOf(m_detector.detect(codes));
        const std::optional<QStringList> lines = m_recognizer.recognizeLines(page);
        QVERIFY(lines && !lines->isEmpty());
        std::vector<std::future<QStringList>> scans;
        std::vector<std::future<std::optional<QStringList>>> readings;
        for (int i = 0; i < 3; ++i) {
            scans.push_back(std::async(std::launch::async, [&] { return payloadsOf(m_detector.detect(codes)); }));
            readings.push_back(std::async(std::launch::async, [&] { return m_recognizer.recognizeLines(page); }));
        }
        for (auto &scan : scans)
            QCOMPARE(scan.get(), payloads);
        for (auto &reading : readings)
            QCOMPARE(reading.get(), lines);
    }

    void codesCommandPrintsEveryLocatedCode()
    {
        const Layout layout{{"qr", {300, 300}, 2}, {"ean13", {1500, 1200}, 2}, {"qrDamaged", {1800, 300}, 1}};
        Truth truth;
        const Run run = tarnwick({u"--codes"_s, saved(u"codes.png"_s, screen(layout, &truth))});
        QCOMPARE(run.exitCode, 0);
        QList<DetectedCode> printed;
        for (const QByteArray &line : run.out.trimmed().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            const QJsonArray box = object.value(u"box"_s).toArray();
            const QJsonValue text = object.value(u"text"_s);
            printed.append({object.value(u"format"_s).toString(), text.isNull() ? std::nullopt : std::optional(text.toString()),
                            QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble())});
        }
        QCOMPARE(described(printed, truth), expected(layout));
    }

    void textCommandPrintsWhatCopyTextCopies()
    {
        const QString path = saved(u"cli-text.png"_s, text(QSize(1000, 500), false, 14, 60).image);
        const Run run = tarnwick({u"--text"_s, path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), *TextRecognition::recognizeFile(m_recognizer, path) + u'\n');
    }

    void commandsFailOnFilesTheyCannotRead_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("file");
        QTest::newRow("codes, missing file") << "--codes" << "missing.png";
        QTest::newRow("text, missing file") << "--text" << "missing.png";
        QTest::newRow("codes, not an image") << "--codes" << "notes.png";
        QTest::newRow("text, not an image") << "--text" << "notes.png";
    }

    void commandsFailOnFilesTheyCannotRead()
    {
        QFETCH(QString, option);
        QFETCH(QString, file);
        writeBytes(m_dir.filePath(u"notes.png"_s), "plain words, no picture");
        const Run run = tarnwick({option, m_dir.filePath(file)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(run.err.contains(file.toUtf8()));
    }
};

QTEST_MAIN(AnalysisTest)
#include "test_analysis.moc"
