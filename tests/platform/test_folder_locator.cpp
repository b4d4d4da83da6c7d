// Where the screenshot folder is, from real config files in a temporary home.

#include "TestSupport.h"
#include "capture/XdgScreenshotFolderLocator.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class FolderLocatorTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString config() const { return m_home.path() + QStringLiteral("/.config"); }

private Q_SLOTS:
    void init()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", config().toUtf8());
        QDir(config()).removeRecursively();
        QDir().mkpath(config());
    }

    void picturesScreenshotsByDefault()
    {
        XdgScreenshotFolderLocator locator;
        QCOMPARE(locator.screenshotDirectory(), m_home.path() + QStringLiteral("/Pictures/Screenshots"));
    }

    void followsTheUserPicturesFolder()
    {
        writeBytes(config() + QStringLiteral("/user-dirs.dirs"), "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
        XdgScreenshotFolderLocator locator;
        QCOMPARE(locator.screenshotDirectory(), m_home.path() + QStringLiteral("/Bilder/Screenshots"));
    }

    void picturesDisabledFallsBackToDesktop()
    {
        writeBytes(config() + QStringLiteral("/user-dirs.dirs"), "XDG_PICTURES_DIR=\"$HOME/\"\n");
        XdgScreenshotFolderLocator locator;
        QCOMPARE(locator.screenshotDirectory(), m_home.path() + QStringLiteral("/Desktop"));
    }

    void spectacleSettingWins_data()
    {
        QTest::addColumn<QByteArray>("rc");
        QTest::addColumn<QString>("expected");
        const QString home = m_home.path();
        QTest::newRow("url") << QByteArray("[ImageSave]\nimageSaveLocation=file://") + home.toUtf8()
                + "/Shots, with comma/\n"
                             << home + QStringLiteral("/Shots, with comma");
        QTest::newRow("older key, tilde") << QByteArray("[Save]\ndefaultSaveLocation=~/Caps\n")
                                          << home + QStringLiteral("/Caps");
        QTest::newRow("empty falls through") << QByteArray("[ImageSave]\nimageSaveLocation=\n")
                                             << home + QStringLiteral("/Pictures/Screenshots");
        QTest::newRow("relative ignored") << QByteArray("[ImageSave]\nimageSaveLocation=shots\n")
                                          << home + QStringLiteral("/Pictures/Screenshots");
    }

    void spectacleSettingWins()
    {
        QFETCH(QByteArray, rc);
        QFETCH(QString, expected);
        writeBytes(config() + QStringLiteral("/spectaclerc"), rc);
        XdgScreenshotFolderLocator locator;
        QCOMPARE(locator.screenshotDirectory(), expected);
    }
};

QTEST_GUILESS_MAIN(FolderLocatorTest)
#include "test_folder_locator.moc"
