// Code detection and text recognition, process to process against the peer
// command-line tools on the same files in the same run, and the detector's
// own scan time. Run with QT_QPA_PLATFORM=offscreen build/bench/bench_analysis.
//   tarnwick --codes vs zbarimg (QR, Code 128, EAN-13), 2880×1800, with and
//   without a code: target ratio <= 0.6
//   tarnwick --text vs tesseract (OMP_THREAD_LIMIT=1), 1920×1080, ~300
//   words: target ratio <= 1.0
//   ZxingCodeDetector::detect on the decoded 2880×1800 image: target <= 60 ms

#include "AnalysisScreens.h"
#include "BenchSupport.h"
#include "analysis/ZxingCodeDetector.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QTemporaryDir *g_dir = nullptr;
QString g_tarnwick;

QString file(const char *name)
{
    return g_dir->filePath(QString::fromLatin1(name));
}

void runProcess(benchmark::State &state, const QString &program, const QStringList &arguments,
                bool singleThreadedOpenMp = false)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (singleThreadedOpenMp) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
    }
    for (auto _ : state) {
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            state.SkipWithError("the process failed");
    }
}

const QStringList zbarFormats{QStringLiteral("-q"), QStringLiteral("-Sdisable"), QStringLiteral("-Sqrcode.enable"),
                              QStringLiteral("-Scode128.enable"), QStringLiteral("-Sean13.enable")};

void BM_TarnwickCodes_WithCode(benchmark::State &state)
{
    runProcess(state, g_tarnwick, {QStringLiteral("--codes"), file("code.png")});
}
void BM_Zbarimg_WithCode(benchmark::State &state)
{
    runProcess(state, QStringLiteral("zbarimg"), zbarFormats + QStringList{file("code.png")});
}
void BM_TarnwickCodes_NoCode(benchmark::State &state)
{
    runProcess(state, g_tarnwick, {QStringLiteral("--codes"), file("plain.png")});
}
// zbarimg exits with 4 when it finds nothing.
void BM_Zbarimg_NoCode(benchmark::State &state)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    for (auto _ : state) {
        process.start(QStringLiteral("zbarimg"), zbarFormats + QStringList{file("plain.png")});
        process.waitForFinished(120000);
    }
}
void BM_TarnwickText(benchmark::State &state)
{
    runProcess(state, g_tarnwick, {QStringLiteral("--text"), file("text.png")});
}
void BM_TesseractText(benchmark::State &state)
{
    runProcess(state, QStringLiteral("tesseract"), {file("text.png"), QStringLiteral("-"), QStringLiteral("-l"),
                                                    QStringLiteral("eng")},
               true);
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

    benchmark::RegisterBenchmark("BM_TarnwickCodes_WithCode", BM_TarnwickCodes_WithCode)->Iterations(8)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Zbarimg_WithCode", BM_Zbarimg_WithCode)->Iterations(8)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TarnwickCodes_NoCode", BM_TarnwickCodes_NoCode)->Iterations(8)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Zbarimg_NoCode", BM_Zbarimg_NoCode)->Iterations(8)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TarnwickText", BM_TarnwickText)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TesseractText", BM_TesseractText)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DetectInProcess", BM_DetectInProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    BenchSupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("tarnwick --codes / zbarimg, with a code", "BM_TarnwickCodes_WithCode", "BM_Zbarimg_WithCode", 0.6);
    reporter.printRatio("tarnwick --codes / zbarimg, no code", "BM_TarnwickCodes_NoCode", "BM_Zbarimg_NoCode", 0.6);
    reporter.printRatio("tarnwick --text / tesseract", "BM_TarnwickText", "BM_TesseractText", 1.0);
    const double scan = reporter.millis("BM_DetectInProcess");
    std::printf("ABS   %-40s %8.2f ms (target <= 60.00) %s\n", "in-process scan, 2880x1800", scan,
                scan <= 60 ? "ok" : "OVER");
    return 0;
}
