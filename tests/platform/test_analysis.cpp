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

}  // namespace

Q_DECLARE_METATYPE(Placed)

namespace {

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

QRectF normalised(const QRect &rect, const QSize &size)
{
    return QTransform::fromScale(1.0 / size.width(), 1.0 / size.height()).mapRect(QRectF(rect));
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
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("TARNWICK_BINARY"), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

}  // namespace

class AnalysisTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QMap<QString, QImage> m_codes;
    QMap<QString, QString> m_payloads;
    ZxingCodeDetector m_detector;
    TesseractTextRecognizer m_recognizer;

    // A 2880×1800 window with the codes pasted in; their true boxes by key.
    QImage screen(const Layout &layout, QMap<QString, QRectF> *truth = nullptr) const
    {
        QImage image = window(kRetina);
        for (const Placed &placed : layout) {
            const QRect rect = paste(image, m_codes.value(placed.code), placed.at, placed.scale);
            if (truth)
                truth->insert(placed.code, normalised(rect, kRetina));
        }
        return image;
    }

    QString saved(const QString &name, const QImage &image) const
    {
        const QString path = m_dir.filePath(name);
        if (!QFileInfo::exists(path))
            image.save(path);
        return path;
    }

    void addCode(const QString &key, const QString &program, const QStringList &arguments, const QString &payload)
    {
        const QImage image = encoded(program, arguments, m_dir.filePath(key + QStringLiteral("-code.png")));
        QVERIFY2(!image.isNull(), qPrintable(program + QStringLiteral(" failed (install it: tools/setup.sh)")));
        m_codes.insert(key, image);
        m_payloads.insert(key, payload);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString url = u"https://example.com/tarnwick?shot=42"_s;
        addCode(u"qr"_s, u"qrencode"_s, {u"-s"_s, u"6"_s, u"-m"_s, u"0"_s, url}, url);
        addCode(u"qrL"_s, u"qrencode"_s, {u"-s"_s, u"8"_s, u"-m"_s, u"0"_s, u"-l"_s, u"L"_s, u"lost payload"_s}, {});
        m_codes.insert(u"qrDamaged"_s, damaged(m_codes.take(u"qrL"_s)));
        const QStringList bars{u"--notext"_s, u"--noquietzones"_s, u"--scale"_s, u"2"_s};
        addCode(u"code128"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"20"_s, u"--height"_s, u"40"_s, u"-d"_s, u"TW-2026/128"_s},
                u"TW-2026/128"_s);
        addCode(u"ean13"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"13"_s, u"-d"_s, u"400638133393"_s}, u"4006381333931"_s);
        addCode(u"pdf417"_s, u"zint"_s, bars + QStringList{u"-b"_s, u"55"_s, u"-d"_s, u"Boarding pass 17C"_s},
                u"Boarding pass 17C"_s);
    }

    void eachFormatIsReadWhereItIs_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("format");
        QTest::addColumn<Placed>("placed");
        QTest::newRow("QR code, top left") << "qr" << "QRCode" << Placed{"qr", {620, 240}, 2};
        QTest::newRow("Code 128, bottom right") << "code128" << "Code128" << Placed{"code128", {1700, 1400}, 1};
        QTest::newRow("EAN-13 alone, middle") << "ean13" << "EAN13" << Placed{"ean13", {1300, 800}, 2};
        QTest::newRow("PDF417, left") << "pdf417" << "PDF417" << Placed{"pdf417", {560, 1100}, 1};
    }

    void eachFormatIsReadWhereItIs()
    {
        QFETCH(QString, code);
        QFETCH(QString, format);
        QFETCH(Placed, placed);
        QMap<QString, QRectF> truth;
        const QList<DetectedCode> codes = m_detector.detect(screen({placed}, &truth));
        QCOMPARE(codes.size(), 1);
        QCOMPARE(codes[0].format, format);
        QCOMPARE(codes[0].text.value_or(QStringLiteral("<none>")), m_payloads.value(code));
        QVERIFY2(near(codes[0].box, truth.value(code)),
                 qPrintable(QStringLiteral("box %1,%2 %3×%4").arg(codes[0].box.x()).arg(codes[0].box.y())
                                .arg(codes[0].box.width()).arg(codes[0].box.height())));
    }

    void whatTheViewerIsGiven_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QStringList>("payloads");  // sorted
        QTest::addColumn<int>("boxes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("unreadable QR beside a readable one")
            << Layout{{"qrDamaged", {400, 400}, 1}, {"qr", {1600, 500}, 2}}
            << QStringList{"https://example.com/tarnwick?shot=42"} << 2 << true;
        QTest::newRow("unreadable QR alone") << Layout{{"qrDamaged", {1200, 700}, 1}} << QStringList() << 1 << false;
        QTest::newRow("no code") << Layout{} << QStringList() << 0 << false;
        QTest::newRow("EAN-13, Code 128 and QR together")
            << Layout{{"ean13", {300, 300}, 2}, {"code128", {1400, 300}, 2}, {"qr", {900, 1100}, 2}}
            << QStringList{"4006381333931", "TW-2026/128", "https://example.com/tarnwick?shot=42"} << 3 << true;
        QTest::newRow("the same EAN-13 twice")
            << Layout{{"ean13", {300, 300}, 2}, {"ean13", {1500, 1100}, 2}}
            << QStringList{"4006381333931", "4006381333931"} << 2 << true;
    }

    // The system's zxing-cpp aborts on linear codes read together: surviving
    // the rows with two linear codes is half of what they prove.
    void whatTheViewerIsGiven()
    {
        QFETCH(Layout, layout);
        QFETCH(QStringList, payloads);
        QFETCH(int, boxes);
        QFETCH(bool, shown);
        const QList<DetectedCode> codes = m_detector.detect(screen(layout));
        QCOMPARE(payloadsOf(codes), payloads);
        QCOMPARE(codes.size(), boxes);
        const std::optional<CodeScanResult> result = CodeScan::resultFrom(codes);
        QCOMPARE(result.has_value(), shown);
        if (result)
            QCOMPARE(result->boxes.size(), boxes);
    }

    // Clipboard images often are black marks on nothing: read as on white.
    void aCodeOnTransparencyIsRead()
    {
        QImage clear(700, 700, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QImage qr = m_codes.value(QStringLiteral("qr")).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < qr.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(qr.scanLine(y));
            for (int x = 0; x < qr.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0);
        }
        QPainter(&clear).drawImage(100, 100, qr);
        QCOMPARE(payloadsOf(m_detector.detect(clear)), QStringList{m_payloads.value(QStringLiteral("qr"))});
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
        const QString expected = page.lines.join(QLatin1Char('\n'));
        const double ours = wordAccuracy(expected, lines->join(QLatin1Char('\n')));
        QVERIFY2(ours >= 0.95, qPrintable(QString::number(ours)));

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral("tesseract"), {saved(QStringLiteral("text-%1-%2.png").arg(dark).arg(pixelSize),
                                                      page.image), QStringLiteral("-"), QStringLiteral("-l"),
                                                QStringLiteral("eng")});
        QVERIFY2(cli.waitForFinished(120000) && cli.exitCode() == 0, "tesseract (the command) did not run");
        const double theirs = wordAccuracy(expected, QString::fromUtf8(cli.readAllStandardOutput()));
        QVERIFY2(ours >= theirs, qPrintable(QStringLiteral("%1 < %2").arg(ours).arg(theirs)));

        // Reading order: each written line is found after the one before it.
        qsizetype from = 0;
        for (const QString &line : page.lines) {
            const auto found = std::find_if(lines->cbegin() + from, lines->cend(), [&](const QString &read) {
                return wordAccuracy(line, read) >= 0.8;
            });
            QVERIFY2(found != lines->cend(), qPrintable(QStringLiteral("out of order or missing: ") + line));
            from = found - lines->cbegin() + 1;
        }
    }

    void aPageWithoutTextGivesAnEmptyText()
    {
        const QString path = saved(QStringLiteral("blank.png"), window(QSize(1280, 800), true));
        QCOMPARE(TextRecognition::recognizeFile(m_recognizer, path), std::optional<QString>(QString()));
    }

    // The viewer and the library window scan on pool threads, several at once.
    void severalThreadsAtOnce()
    {
        const QImage codes = screen({{"ean13", {300, 300}, 2}, {"code128", {1400, 300}, 2}, {"qr", {900, 1100}, 2}});
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

    void missingLanguageDataIsAnEngineFailure()
    {
        const TesseractTextRecognizer broken(m_dir.filePath(QStringLiteral("no-tessdata")));
        QCOMPARE(broken.recognizeLines(window(QSize(200, 100))), std::nullopt);
    }

    void codesCommandPrintsEveryLocatedCode()
    {
        QMap<QString, QRectF> truth;
        const QString path = saved(QStringLiteral("codes.png"),
                                   screen({{"qr", {300, 300}, 2}, {"ean13", {1500, 1200}, 2}, {"qrDamaged", {1800, 300}, 1}},
                                          &truth));
        const Run run = tarnwick({QStringLiteral("--codes"), path});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        QMap<QString, QString> seen;  // key -> text or "null"
        for (const QByteArray &line : lines) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            const QJsonArray box = object.value(QStringLiteral("box")).toArray();
            const QRectF rect(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
            const auto key = std::find_if(truth.keyBegin(), truth.keyEnd(),
                                          [&](const QString &k) { return near(rect, truth.value(k)); });
            QVERIFY2(key != truth.keyEnd(), line.constData());
            seen.insert(*key, object.value(QStringLiteral("format")).toString() + QLatin1Char(' ')
                                 + (object.value(QStringLiteral("text")).isNull()
                                        ? QStringLiteral("null")
                                        : object.value(QStringLiteral("text")).toString()));
        }
        QCOMPARE(seen.value(QStringLiteral("qr")), QStringLiteral("QRCode https://example.com/tarnwick?shot=42"));
        QCOMPARE(seen.value(QStringLiteral("ean13")), QStringLiteral("EAN13 4006381333931"));
        QCOMPARE(seen.value(QStringLiteral("qrDamaged")), QStringLiteral("QRCode null"));
    }

    void textCommandPrintsWhatCopyTextCopies()
    {
        const QString path = saved(QStringLiteral("cli-text.png"), text(QSize(1000, 500), false, 14, 60).image);
        const Run run = tarnwick({QStringLiteral("--text"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), *TextRecognition::recognizeFile(m_recognizer, path) + QLatin1Char('\n'));
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
