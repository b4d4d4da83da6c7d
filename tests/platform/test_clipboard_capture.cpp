// Clipboard capture against the real X11 clipboard, owned by other processes
// (xclip for one type, clipboard_owner for several). The poll is driven by
// hand so each change is looked at exactly when the test says.

#include "MonitorFixture.h"
#include "capture/QtClipboard.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <memory>

using namespace TestSupport;

namespace {

// Incompressible pixels, so the PNG is as large as the image.
struct BigNoise {
    static QImage image(int width, int height)
    {
        QImage image(width, height, QImage::Format_ARGB32);
        quint32 state = 12345;
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                state = state * 1664525u + 1013904223u;
                line[x] = state;
            }
        }
        return image;
    }
};

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Another program that takes the clipboard and keeps it until killed.
class Owner
{
public:
    // One type through xclip.
    static std::unique_ptr<Owner> xclip(const QString &type, const QByteArray &data)
    {
        auto owner = std::make_unique<Owner>();
        owner->m_process.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                                         QStringLiteral("clipboard"), QStringLiteral("-t"), type,
                                                         QStringLiteral("-i")});
        owner->m_process.waitForStarted();
        owner->m_process.write(data);
        owner->m_process.closeWriteChannel();
        return owner;
    }
    // Several types at once.
    static std::unique_ptr<Owner> multi(const QList<std::pair<QString, QByteArray>> &offers, const QString &dir)
    {
        auto owner = std::make_unique<Owner>();
        QStringList args;
        int n = 0;
        for (const auto &[type, data] : offers)
            args << type + QLatin1Char('=') + writeBytes(dir + QStringLiteral("/offer%1").arg(n++), data);
        owner->m_process.start(qEnvironmentVariable("CLIPBOARD_OWNER"), args);
        owner->m_process.waitForStarted();
        return owner;
    }
    ~Owner()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    void quit()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

struct ClipboardFixture : MonitorFixture {
    QtClipboard x11;
    ClipboardFixture()
    {
        timings.clipboardPollInterval = std::chrono::hours(1);  // polled by hand
        QDir().mkpath(shots);
        start(&x11);
    }
    // Waits until the X server told us about a change by another program
    // and the clipboard offers the given type (none: offers nothing).
    bool waitForChange(qint64 before, const QString &type = {})
    {
        return QTest::qWaitFor(
            [&] {
                if (x11.changeCount() == before)
                    return false;
                const QStringList types = x11.types();
                return type.isEmpty() ? types.isEmpty() : types.contains(type);
            },
            5000);
    }
    std::unique_ptr<Owner> offer(std::unique_ptr<Owner> owner, const QString &type, qint64 before)
    {
        if (!waitForChange(before, type))
            qFatal("the clipboard owner never took the clipboard");
        return owner;
    }
    QStringList clipboardFiles() const { return QDir(folders.clipboardShots).entryList(QDir::Files, QDir::Name); }
};

}  // namespace

class ClipboardCaptureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiedTextIsNotAScreenshot()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        auto owner = f.offer(Owner::xclip(QStringLiteral("UTF8_STRING"), "hello"), QStringLiteral("text/plain"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QVERIFY(diag.contains(QStringLiteral("[Clipboard] changeCount delta detected — types: [")));
        QVERIFY(diag.lines().filter(QStringLiteral("changeCount delta")).first().contains(QLatin1String("\"text/plain")));
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — not a screenshot and screenshotsOnly is enabled")), 1);
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 0);
    }

    void imageOnlyChangeIsCapturedWithDefaults()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        const QImage image = makeImage(300, 200, Qt::magenta);
        auto owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(image)), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        const qint64 seen = f.x11.changeCount();
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);
        QCOMPARE(f.monitor->unreadCount(), 1);
        const QStringList expected{
            QStringLiteral("[Clipboard] changeCount delta detected — types: [\"image/png\"]"),
            QStringLiteral("[Clipboard] Detected native screenshot via pasteboard type heuristic"),
            QStringLiteral("[Clipboard] Image found — saving..."),
        };
        QCOMPARE(diag.lines().mid(0, 3), expected);
        const QString path = f.monitor->screenshots().first().filePath();
        QCOMPARE(QFileInfo(path).absolutePath(), f.folders.clipboardShots);
        QVERIFY(QFileInfo(path).fileName().startsWith(QLatin1String("Screenshot ")));
        QVERIFY(QFileInfo(path).fileName().endsWith(QLatin1String(" (Clipboard).png")));
        QVERIFY(diag.contains(QStringLiteral("[Clipboard] Saved: ") + QFileInfo(path).fileName()));
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_ARGB32), image);
        // A clipboard capture is not written back to the clipboard.
        QTest::qWait(50);
        QCOMPARE(f.x11.changeCount(), seen);
    }

    void browserCopyImageFollowsTheSwitches()
    {
        ClipboardFixture f;
        QTemporaryDir dir;
        DiagnosticRecorder diag;
        const auto offers = [&](int seed) {
            return QList<std::pair<QString, QByteArray>>{
                {QStringLiteral("text/html"), "<img src=\"x.png\">"},
                {QStringLiteral("image/png"), pngBytes(makeImage(80, 60, Qt::cyan, seed))}};
        };
        auto owner = f.offer(Owner::multi(offers(1), dir.path()), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — not a screenshot and screenshotsOnly is enabled")), 1);

        f.preferences->setBool(Preferences::clipboardScreenshotsOnlyKey, false);
        owner = f.offer(Owner::multi(offers(2), dir.path()), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);

        f.preferences->setBool(Preferences::clipboardScreenshotsOnlyKey, true);
        f.monitor->screenshotEventFired();
        QTRY_VERIFY(f.monitor->isPending());
        owner = f.offer(Owner::multi(offers(3), dir.path()), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);
        QVERIFY(!diag.contains(QStringLiteral("[Clipboard] Detected native")));
    }

    void phoneImagesFollowTheCaptureSwitch()
    {
        ClipboardFixture f;
        QTemporaryDir dir;
        DiagnosticRecorder diag;
        const auto offers = [&](int seed) {
            return QList<std::pair<QString, QByteArray>>{
                {QStringLiteral("com.apple.is-remote-clipboard"), "1"},
                {QStringLiteral("text/plain"), "photo"},
                {QStringLiteral("image/png"), pngBytes(makeImage(50, 50, Qt::gray, seed))}};
        };
        auto owner = f.offer(Owner::multi(offers(1), dir.path()), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Remote clipboard (iPhone) — proceeding")), 1);
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);

        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Capture disabled")), 1);
        owner = f.offer(Owner::multi(offers(2), dir.path()), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Skipped — remote (iPhone) and capture disabled")), 1);
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 1);
    }

    void turningCaptureBackOnIgnoresWhatIsThere()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        f.monitor->toggleClipboardCapture();
        auto owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(makeImage(40, 40))), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->toggleClipboardCapture();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] Capture enabled")), 1);
        f.monitor->pollClipboard();
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 0);
        QVERIFY(!diag.contains(QStringLiteral("[Clipboard] changeCount delta")));
    }

    void clearedClipboardHasNoImage()
    {
        ClipboardFixture f;
        auto owner = f.offer(Owner::xclip(QStringLiteral("UTF8_STRING"), "x"), QStringLiteral("text/plain"), f.x11.changeCount());
        f.monitor->pollClipboard();
        DiagnosticRecorder diag;
        const qint64 before = f.x11.changeCount();
        owner->quit();  // the owner goes away: nobody holds the clipboard
        QVERIFY(f.waitForChange(before));
        f.monitor->pollClipboard();
        QCOMPARE(diag.lines(), (QStringList{
                                   QStringLiteral("[Clipboard] changeCount delta detected — types: []"),
                                   QStringLiteral("[Clipboard] Detected native screenshot via pasteboard type heuristic"),
                                   QStringLiteral("[Clipboard] No image found — skipped"),
                               }));
    }

    void twoImagesInOneSecondGiveTwoFiles()
    {
        ClipboardFixture f;
        auto owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(makeImage(30, 30, Qt::red))), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(makeImage(30, 30, Qt::blue))), QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);
        QCOMPARE(f.clipboardFiles().size(), 2);
        QCOMPARE(QImage(f.monitor->screenshots().at(0).filePath()).pixelColor(15, 15), QColor(Qt::blue));
        QCOMPARE(QImage(f.monitor->screenshots().at(1).filePath()).pixelColor(15, 15), QColor(Qt::red));
    }

    void sameShotThroughFolderAndClipboardIsOneItem_data()
    {
        QTest::addColumn<bool>("clipboardFirst");
        QTest::newRow("file then clipboard") << false;
        QTest::newRow("clipboard then file") << true;
    }

    void sameShotThroughFolderAndClipboardIsOneItem()
    {
        QFETCH(bool, clipboardFirst);
        ClipboardFixture f;
        const QImage shot = makeImage(640, 400, Qt::darkGreen, 77);
        const QString file = f.shots + QStringLiteral("/Screenshot from 2026-12-06 10-00-00.png");
        std::unique_ptr<Owner> owner;
        if (clipboardFirst) {
            owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(shot)), QStringLiteral("image/png"), f.x11.changeCount());
            f.monitor->pollClipboard();
            QTRY_COMPARE(f.monitor->screenshots().size(), 1);
            writePng(file, shot);
        } else {
            writePng(file, shot);
            owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(shot)), QStringLiteral("image/png"), f.x11.changeCount());
            QTest::qWait(20);  // the folder event is in
            f.monitor->pollClipboard();
        }
        QTRY_COMPARE(f.listedPaths(), QStringList{file});
        f.monitor->waitForBackgroundWork();
        QTest::qWait(100);
        QCOMPARE(f.listedPaths(), QStringList{file});
        QCOMPARE(f.monitor->unreadCount(), 1);
        QCOMPARE(f.clipboardFiles(), QStringList());
    }

    void oversizedImagesAreSkipped()
    {
        ClipboardFixture f;
        DiagnosticRecorder diag;
        // A few hundred bytes that claim 40000×40000 pixels.
        auto owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngClaiming(40000, 40000)),
                             QStringLiteral("image/png"),
                             f.x11.changeCount());
        f.monitor->pollClipboard();
        QCOMPARE(diag.count(QStringLiteral("[Clipboard] No image found — skipped")), 1);

        // More data than the clipboard limit allows (set low here).
        QtClipboard limited(nullptr, 64 * 1024);
        QByteArray big = pngBytes(BigNoise::image(400, 400));
        QVERIFY(big.size() > 64 * 1024);
        owner = f.offer(Owner::xclip(QStringLiteral("image/png"), big), QStringLiteral("image/png"),
                        f.x11.changeCount());
        QVERIFY(limited.readImage().image.isNull());
        QVERIFY(!f.x11.readImage().image.isNull());
        f.monitor->waitForBackgroundWork();
        QCOMPARE(f.monitor->screenshots().size(), 0);
    }

    void differentImageWhileNothingSettlesIsStillCaptured()
    {
        ClipboardFixture f;
        writePng(f.shots + QStringLiteral("/Screenshot a.png"), makeImage(64, 64, Qt::black));
        QTRY_COMPARE(f.monitor->screenshots().size(), 1);
        f.monitor->waitForBackgroundWork();
        QTest::qWait(20);
        f.monitor->pollClipboard();  // the app's own copy of the new file, skipped
        auto owner = f.offer(Owner::xclip(QStringLiteral("image/png"), pngBytes(makeImage(64, 64, Qt::white))),
                             QStringLiteral("image/png"), f.x11.changeCount());
        f.monitor->pollClipboard();
        QTRY_COMPARE(f.monitor->screenshots().size(), 2);
    }
};

QTEST_MAIN(ClipboardCaptureTest)
#include "test_clipboard_capture.moc"
