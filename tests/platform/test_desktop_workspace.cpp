// The desktop workspace against stand-ins for the file manager and the
// portal on the real session bus, and with the desktop's URL opener caught.

#include "desktop/DesktopWorkspace.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> shown;
public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &) { shown << uris; }
};

class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.OpenURI")
public:
    QByteArray contents;
    QVariantMap options;
public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString &, const QDBusUnixFileDescriptor &fd, const QVariantMap &opts)
    {
        QFile file;
        if (file.open(fd.fileDescriptor(), QIODevice::ReadOnly))
            contents = file.readAll();
        options = opts;
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1"));
    }
};

// Catches what would go to the desktop's default applications.
class Opened : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

}  // namespace

class DesktopWorkspaceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(m_dir.isValid());
        m_file = TestSupport::writeBytes(m_dir.filePath(QStringLiteral("Screenshot 1.png")), "pixels");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opened, "open");
    }

    // Revealing shows the file in the file manager where one is on the bus,
    // else opens its folder; Open With hands the file itself to the portal.
    void fileActionsReachTheDesktop()
    {
        m_workspace.openFile(m_file);
        QCOMPARE(m_opened.urls, QList<QUrl>{QUrl::fromLocalFile(m_file)});
        FakeFileManager manager;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
        m_workspace.revealFile(m_file);
        QTRY_COMPARE(manager.shown, QList<QStringList>{{QUrl::fromLocalFile(m_file).toString()}});
        QTest::qWait(50);
        QCOMPARE(m_opened.urls.size(), 1);  // no folder opened besides
        bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));

        m_workspace.revealFile(m_file);
        QTRY_COMPARE(m_opened.urls, (QList<QUrl>{QUrl::fromLocalFile(m_file), QUrl::fromLocalFile(m_dir.path())}));

        FakePortal portal;
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        m_workspace.openFileWith(m_file);
        QTRY_COMPARE(portal.contents, QByteArray("pixels"));
        QCOMPARE(portal.options.value(QStringLiteral("ask")), QVariant(true));
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
    Opened m_opened;
    DesktopWorkspace m_workspace;
};

QTEST_MAIN(DesktopWorkspaceTest)
#include "test_desktop_workspace.moc"
