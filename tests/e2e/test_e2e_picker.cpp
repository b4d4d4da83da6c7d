// The real binary: `tarnwick --pick-color FILE` opens the 680 × 740 picker,
// first as the starting instance and then forwarded to it with a relative
// path; a click in the image and Ctrl+C put the pixel's hex string on the X
// clipboard. A file that cannot be read stops the command before anything
// is forwarded.

#include "E2eApp.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {

constexpr int timeoutMs = 15000;  // generous: CI also runs this under sanitizers on two busy cores

void xdotool(const QString &command)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), command.split(u' ', Qt::SkipEmptyParts));
    QVERIFY2(process.waitForFinished(10000), "xdotool did not finish");
    QCOMPARE(process.exitCode(), 0);
}

// A second tarnwick process in folder; returns its exit code.
int runIn(const E2eApp &app, const QString &folder, const QStringList &args, QString *errors = nullptr)
{
    QProcess command;
    command.setProcessEnvironment(app.environment());
    command.setWorkingDirectory(folder);
    command.start(qEnvironmentVariable("TARNWICK_BINARY"), args);
    if (!QTest::qWaitFor([&] { return command.state() == QProcess::NotRunning; }, timeoutMs)) {
        command.kill();
        command.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = QString::fromLocal8Bit(command.readAllStandardError());
    return command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
}

}  // namespace

class E2ePickerTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;
    QTemporaryDir m_dir;

    std::optional<QRect> pickerWindow() const
    {
        for (const X11Probe::Window &shown : m_x11.viewableWindows()) {
            if (shown.topLevel && shown.name == QLatin1String("Color Picker"))
                return shown.geometry;
        }
        return std::nullopt;
    }

    // Clicks in the middle of the image and copies with the keyboard.
    void pickAndCopy(const QRect &window, const QString &expected)
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const QPoint inImage = window.topLeft() + QPoint(window.width() / 2, 300);
        xdotool(QStringLiteral("mousemove %1 %2 click 1").arg(inImage.x()).arg(inImage.y()));
        xdotool(QStringLiteral("key ctrl+c"));
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
        QCOMPARE(runIn(app, m_dir.path(), {QStringLiteral("--pick-color"), argument}, &errors), 1);
        QCOMPARE(errors, error.arg(m_dir.path()));
        // Nothing went on to start an instance.
        QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("com.tarnwick.Tarnwick")));
    }

    void clickAndCtrlCCopyTheHexString()
    {
        const QString first = writePng(m_dir.filePath(QStringLiteral("blue.png")), makeImage(600, 400, QColor(0x3A7BD5)));
        const QString second =
            writePng(m_dir.filePath(QStringLiteral("second/orange.png")), makeImage(600, 400, QColor(0xE6, 0x7E, 0x22)));
        const QByteArray before = [&] {
            QFile file(first);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        // No instance runs: this one starts and opens the picker.
        E2eApp app;
        app.process().setProcessEnvironment(app.environment());
        app.process().start(qEnvironmentVariable("TARNWICK_BINARY"), {QStringLiteral("--pick-color"), first});
        QTRY_VERIFY_WITH_TIMEOUT(pickerWindow(), timeoutMs);
        const QRect window = *pickerWindow();
        QCOMPARE(window.size(), QSize(680, 740));
        pickAndCopy(window, QStringLiteral("#3A7BD5"));

        // Forwarded to the running instance from another folder, with a
        // relative path: the same window shows the new file.
        QCOMPARE(runIn(app, m_dir.filePath(QStringLiteral("second")), {QStringLiteral("--pick-color"),
                                                                        QStringLiteral("orange.png")}),
                 0);
        QTest::qWait(300);
        QCOMPARE(pickerWindow(), std::optional<QRect>(window));
        pickAndCopy(window, QStringLiteral("#E67E22"));

        QFile file(first);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);  // only read
        QCOMPARE(app.process().state(), QProcess::Running);
    }
};

QTEST_MAIN(E2ePickerTest)
#include "test_e2e_picker.moc"
