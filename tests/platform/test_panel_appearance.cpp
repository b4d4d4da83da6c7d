// What the desktop tells about the tray's panel, read from real files and
// real pixels of the test's X server.

#include "desktop/DesktopPanelAppearance.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace TestSupport;

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

    void pixelsAroundAnIconAreMeasured()
    {
        QWidget tray;
        tray.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        tray.setAutoFillBackground(true);
        tray.setPalette(QPalette(QColor(20, 40, 60)));
        tray.setGeometry(100, 100, 200, 28);
        tray.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tray));
        QTest::qWait(100);
        const auto measured = DesktopPanelAppearance::frameColorAround(QRect(150, 103, 22, 22));
        QVERIFY(measured);
        QCOMPARE(measured->rgb(), QColor(20, 40, 60).rgb());
    }
};

QTEST_MAIN(PanelAppearanceTest)
#include "test_panel_appearance.moc"
