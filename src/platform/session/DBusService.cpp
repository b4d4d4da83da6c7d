#include "session/DBusService.h"

#include "capture/ScreenshotMonitor.h"
#include "common/UserImageFile.h"
#include "search/CaptureIndex.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QThread>

Q_LOGGING_CATEGORY(lcDBus, "tarnwick.dbus", QtInfoMsg)

DBusService::DBusService(ScreenshotMonitor *monitor, QObject *parent)
    : QObject(parent)
    , m_monitor(monitor)
{
    connect(monitor, &ScreenshotMonitor::unreadCountChanged, this,
            [this](int count) { announce(QStringLiteral("UnreadCount"), count); });
    connect(monitor, &ScreenshotMonitor::isPendingChanged, this,
            [this](bool pending) { announce(QStringLiteral("IsPending"), pending); });
    connect(monitor, &ScreenshotMonitor::screenshotsChanged, this,
            [this] { announce(QStringLiteral("Screenshots"), screenshots()); });
}

DBusService::Claim DBusService::claimName()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcDBus) << "no session bus:" << bus.lastError().message();
        return Claim::noBus;
    }
    return bus.registerService(QLatin1String(serviceName)) ? Claim::claimed : Claim::taken;
}

bool DBusService::exportObject()
{
    return QDBusConnection::sessionBus().registerObject(
        QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties);
}

bool DBusService::callRunningInstance(const QString &method, int timeoutMs, const QVariantList &arguments)
{
    // A private connection, closed again: the process may go on to become the
    // instance itself, and then owns the shared session connection.
    const QString name = QStringLiteral("tarnwick-forward");
    bool answered = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                                           QLatin1String(serviceName), method);
        call.setArguments(arguments);
        QElapsedTimer clock;
        clock.start();
        while (bus.isConnected() && bus.interface()->isServiceRegistered(QLatin1String(serviceName))) {
            answered = bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
            if (answered || clock.elapsed() >= timeoutMs)
                break;
            QThread::msleep(50);
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return answered;
}

int DBusService::unreadCount() const
{
    return m_monitor->unreadCount();
}

bool DBusService::isPending() const
{
    return m_monitor->isPending();
}

QStringList DBusService::screenshots() const
{
    QStringList paths;
    for (const ScreenshotItem &item : m_monitor->screenshots())
        paths << item.filePath();
    return paths;
}

void DBusService::Toggle()
{
    Q_EMIT toggleRequested();
}

void DBusService::ScreenshotTaken()
{
    Q_EMIT screenshotTakenReported();
}

void DBusService::PickColor(const QString &path)
{
    if (acceptFile(path))
        Q_EMIT pickColorRequested(path);
}

void DBusService::Annotate(const QString &path)
{
    if (acceptFile(path))
        Q_EMIT annotateRequested(path);
}

bool DBusService::acceptFile(const QString &path)
{
    const QString problem = UserImageFile::problem(path);
    if (problem.isEmpty())
        return true;
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("%1: %2").arg(problem, path));
    return false;
}

void DBusService::Library()
{
    Q_EMIT libraryRequested();
}

void DBusService::Settings()
{
    Q_EMIT settingsRequested();
}

QStringList DBusService::Search(const QString &words)
{
    QStringList paths;
    if (m_index) {
        for (const CaptureHit &hit : m_index->search(words))
            paths << hit.path;
    }
    return paths;
}

void DBusService::announce(const QString &property, const QVariant &value)
{
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(objectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(serviceName) << QVariantMap{{property, value}} << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
