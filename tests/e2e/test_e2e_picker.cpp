// The real binary: `tarnwick --pick-color FILE` opens the 680 × 740 picker,
// first as the starting instance and then forwarded to it with a relative
// path; a click in the image and Ctrl+C put the pixel's hex string on the X
// clipboard. A file that cannot be read stops the command before anything
// is forwarded.

#include "E2eApp.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {
constexpr int timeoutMs = 15000;  // generous: CI also runs this under sanitizers on two busy cores
}

class E2ePickerTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;
    QTemporaryDir m_dir;

    std::optional<QRect> pickerWindow() const { return m_x11.find(QStringLiteral("Color Picker")); }

    // Clicks in the middle of the image and copies with the keyboard.
    void pickAndCopy(const QRect &window, const QString &expected)
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const QPoint inImage = window.topLeft() + QPoint(window.width() / 2, 300);
        X11Probe::xdotool(QStringLiteral("mousemove %1 %2 click 1").arg(inImage.x()).arg(inImage.y()));
        X11Probe::xdotool(QStringLiteral("key ctrl+c"));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(), expected, timeoutMs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_x11.isConnected(), "no X server");
    }

    void unreadableFileStopsTheCommand_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "missing.png" << "tarnwick: no such file: %1/missing.png\n";
        QTest::newRow("a folder") << "." << "tarnwick: not a file: %1\n";
    }

    void unreadableFileStopsTheCommand()
    {
        QFETCH(QString, argument);
        QFETCH(QString, error);
        E2eApp app;
        QString errors;
        QCOMPARE(app.runCommand({QStringLiteral("--pick-color"), argument}, m_dir.path(), &errors), 1);
        QCOMPARE(errors, error.arg(m_dir.path()));
        // Nothing went on to start an instance.
        QVERIFY(!E2eApp::nameOwned());
    }

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
        QTest::qWait(300);
        QCOMPARE(pickerWindow(), std::optional<QRect>(window));
        pickAndCopy(window, QStringLiteral("#E67E22"));

        QCOMPARE(readBytes(first), before);  // only read
        QCOMPARE(app.process().state(), QProcess::Running);
    }
};

QTEST_MAIN(E2ePickerTest)
#include "test_e2e_picker.moc"
