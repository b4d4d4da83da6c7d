// What the desktop tells about the tray's panel, read from real files and
// real pixels of the test's X server; and its colour scheme, read from a
// settings portal on the test's session bus.

#include "desktop/DesktopColorScheme.h"
#include "desktop/DesktopPanelAppearance.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QThread>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace TestSupport;

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

// The settings portal with one setting, on a bus connection and a thread of
// its own, so that the blocking read at start can be answered. An older
// portal knows Read only, which wraps the value once more.
class FakeSettingsPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    uint scheme = 0;
    bool knowsReadOne = true;
    unsigned long answersAfterMs = 0;

public Q_SLOTS:
    QDBusVariant ReadOne(const QString &group, const QString &key)
    {
        if (!knowsReadOne)
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("no ReadOne"));
        return value(group, key);
    }

    QDBusVariant Read(const QString &group, const QString &key)
    {
        return QDBusVariant(QVariant::fromValue(value(group, key)));
    }

private:
    QDBusVariant value(const QString &group, const QString &key)
    {
        QThread::msleep(answersAfterMs);  // a portal still starting
        if (group != QLatin1String("org.freedesktop.appearance") || key != QLatin1String("color-scheme"))
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), key);
        return QDBusVariant(scheme);
    }
};

}  // namespace

class PanelAppearanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kdeColourScheme_data()
    {
        QTest::addColumn<QByteArray>("kdeglobals");
        QTest::addColumn<QColor>("expected");  // invalid: none
        QTest::newRow("dark scheme") << QByteArray("[Colors:Window]\nBackgroundNormal=32,35,38\nForegroundNormal=252,252,252\n")
                                     << QColor(32, 35, 38);
        QTest::newRow("light scheme") << QByteArray("[General]\nColorScheme=BreezeLight\n[Colors:Window]\nBackgroundNormal=239,240,241\n")
                                      << QColor(239, 240, 241);
        QTest::newRow("no window colours") << QByteArray("[General]\nColorScheme=Custom\n") << QColor();
        QTest::newRow("not a colour") << QByteArray("[Colors:Window]\nBackgroundNormal=dark\n") << QColor();
    }

    void kdeColourScheme()
    {
        QFETCH(QByteArray, kdeglobals);
        QFETCH(QColor, expected);
        QTemporaryDir config;
        const QString file = writeBytes(config.filePath(QStringLiteral("kdeglobals")), kdeglobals);
        QCOMPARE(DesktopPanelAppearance::kdePanelColor(file).value_or(QColor()), expected);

        // On KDE, without pixels to measure, the colour scheme speaks for the panel.
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        const PanelShade::Clues clues = DesktopPanelAppearance().clues(QRect());
        QCOMPARE(clues.desktop, QStringLiteral("KDE"));
        QCOMPARE(clues.panelBackground.value_or(QColor()), expected);
    }

    // The scheme at start, then one change the portal signals.
    void colourSchemeFromThePortal_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<bool>("knowsReadOne");
        QTest::addColumn<QByteArray>("forced");  // TARNWICK_COLOR_SCHEME
        QTest::addColumn<uint>("scheme");
        QTest::addColumn<int>("preference");  // ColorScheme::Preference
        QTest::addColumn<int>("afterChange");  // once the portal says dark, or light when it was dark
        using P = ColorScheme::Preference;
        QTest::newRow("prefers dark") << true << true << QByteArray() << 1u << int(P::dark) << int(P::light);
        QTest::newRow("prefers light") << true << true << QByteArray() << 2u << int(P::light) << int(P::dark);
        QTest::newRow("no preference") << true << true << QByteArray() << 0u << int(P::none) << int(P::dark);
        QTest::newRow("older portal, Read only") << true << false << QByteArray() << 1u << int(P::dark)
                                                 << int(P::light);
        QTest::newRow("no portal") << false << true << QByteArray() << 0u << int(P::none) << int(P::none);
        QTest::newRow("forced dark over the portal") << true << true << QByteArray("dark") << 2u << int(P::dark)
                                                     << int(P::dark);
        // Longer than any wait at start could be: the answer is taken when it comes.
        QTest::newRow("slow portal") << true << true << QByteArray() << 1u << int(P::dark) << int(P::light);
    }

    void colourSchemeFromThePortal()
    {
        QFETCH(bool, portal);
        QFETCH(bool, knowsReadOne);
        QFETCH(QByteArray, forced);
        QFETCH(uint, scheme);
        QFETCH(int, preference);
        QFETCH(int, afterChange);
        qputenv("TARNWICK_COLOR_SCHEME", forced);
        QThread thread;
        auto *fake = new FakeSettingsPortal;  // goes with its thread
        fake->scheme = scheme;
        fake->knowsReadOne = knowsReadOne;
        fake->answersAfterMs = QByteArray(QTest::currentDataTag()) == "slow portal" ? 1500 : 0;
        fake->moveToThread(&thread);
        connect(&thread, &QThread::finished, fake, &QObject::deleteLater);
        thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
        const auto done = qScopeGuard([&] {
            QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
            thread.quit();
            thread.wait();
            qunsetenv("TARNWICK_COLOR_SCHEME");
        });
        if (portal) {
            QVERIFY(bus.registerObject(portalPath, fake, QDBusConnection::ExportAllSlots));
            QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        }

        DesktopColorScheme colorScheme;
        QTRY_COMPARE_WITH_TIMEOUT(int(colorScheme.preference()), preference, 10000);
        QSignalSpy changed(&colorScheme, &ColorScheme::changed);
        // A round trip on the reading connection: the bus has its match rule by then.
        QDBusConnection::sessionBus().interface()->serviceOwner(QStringLiteral("org.freedesktop.DBus"));
        const auto signal = [&](const QString &key, uint value) {
            QDBusMessage message = QDBusMessage::createSignal(portalPath, settingsInterface,
                                                              QStringLiteral("SettingChanged"));
            message << QStringLiteral("org.freedesktop.appearance") << key << QVariant::fromValue(QDBusVariant(value));
            QVERIFY(bus.send(message));
        };
        signal(QStringLiteral("accent-color"), 1);  // not ours: heard, and ignored
        signal(QStringLiteral("color-scheme"), scheme == 1 ? 2 : 1);
        if (afterChange != preference)
            QTRY_COMPARE(int(colorScheme.preference()), afterChange);
        else
            QTest::qWait(200);  // nothing may come: give a wrong change the time to arrive
        QCOMPARE(int(colorScheme.preference()), afterChange);
        QCOMPARE(changed.count(), afterChange == preference ? 0 : 1);
    }

    void pixelsAroundAnIconAreMeasured()
    {
        QWidget tray;
        tray.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        tray.setAutoFillBackground(true);
        tray.setPalette(QPalette(QColor(20, 40, 60)));
        tray.setGeometry(100, 100, 200, 28);
        tray.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tray));
        // Exposed is not yet painted: measured until the panel's colour shows.
        QTRY_COMPARE(DesktopPanelAppearance::frameColorAround(QRect(150, 103, 22, 22)).value_or(QColor()).rgb(),
                     qRgb(20, 40, 60));
    }
};

QTEST_MAIN(PanelAppearanceTest)
#include "test_panel_appearance.moc"
