// Each fuzz target over a few thousand mutated copies of valid inputs made
// here. Case i of a target is built from its seed and i alone, so a failure
// names the case and TARNWICK_FUZZ_CASE=i runs that case alone and saves its
// input for the libFuzzer build.

#include "FuzzTargets.h"
#include "ImageMutations.h"
#include "StressSupport.h"

#include "capture/Preferences.h"
#include "config/RemoteConfigCache.h"

#include <QBuffer>
#include <QColorSpace>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QJsonDocument>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_set_death_callback(void (*)());
extern "C" void __sanitizer_set_report_fd(void *);
#endif

using namespace TestSupport;

namespace {

using Target = int (*)(const uint8_t *, size_t);
using Mutation = QByteArray (*)(Mutator &, QByteArray);

char currentCase[160];
constexpr unsigned caseSecondsLimit = 20;

// The decoders complain about every damaged file on stderr, libpng directly:
// it goes to /dev/null while a case runs, and comes back for any report. A
// case run alone keeps it, with everything Qt says.
int realStderr = -1, devNull = -1;

void quiet(bool on)
{
    dup2(on ? devNull : realStderr, STDERR_FILENO);
}

void sayCurrentCase()
{
    static bool said = false;
    dup2(realStderr, STDERR_FILENO);
    if (!std::exchange(said, true) && currentCase[0])
        (void)!write(STDERR_FILENO, currentCase, strlen(currentCase));
}

void onFatalSignal(int signal)
{
    sayCurrentCase();
    if (signal == SIGALRM) {
        static const char hung[] = "*** it ran past its time limit\n";
        (void)!write(STDERR_FILENO, hung, sizeof hung - 1);
        abort();
    }
    std::signal(signal, SIG_DFL);  // the fault repeats on return, or abort() goes on, and the process ends
}

void prepareCases()
{
    realStderr = dup(STDERR_FILENO);
    devNull = open("/dev/null", O_WRONLY);
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM})
        std::signal(signal, onFatalSignal);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_report_fd(reinterpret_cast<void *>(intptr_t(realStderr)));
    __sanitizer_set_death_callback(sayCurrentCase);
#endif
}

QImage sampleImage(int width, int height, QImage::Format format, bool displayP3 = false)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 6, y * 8, (x ^ y) * 4, x < width / 2 ? 255 : 96 + y));
    QPainter(&image).drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Tw"));
    if (displayP3)
        image.setColorSpace(QColorSpace::DisplayP3);
    return image.convertToFormat(format);
}

QList<QByteArray> pngSeeds()
{
    return {encoded(sampleImage(48, 32, QImage::Format_ARGB32)), encoded(sampleImage(40, 30, QImage::Format_RGB888)),
            encoded(sampleImage(40, 30, QImage::Format_Indexed8)),
            encoded(sampleImage(40, 30, QImage::Format_Grayscale16)),
            encoded(sampleImage(24, 16, QImage::Format_RGBA64, true)),
            encoded(sampleImage(1100, 3, QImage::Format_RGB32))};  // wide: reduced and halved
}

QByteArray jpeg(const QImage &image, bool progressive = false, int quality = -1)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(quality >= 0);
    writer.setQuality(quality);
    writer.write(image);
    return buffer.data();
}

// Narrow ones only: a damaged scan decodes in full (the rest filled in), so
// one 1000 wide that claims 60000 rows is 240 MB of legitimate work.
QList<QByteArray> jpegSeeds()
{
    const QImage image = sampleImage(48, 32, QImage::Format_RGB32);
    return {jpeg(image), jpeg(image.convertToFormat(QImage::Format_Grayscale8)), jpeg(image, true),
            jpeg(image, false, 30), jpeg(sampleImage(48, 32, QImage::Format_RGB32, true))};
}

// The preferences file as the program writes it, with the history as a list,
// as a single path, and as a serialized value an older or foreign writer may leave.
QList<QByteArray> historySeeds()
{
    const QString folder = fuzzShotFolder();
    const QStringList paths{folder + QStringLiteral("/1.png"), folder + QStringLiteral("/2.png"),
                            folder + QStringLiteral("/3.png"), QStringLiteral("/gone/Screenshot 1.png")};
    QTemporaryDir dir;
    int count = 0;
    const auto written = [&](const QVariant &history) {
        const QString file = dir.filePath(QString::number(++count));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QLatin1String(Preferences::clipboardCaptureEnabledKey), true);
            settings.setValue(QLatin1String(Preferences::historyKey), history);
        }
        return readBytes(file);
    };
    return {written(paths), written(paths.mid(1, 1)), written(QVariantList{QVariant(paths)})};
}

// Byte edits with the tokens of the INI files QSettings writes.
QByteArray iniEdits(Mutator &random, QByteArray ini)
{
    static const QList<QByteArray> tokens{"@Variant(", "@ByteArray(", "@Invalid()", ")", "\\0", "\\x7f", "\\xff",
                                          "\\x80", ", ", "\"", "\\", "\n", "[General]\n", "=", "/", "%U", ";"};
    return random.bytes(ini, tokens);
}

QByteArray jsonEdits(Mutator &random, QByteArray json) { return random.bytes(json); }

// The document as a server would send it (indented), and the cache record.
QList<QByteArray> configSeeds()
{
    const RemoteConfig config{7, QStringLiteral("2024-05-01"),
                              {QStringLiteral("2.4.1"), QStringLiteral("1.0"), QStringLiteral("https://h/x.dmg"), false, true},
                              {true, false, true, false, true}, {QStringLiteral("Hello")}};
    return {QJsonDocument(config.toJson()).toJson(), RemoteConfigCache{config, 737000000.25}.toJson()};
}

}  // namespace

class FuzzTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { prepareCases(); }

    // Images are held to a memory budget: a lying header is refused before
    // memory is even reserved for it. The history is not (see CMakeLists.txt).
    void imagePng() { run("image, PNG", fuzzImage, pngSeeds(), mutatePng, 2000, 0x91a70001u, true); }
    void imageJpeg() { run("image, JPEG", fuzzImage, jpegSeeds(), mutateJpeg, 2000, 0x91a70002u, true); }
    void history() { run("history", fuzzHistory, historySeeds(), iniEdits, 2000, 0x91a70003u); }
    void remoteConfig() { run("remote configuration", fuzzRemoteConfig, configSeeds(), jsonEdits, 4000, 0x91a70004u); }
    void uploadReply()
    {
        const QByteArray valid = "{\"data\":{\"id\":\"a\",\"link\":\"https://i.example/a.png\",\"deletehash\":\"h\"},"
                                 "\"success\":true}";
        run("upload reply", fuzzUploadReply, {valid}, jsonEdits, 4000, 0x91a70005u);
    }

private:
    static void run(const char *name, Target target, const QList<QByteArray> &seeds, Mutation mutate, int cases,
                    quint32 seed, bool boundMemory = false)
    {
        // Every seed was made, and the first, the input as it should be, is accepted.
        QVERIFY(!seeds.contains(QByteArray()));
        QCOMPARE(target(reinterpret_cast<const uint8_t *>(seeds[0].constData()), size_t(seeds[0].size())), 1);
        bool one = false;
        const int only = qEnvironmentVariableIntValue("TARNWICK_FUZZ_CASE", &one);
        // The peaks of address space reserved and of memory resident, in MiB.
        const auto reserved = [] { return StressSupport::memoryKiB("VmPeak") / 1024; };
        const auto resident = [] { return StressSupport::memoryKiB("VmHWM") / 1024; };
        const qint64 reservedBefore = reserved(), residentBefore = resident();
        QElapsedTimer clock;
        clock.start();
        int accepted = 0;
        for (int i = one ? only : 0; i < (one ? only + 1 : cases); ++i) {
            Mutator random(seed + quint32(i));
            const QByteArray input = mutate(random, seeds[random.below(int(seeds.size()))]);
            if (one)
                writeBytes(QStringLiteral("fuzz-case-%1.bin").arg(i), input);  // for the libFuzzer build
            snprintf(currentCase, sizeof currentCase, "\n*** %s: case %d failed; run it alone with TARNWICK_FUZZ_CASE=%d\n",
                     name, i, i);
            quiet(!one);
            alarm(caseSecondsLimit);
            accepted += target(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
            alarm(0);
            quiet(false);
            if (boundMemory)
                QVERIFY2(reserved() - reservedBefore < 2048 && resident() - residentBefore < 1024, currentCase);
        }
        currentCase[0] = '\0';
        qInfo("%s: %d cases in %lld ms, %d accepted", name, one ? 1 : cases, clock.elapsed(), accepted);
        if (!one)
            QVERIFY2(accepted > 0 && accepted < cases, "the mutations reach both outcomes");
    }
};

QTEST_MAIN(FuzzTest)
#include "test_fuzz.moc"
