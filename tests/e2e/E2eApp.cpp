#include "E2eApp.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QTest>

namespace {
const QString service = QStringLiteral("com.tarnwick.Tarnwick");
}

E2eApp::E2eApp()
{
    for (const char *dir : {"/.config", "/.local/share", "/.cache", "/Pictures"})
        QDir().mkpath(home() + QLatin1String(dir));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

E2eApp::~E2eApp()
{
    stop();
}

QProcessEnvironment E2eApp::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home() + QStringLiteral("/.cache"));
    env.remove(QStringLiteral("XDG_PICTURES_DIR"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool E2eApp::start(const QStringList &args)
{
    m_process.setProcessEnvironment(environment());
    m_process.start(qEnvironmentVariable("TARNWICK_BINARY"), args);
    if (!m_process.waitForStarted(5000))
        return false;
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        if (bus->isServiceRegistered(service))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
    }
    return false;
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

int E2eApp::runCommand(const QStringList &args, int timeoutMs)
{
    QProcess command;
    command.setProcessEnvironment(environment());
    command.start(qEnvironmentVariable("TARNWICK_BINARY"), args);
    QElapsedTimer clock;
    clock.start();
    while (command.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    if (command.state() != QProcess::NotRunning) {
        command.kill();
        command.waitForFinished();
        return -1;
    }
    return command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
}

QString E2eApp::errorOutput()
{
    m_errors += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_errors;
}

QVariant E2eApp::property(const QString &name) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << service << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QStringList>(qvariant_cast<QDBusArgument>(value));
    return value;
}
