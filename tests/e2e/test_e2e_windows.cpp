// The real binary opening its windows from the command line. With an image
// FILE, first as the starting instance and then forwarded to it with a
// relative path from another folder; copies go to the X clipboard, and the
// file is only read.
// `tarnwick --pick-color FILE` opens the 680 × 740 picker; a click in the
// image and Ctrl+C copy the pixel's hex string.
// `tarnwick --annotate FILE` opens the editor over the whole screen; a drag
// with the default tool (an arrow) and Ctrl+C copy the flattened image at the
// file's own size, marked along the drag, and no screenshot enters the
// history. Forwarded, another file replaces the first.
// `tarnwick --library` shows one fixed 720 × 480 "Library" window whose count
// reads the history's 30 items; a second call only brings the same window
// forward; `tarnwick --settings` shows one "Tarnwick Settings" window beside it.

#include "E2eApp.h"
#include "ScreenText.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {

// The digits in the image as a reader would see them; the count is grey on a faint capsule.
QString readDigits(const QImage &image)
{
    return screenText(image, 4, 170, tesseract::PSM_SINGLE_LINE, "0123456789").simplified();
}

}  // namespace

class E2eWindowsTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;
    QTemporaryDir m_dir;

    std::optional<QRect> editorWindow() const { return m_x11.find(QStringLiteral("Annotate")); }
    std::optional<QRect> pickerWindow() const { return m_x11.find(QStringLiteral("Color Picker")); }

    // Whether the screen shows colour at point.
    static bool shows(QPoint point, const QColor &colour)
    {
        return X11Probe::screenshot(QRect(point, QSize(1, 1))).pixelColor(0, 0) == colour;
    }

    // Keys and clicks only once the window has the focus and shows its image.
    void waitUntilReady(const QString &title, QPoint inImage, const QColor &colour) const
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_x11.hasFocus(title) && shows(inImage, colour), timeoutMs);
    }

    // Clicks in the middle of the image and copies with the keyboard.
    void pickAndCopy(const QRect &window, const QString &expected)
    {
        const QPoint inImage = window.topLeft() + QPoint(window.width() / 2, 300);
        waitUntilReady(QStringLiteral("Color Picker"), inImage, QColor(expected));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 click 1").arg(inImage.x()).arg(inImage.y()));
        X11Probe::xdotool(QStringLiteral("key ctrl+c"));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(), expected, timeoutMs);
    }

    // The titles of the windows on screen, in order, after the app has
    // handled what it was sent; nothing but the wanted window appears.
    QStringList shownTitles(const E2eApp &app) const
    {
        app.property(QStringLiteral("UnreadCount"));  // a round trip behind every call sent before
        QTest::qWait(300);
        QStringList titles = m_x11.titles();
        titles.sort();
        return titles;
    }

private Q_SLOTS:
    void clickAndCtrlCCopyTheHexString()
    {
        const QString first = writePng(m_dir.filePath(QStringLiteral("blue.png")), makeImage(600, 400, QColor(0x3A7BD5)));
        const QString second =
            writePng(m_dir.filePath(QStringLiteral("second/orange.png")), makeImage(600, 400, QColor(0xE6, 0x7E, 0x22)));
        const QByteArray before = readBytes(first);

        // No instance runs: this one starts and opens the picker.
        E2eApp app;
        app.launch({QStringLiteral("--pick-color"), first});
        QTRY_VERIFY_WITH_TIMEOUT(pickerWindow(), timeoutMs);
        const QRect window = *pickerWindow();
        QCOMPARE(window.size(), QSize(680, 740));
        pickAndCopy(window, QStringLiteral("#3A7BD5"));

        // Forwarded to the running instance from another folder, with a
        // relative path: the same window shows the new file.
        QCOMPARE(app.runCommand({QStringLiteral("--pick-color"), QStringLiteral("orange.png")},
                                m_dir.filePath(QStringLiteral("second"))),
                 0);
        pickAndCopy(window, QStringLiteral("#E67E22"));
        QCOMPARE(pickerWindow(), std::optional<QRect>(window));

        QCOMPARE(readBytes(first), before);  // only read
        QCOMPARE(app.process().state(), QProcess::Running);
    }

    void dragAndCtrlCCopyTheMarkedImage()
    {
        const QSize size(640, 400);
        const QString file = writePng(m_dir.filePath(QStringLiteral("plain.png")), makeImage(640, 400, Qt::white));
        const QByteArray before = readBytes(file);

        E2eApp app;
        app.launch({QStringLiteral("--annotate"), file});
        QTRY_VERIFY_WITH_TIMEOUT(editorWindow(), timeoutMs);
        const QRect window = *editorWindow();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window.size(), screen.size());  // no panels under Xvfb: the whole screen is available

        // The image area starts below the 44-pixel toolbar and its divider;
        // the image is fitted into it and centred.
        const QRectF area(window.left(), window.top() + 45, window.width(), window.height() - 45);
        const double scale = std::min(area.width() / size.width(), area.height() / size.height());
        const QRectF shown(area.center() - QPointF(size.width(), size.height()) * scale / 2, QSizeF(size) * scale);
        waitUntilReady(QStringLiteral("Annotate"), area.center().toPoint(), Qt::white);
        const QPointF from = shown.topLeft() + QPointF(shown.width() * 0.2, shown.height() * 0.3);
        const QPointF to = shown.topLeft() + QPointF(shown.width() * 0.7, shown.height() * 0.6);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 mousedown 1 sleep 0.1 mousemove %3 %4 sleep 0.1 mousemove %5 %6 "
                               "sleep 0.1 mouseup 1")
                    .arg(int(from.x())).arg(int(from.y()))
                    .arg(int((from.x() + to.x()) / 2)).arg(int((from.y() + to.y()) / 2))
                    .arg(int(to.x())).arg(int(to.y())));
        X11Probe::xdotool(QStringLiteral("key ctrl+c"));
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->image().isNull(), timeoutMs);

        const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), size);
        // Marked along the drag's line, untouched away from it.
        int marked = 0;
        for (double t = 0.1; t < 0.95; t += 0.1) {
            const QPoint onLine = QPointF(size.width() * (0.2 + 0.5 * t), size.height() * (0.3 + 0.3 * t)).toPoint();
            marked += copied.pixelColor(onLine) != QColor(Qt::white) ? 1 : 0;
        }
        QVERIFY2(marked >= 8, qPrintable(QString::number(marked)));
        QCOMPARE(copied.pixelColor(20, 380), QColor(Qt::white));

        QCOMPARE(readBytes(file), before);  // only read
        // Longer than the clipboard watch takes to poll and settle: its own
        // copy is not taken as a new screenshot.
        QTest::qWait(2500);
        QVERIFY(app.property(QStringLiteral("Screenshots")).toStringList().isEmpty());

        // Forwarded from another folder with a relative path: the editor
        // now shows the other file, which Ctrl+C copies at its own size.
        writePng(m_dir.filePath(QStringLiteral("second/small.png")), makeImage(500, 300, Qt::gray));
        QCOMPARE(app.runCommand({QStringLiteral("--annotate"), QStringLiteral("small.png")},
                                m_dir.filePath(QStringLiteral("second"))),
                 0);
        waitUntilReady(QStringLiteral("Annotate"), area.center().toPoint(), Qt::gray);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 key ctrl+c").arg(int(from.x())).arg(int(from.y())));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->image().size(), QSize(500, 300), timeoutMs);
        QCOMPARE(app.process().state(), QProcess::Running);
    }

    void libraryAndSettingsFromTheCommandLine()
    {
        E2eApp app;
        QStringList history;
        for (int i = 0; i < 30; ++i)
            history.prepend(writePng(app.screenshotFolder() + QStringLiteral("/Screenshot %1.png").arg(i, 2, 10, QLatin1Char('0')),
                                     makeImage(320, 200, Qt::darkCyan, i)));
        {
            QSettings prefs(app.configFile(), QSettings::IniFormat);
            prefs.setValue(QStringLiteral("tarnwick.history.urls"), history);
            prefs.setValue(QStringLiteral("clipboardCaptureEnabled"), false);
        }

        // No instance runs: this one starts and opens the library.
        app.launch({QStringLiteral("--library")});
        QTRY_COMPARE_WITH_TIMEOUT(m_x11.windows(QStringLiteral("Library")).size(), 1, timeoutMs);
        const QRect window = m_x11.windows(QStringLiteral("Library")).first();
        QCOMPARE(window.size(), QSize(720, 480));
        QTRY_COMPARE_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList().size(), 30, timeoutMs);
        // The count capsule at the list's top right.
        const QRect capsule(window.topLeft() + QPoint(190, 6), QSize(96, 36));
        QTRY_COMPARE_WITH_TIMEOUT(readDigits(X11Probe::screenshot(capsule)), QStringLiteral("30"), timeoutMs);

        // Sent to the running instance, each brings its one window forward
        // and shows nothing else, such as the popover.
        const QStringList both{QStringLiteral("Library"), QStringLiteral("Tarnwick Settings")};
        QCOMPARE(app.runCommand({QStringLiteral("--library")}), 0);
        QCOMPARE(shownTitles(app), QStringList{QStringLiteral("Library")});
        QCOMPARE(m_x11.windows(QStringLiteral("Library")), QList<QRect>{window});
        QCOMPARE(app.runCommand({QStringLiteral("--settings")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_x11.windows(QStringLiteral("Tarnwick Settings")).size(), 1, timeoutMs);
        QCOMPARE(shownTitles(app), both);
        for (const char *again : {"--settings", "--library"}) {
            QCOMPARE(app.runCommand({QString::fromLatin1(again)}), 0);
            QCOMPARE(shownTitles(app), both);
        }
        QCOMPARE(app.process().state(), QProcess::Running);
    }
};

QTEST_MAIN(E2eWindowsTest)
#include "test_e2e_windows.moc"
