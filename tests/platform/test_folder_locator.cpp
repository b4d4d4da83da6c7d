// Where the screenshot folder is, from real config files in a temporary home.

#include "TestSupport.h"
#include "capture/XdgScreenshotFolderLocator.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;

class FolderLocatorTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString config() const { return m_home.path() + u"/.config"_s; }

private Q_SLOTS:
    void init()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", config().toUtf8());
        QDir(config()).removeRecursively();
        QDir().mkpath(config());
    }

    void screenshotFolder_data()
    {
        QTest::addColumn<QString>("file");  // in the config folder; none: nothing written
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("expected");  // in the home folder
        const QString dirs = u"user-dirs.dirs"_s;
        const QString kde = u"spectaclerc"_s;
        const QByteArray home = m_home.path().toUtf8();
        QTest::newRow("Pictures/Screenshots by default") << QString() << QByteArray() << u"/Pictures/Screenshots"_s;
        QTest::newRow("follows the user's pictures folder") << dirs << QByteArray("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n")
                                                            << u"/Bilder/Screenshots"_s;
        QTest::newRow("pictures disabled: the desktop") << dirs << QByteArray("XDG_PICTURES_DIR=\"$HOME/\"\n") << u"/Desktop"_s;
        QTest::newRow("KDE's setting as a URL") << kde << "[ImageSave]\nimageSaveLocation=file://" + home + "/Shots, with comma/\n"
                                                << u"/Shots, with comma"_s;
        QTest::newRow("KDE's older key, tilde") << kde << QByteArray("[Save]\ndefaultSaveLocation=~/Caps\n") << u"/Caps"_s;
        QTest::newRow("KDE's setting empty: falls through") << kde << QByteArray("[ImageSave]\nimageSaveLocation=\n")
                                                            << u"/Pictures/Screenshots"_s;
        QTest::newRow("KDE's setting relative: ignored") << kde << QByteArray("[ImageSave]\nimageSaveLocation=shots\n")
                                                         << u"/Pictures/Screenshots"_s;
    }

    void screenshotFolder()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, expected);
        if (!file.isEmpty())
            writeBytes(config() + u'/' + file, contents);
        QCOMPARE(XdgScreenshotFolderLocator().screenshotDirectory(), m_home.path() + expected);
    }
};

QTEST_GUILESS_MAIN(FolderLocatorTest)
#include "test_folder_locator.moc"
