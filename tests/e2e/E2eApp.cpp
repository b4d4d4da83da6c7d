#include "E2eApp.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDir>
#include <QTest>

namespace {
const QString service = QStringLiteral("com.tarnwick.Tarnwick");
}

E2eApp::E2eApp()
{
    for (const char *dir : {"/.config", "/.local/share", "/.cache", "/Pictures"})
        QDir().mkpath(m_home.path() + QLatin1String(dir));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

QProcessEnvironment E2eApp::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.path() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.path() + QStringLiteral("/.cache"));
    env.remove(QStringLiteral("XDG_PICTURES_DIR"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool E2eApp::start()
{
    launch({});
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    // The name is claimed before anything else starts; the object is exported
    // once the monitor watches the folder, so a file written after that counts.
    const bool settled = QTest::qWaitFor(
        [&] {
            return (bus->isServiceRegistered(service) && objectExported()) || m_process.state() == QProcess::NotRunning;
        },
        15000);
    return settled && m_process.state() == QProcess::Running;
}

// Asked without blocking: while starting, the app may itself be calling a
// service this test process provides.
bool E2eApp::objectExported() const
{
    QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << service << QStringLiteral("UnreadCount");
    const QDBusPendingCall call = QDBusConnection::sessionBus().asyncCall(get, 2000);
    return QTest::qWaitFor([&] { return call.isFinished(); }, 3000) && !call.isError();
}

void E2eApp::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

void E2eApp::launch(const QStringList &args)
{
    m_process.setProcessEnvironment(environment());
    m_process.start(qEnvironmentVariable("TARNWICK_BINARY"), args);
}

bool E2eApp::nameOwned()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(service);
}

int E2eApp::runCommand(const QStringList &args, const QString &folder, QString *errors, QByteArray *output)
{
    QProcess command;
    command.setProcessEnvironment(environment());
    command.setWorkingDirectory(folder);
    command.start(qEnvironmentVariable("TARNWICK_BINARY"), args);
    // Waits with the event loop running: this test may be serving the app on the bus.
    if (!QTest::qWaitFor([&] { return command.state() == QProcess::NotRunning; }, 15000)) {
        command.kill();
        command.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = QString::fromLocal8Bit(command.readAllStandardError());
    if (output)
        *output = command.readAllStandardOutput();
    return command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
}

QVariant E2eApp::property(const QString &name) const
{
    return QDBusInterface(service, QStringLiteral("/"), service).property(qPrintable(name));
}
