// The real binary in a real XEmbed tray (trayer) on the test's X server: the
// drawn icon and its unread dot on screen, clicks, the menu as the user reads
// it, the global hot key, `tarnwick --toggle`, and the hover preview. Last, a
// chord already taken by another program: logged, and KDE's shortcut service
// (played by this test on the session bus) takes over.

#include "E2eApp.h"
#include "ScreenText.h"
#include "TestSupport.h"
#include "X11Probe.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <algorithm>

using namespace TestSupport;

namespace {

const QPoint away(20, 600);

void moveTo(QPoint point, const QString &then = {})
{
    X11Probe::xdotool(QStringLiteral("mousemove %1 %2 ").arg(point.x()).arg(point.y()) + then);
}

// The letters and digits in the image as a reader would see them, lower case;
// disabled items are drawn in a light grey.
QString readText(const QImage &image)
{
    QString letters;
    for (QChar c : screenText(image, 3, 235, tesseract::PSM_SINGLE_BLOCK)) {
        if (c.isLetterOrNumber())
            letters += c.toLower();
    }
    return letters;
}

// Plays KDE's global shortcut service: records what the app asks for; the
// test reports presses of the chord as the service would.
class FakeShortcutService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KGlobalAccel")
public:
    static constexpr const char *componentPath = "/component/com_tarnwick_Tarnwick";
    QStringList registered;
    QList<int> keys;

    void press()
    {
        QDBusMessage pressed = QDBusMessage::createSignal(QLatin1String(componentPath),
                                                          QStringLiteral("org.kde.kglobalaccel.Component"),
                                                          QStringLiteral("globalShortcutPressed"));
        pressed << QStringLiteral("com.tarnwick.Tarnwick") << QStringLiteral("toggle-popover") << qlonglong(0);
        QVERIFY(QDBusConnection::sessionBus().send(pressed));
    }

public Q_SLOTS:
    Q_SCRIPTABLE void doRegister(const QStringList &actionId) { registered = actionId; }
    Q_SCRIPTABLE QList<int> setShortcut(const QStringList &, const QList<int> &requested, uint)
    {
        keys = requested;
        return requested;
    }
    Q_SCRIPTABLE QDBusObjectPath getComponent(const QString &) { return QDBusObjectPath(componentPath); }
};

}  // namespace

class E2eShellTest : public QObject
{
    Q_OBJECT

    X11Probe m_x11;
    QProcess m_tray;
    std::unique_ptr<E2eApp> m_app;
    QRect m_icon;

    std::optional<QRect> popover() const
    {
        return m_x11.find(QStringLiteral("Tarnwick"), true,
                          [](QRect frame) { return frame.size() == QSize(360, 480); });
    }

    // The menu drops down from the icon.
    std::optional<QRect> menu() const
    {
        return m_x11.find(QStringLiteral("Tarnwick"), true, [this](QRect frame) {
            return frame.size() != QSize(360, 480) && frame.top() == m_icon.bottom() + 1;
        });
    }

    std::optional<QRect> hoverPanel() const { return m_x11.find(QStringLiteral("Tarnwick Preview")); }

    int redPixelsOnIcon() const
    {
        const QImage shot = X11Probe::screenshot(m_icon);  // 32 bits a pixel: no padding between rows
        const auto *pixels = reinterpret_cast<const QRgb *>(shot.constBits());
        return int(std::count_if(pixels, pixels + shot.width() * shot.height(),
                                 [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 100 && qBlue(p) < 100; }));
    }

    // Starts the app with clipboard capture off (other tests on this X server
    // put images on the clipboard) and waits for its icon in the tray.
    bool startApp(E2eApp &app)
    {
        QSettings(app.configFile(), QSettings::IniFormat).setValue(QStringLiteral("clipboardCaptureEnabled"), false);
        const auto icon = [this] { return m_x11.find(QStringLiteral("Tarnwick"), false); };  // embedded in the tray
        const bool docked = app.start() && QTest::qWaitFor([&] { return bool(icon()); }, timeoutMs);
        m_icon = icon().value_or(QRect());
        return docked;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString tray = QStringLiteral("--edge top --align right --widthtype request --height 24 "
                                            "--SetDockType true --transparent false");
        m_tray.start(QStringLiteral("trayer"), tray.split(u' '));
        QVERIFY(m_tray.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_x11.hasSelectionOwner("_NET_SYSTEM_TRAY_S0"), timeoutMs);
        m_app = std::make_unique<E2eApp>();
        QVERIFY(startApp(*m_app));
    }

    void cleanupTestCase()
    {
        m_app.reset();
        m_tray.terminate();
        if (!m_tray.waitForFinished(5000))
            m_tray.kill();
    }

    void init()
    {
        moveTo(away);
        if (popover() || menu())
            X11Probe::xdotool(QStringLiteral("key Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(!popover() && !menu() && !hoverPanel(), timeoutMs);
    }

    void iconShowsUnreadDotUntilClicked()
    {
        QTRY_COMPARE_WITH_TIMEOUT(redPixelsOnIcon(), 0, timeoutMs);  // empty history: no dot
        writePng(m_app->screenshotFolder() + QStringLiteral("/Screenshot from 2026-12-06 10-00-00.png"),
                 makeImage(800, 500));
        QTRY_VERIFY_WITH_TIMEOUT(redPixelsOnIcon() >= 12, timeoutMs);

        moveTo(m_icon.center(), QStringLiteral("click 1"));
        QTRY_VERIFY_WITH_TIMEOUT(popover(), timeoutMs);
        QCOMPARE(popover().value_or(QRect()).top(), m_icon.bottom() + 1 + 4);  // under the icon
        QTRY_COMPARE_WITH_TIMEOUT(redPixelsOnIcon(), 0, timeoutMs);  // seen: unread and pending are over

        // The popover has the keyboard: Escape closes it. The app lives on
        // without any window.
        X11Probe::xdotool(QStringLiteral("key Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(!popover(), timeoutMs);
        QTest::qWait(200);
        QCOMPARE(m_app->process().state(), QProcess::Running);
    }

    void rightClickMenuThenLeftClickOpensPopover()
    {
        moveTo(m_icon.center(), QStringLiteral("click 3"));
        QTRY_VERIFY_WITH_TIMEOUT(menu(), timeoutMs);
        QVERIFY(!popover());
        QTest::qWait(300);  // drawn
        const QString text = readText(X11Probe::screenshot(menu().value_or(QRect())));
        qsizetype at = 0;
        for (const char *title : {"tarnwickv", "showscreenshots", "clearscreenshots", "syncscreenshots", "library",
                                  "settings", "quit"}) {
            at = text.indexOf(QLatin1String(title), at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("\"%1\" missing or out of order in \"%2\"")
                                             .arg(QLatin1String(title), text)));
        }

        moveTo(m_icon.center(), QStringLiteral("click 1"));  // with the menu open: the popover, not the menu again
        QTRY_VERIFY_WITH_TIMEOUT(popover() && !menu(), timeoutMs);

        moveTo(m_icon.center(), QStringLiteral("click 1"));  // and a click on the icon closes it, for good
        QTRY_VERIFY_WITH_TIMEOUT(!popover(), timeoutMs);
        QTest::qWait(300);
        QVERIFY(!popover());
    }

    void popoverToggles_data()
    {
        QTest::addColumn<bool>("byHotKey");
        QTest::newRow("by the global hot key") << true;
        QTest::newRow("by tarnwick --toggle") << false;
    }

    void popoverToggles()
    {
        QFETCH(bool, byHotKey);
        for (bool open : {true, false}) {
            if (byHotKey)
                X11Probe::xdotool(QStringLiteral("key ctrl+shift+space"));
            else
                QCOMPARE(m_app->runCommand({QStringLiteral("--toggle")}), 0);
            QTRY_COMPARE_WITH_TIMEOUT(popover().has_value(), open, timeoutMs);
        }
    }

    void restingOnTheIconShowsThePreview()
    {
        QElapsedTimer clock;
        clock.start();
        moveTo(m_icon.center());
        QTRY_VERIFY_WITH_TIMEOUT(hoverPanel(), timeoutMs);
        QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));
        // Centred 4 below the icon but kept on the screen; an 800 × 500 image is capped at 130.
        const int centred = m_icon.x() + m_icon.width() / 2 - 110;
        QCOMPARE(hoverPanel().value_or(QRect()),
                 QRect(std::min(centred, 1280 - 220), m_icon.bottom() + 1 + 4, 220, 130 + 10 + 36 + 10));

        // A click: the preview goes, the popover comes, and the preview does
        // not return while it is open.
        moveTo(m_icon.center(), QStringLiteral("click 1"));
        QTRY_VERIFY_WITH_TIMEOUT(popover() && !hoverPanel(), timeoutMs);
        QTest::qWait(600);
        QVERIFY(!hoverPanel());
        // Closed by a click elsewhere: the popover had the pointer grabbed, so
        // the icon never heard it being left, yet the next visit shows the preview.
        moveTo(away, QStringLiteral("click 1"));
        QTRY_VERIFY_WITH_TIMEOUT(!popover(), timeoutMs);
        moveTo(m_icon.center());
        QTRY_VERIFY_WITH_TIMEOUT(hoverPanel(), timeoutMs);
        moveTo(away);
        QTRY_VERIFY_WITH_TIMEOUT(!hoverPanel(), timeoutMs);

        // Leaving before the delay is up: no preview.
        moveTo(m_icon.center(), QStringLiteral("sleep 0.1 mousemove %1 %2").arg(away.x()).arg(away.y()));
        QTest::qWait(1200);
        QVERIFY(!hoverPanel());
    }

    void takenChordIsLoggedAndTheShortcutServiceTakesOver()
    {
        m_app->stop();
        QDBusConnection bus = QDBusConnection::sessionBus();
        QTRY_VERIFY_WITH_TIMEOUT(!E2eApp::nameOwned(), timeoutMs);
        QVERIFY(m_x11.grabKey(0x20, 4 | 1));  // another program holds space with Control and Shift

        FakeShortcutService service;
        QVERIFY(bus.registerObject(QStringLiteral("/kglobalaccel"), &service, QDBusConnection::ExportScriptableSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.kde.kglobalaccel")));

        E2eApp app;
        app.captureErrorOutput();
        QVERIFY(startApp(app));
        QTRY_VERIFY_WITH_TIMEOUT(app.errorOutput().contains(QStringLiteral("Ctrl+Shift+Space is taken")), timeoutMs);
        // The app listens for presses before it asks for the chord, so once
        // the chord was asked for, a press reaches it.
        QTRY_COMPARE_WITH_TIMEOUT(service.keys, QList<int>{(Qt::CTRL | Qt::SHIFT | Qt::Key_Space).toCombined()},
                                  timeoutMs);
        QCOMPARE(service.registered.value(0), QStringLiteral("com.tarnwick.Tarnwick"));
        for (bool open : {true, false}) {
            service.press();
            QTRY_COMPARE_WITH_TIMEOUT(popover().has_value(), open, timeoutMs);
        }
        app.stop();
        bus.unregisterService(QStringLiteral("org.kde.kglobalaccel"));
    }
};

QTEST_GUILESS_MAIN(E2eShellTest)
#include "test_e2e_shell.moc"
