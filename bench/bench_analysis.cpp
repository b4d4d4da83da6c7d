// Code detection and text recognition, process to process against the peer
// command-line tools on the same files in the same run (alternating, fastest
// run of each), and the detector's own scan time. Run with
// QT_QPA_PLATFORM=offscreen build/bench/bench_analysis.
//   tarnwick --codes vs zbarimg (QR, Code 128, EAN-13), 2880×1800, with and
//   without a code: target ratio <= 0.6
//   tarnwick --text vs tesseract (OMP_THREAD_LIMIT=1), 1920×1080, ~300
//   words: target ratio <= 1.0
//   ZxingCodeDetector::detect on the decoded 2880×1800 image: target <= 60 ms

#include "AnalysisScreens.h"
#include "BenchSupport.h"
#include "analysis/ZxingCodeDetector.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QTemporaryDir *g_dir = nullptr;
QString g_tarnwick;

QString file(const char *name)
{
    return g_dir->filePath(QString::fromLatin1(name));
}

struct Command {
    QString program;
    QStringList arguments;
    bool singleThreadedOpenMp = false;
};

// Wall time of one run, in milliseconds.
double timed(const Command &command)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (command.singleThreadedOpenMp) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
    }
    QElapsedTimer timer;
    timer.start();
    process.start(command.program, command.arguments);
    if (!process.waitForFinished(120000))
        qFatal("%s did not finish", qPrintable(command.program));
    return timer.nsecsElapsed() / 1e6;
}

// The two commands run alternately, so that load from elsewhere on the
// machine falls on both alike; the fastest run of each is compared.
void compare(const char *label, const Command &measured, const Command &baseline, int rounds, double target)
{
    timed(measured);  // page cache and dynamic loader warm for both
    timed(baseline);
    std::vector<double> ours, theirs;
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(timed(measured));
        theirs.push_back(timed(baseline));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    const double ratio = ours.front() / theirs.front();
    std::printf("RATIO %-40s %8.2f ms / %8.2f ms = %5.2f (target <= %.2f) %s   [medians %.0f / %.0f ms]\n", label,
                ours.front(), theirs.front(), ratio, target, ratio <= target ? "ok" : "OVER", ours[ours.size() / 2],
                theirs[theirs.size() / 2]);
}

void BM_DetectInProcess(benchmark::State &state)
{
    const QImage image = QImageReader(file("code.png")).read();
    const ZxingCodeDetector detector;
    for (auto _ : state)
        benchmark::DoNotOptimize(detector.detect(image));
}

void prepare()
{
    QImage withCode = BenchSupport::screenshotLike(2880, 1800, 1);
    const QImage qr = AnalysisScreens::encoded(QStringLiteral("qrencode"),
                                               {QStringLiteral("-s"), QStringLiteral("8"), QStringLiteral("-m"),
                                                QStringLiteral("0"), QStringLiteral("https://example.com/bench")},
                                               file("qr.png"));
    if (qr.isNull())
        qFatal("qrencode is missing (tools/setup.sh installs it)");
    AnalysisScreens::paste(withCode, qr, QPoint(1900, 700));
    withCode.save(file("code.png"));
    BenchSupport::screenshotLike(2880, 1800, 2).save(file("plain.png"));
    AnalysisScreens::text(QSize(1920, 1080), false, 14, 300).image.save(file("text.png"));
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    g_tarnwick = QCoreApplication::applicationDirPath() + QStringLiteral("/../tarnwick");
    prepare();

    benchmark::RegisterBenchmark("BM_DetectInProcess", BM_DetectInProcess)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    BenchSupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const QStringList zbar{QStringLiteral("-q"), QStringLiteral("-Sdisable"), QStringLiteral("-Sqrcode.enable"),
                           QStringLiteral("-Scode128.enable"), QStringLiteral("-Sean13.enable")};
    compare("tarnwick --codes / zbarimg, with a code", {g_tarnwick, {QStringLiteral("--codes"), file("code.png")}},
            {QStringLiteral("zbarimg"), zbar + QStringList{file("code.png")}}, 10, 0.6);
    compare("tarnwick --codes / zbarimg, no code", {g_tarnwick, {QStringLiteral("--codes"), file("plain.png")}},
            {QStringLiteral("zbarimg"), zbar + QStringList{file("plain.png")}}, 10, 0.6);
    compare("tarnwick --text / tesseract", {g_tarnwick, {QStringLiteral("--text"), file("text.png")}},
            {QStringLiteral("tesseract"),
             {file("text.png"), QStringLiteral("-"), QStringLiteral("-l"), QStringLiteral("eng")},
             true},
            5, 1.0);
    const double scan = reporter.millis("BM_DetectInProcess");
    std::printf("ABS   %-40s %8.2f ms (target <= 60.00) %s\n", "in-process scan, 2880x1800", scan,
                scan <= 60 ? "ok" : "OVER");
    return 0;
}
