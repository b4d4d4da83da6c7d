// The real binary: `tarnwick --library` starts the app and shows one fixed
// 720 × 480 "Library" window whose count reads the history's 30 items; a
// second call only brings the same window forward; `tarnwick --settings`
// shows one "Tarnwick Settings" window beside it.

#include "E2eApp.h"
#include "ScreenText.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QSettings>
#include <QTest>

using namespace TestSupport;

namespace {

constexpr int timeoutMs = 15000;  // generous: CI also runs this under sanitizers on two busy cores

// The digits in the image as a reader would see them; the count is grey on a faint capsule.
QString readDigits(const QImage &image)
{
    return screenText(image, 4, 170, tesseract::PSM_SINGLE_LINE, "0123456789").simplified();
}

}  // namespace

class E2eLibraryTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;

    QList<QRect> windowsNamed(const QString &title) const
    {
        QList<QRect> found;
        for (const X11Probe::Window &shown : m_x11.viewableWindows()) {
            if (shown.topLevel && shown.name == title)
                found << shown.geometry;
        }
        return found;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_x11.isConnected(), "no X server");
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
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed(QStringLiteral("Library")).size(), 1, timeoutMs);
        const QRect window = windowsNamed(QStringLiteral("Library")).first();
        QCOMPARE(window.size(), QSize(720, 480));
        QTRY_COMPARE_WITH_TIMEOUT(app.property(QStringLiteral("Screenshots")).toStringList().size(), 30, timeoutMs);
        // The count capsule at the list's top right.
        const QRect capsule(window.topLeft() + QPoint(190, 6), QSize(96, 36));
        QTRY_COMPARE_WITH_TIMEOUT(readDigits(X11Probe::screenshot(capsule)), QStringLiteral("30"), timeoutMs);

        QCOMPARE(app.runCommand({QStringLiteral("--library")}), 0);
        QTest::qWait(300);
        QCOMPARE(windowsNamed(QStringLiteral("Library")), QList<QRect>{window});

        QCOMPARE(app.runCommand({QStringLiteral("--settings")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed(QStringLiteral("Tarnwick Settings")).size(), 1, timeoutMs);
        QCOMPARE(app.runCommand({QStringLiteral("--settings")}), 0);
        QTest::qWait(300);
        QCOMPARE(windowsNamed(QStringLiteral("Tarnwick Settings")).size(), 1);
        QCOMPARE(windowsNamed(QStringLiteral("Library")).size(), 1);
        QCOMPARE(app.process().state(), QProcess::Running);
    }
};

QTEST_MAIN(E2eLibraryTest)
#include "test_e2e_library.moc"
