#include "hotkey/PortalGlobalHotKey.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QLoggingCategory>

#include "hotkey/DesktopHotKey.h"

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
constexpr int callTimeoutMs = 3000;

// One entry of BindShortcuts: (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

PortalGlobalHotKey::PortalGlobalHotKey(QObject *parent)
    : GlobalHotKey(parent)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

PortalGlobalHotKey::~PortalGlobalHotKey() = default;

bool PortalGlobalHotKey::registerHotKey()
{
    if (!hasInterface()) {
        qCDebug(lcHotKey) << "no GlobalShortcuts portal";
        return false;
    }
    QDBusConnection::sessionBus().connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"),
                                          this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    const QString token = QStringLiteral("tarnwick_session%1").arg(++m_requests);
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), QStringLiteral("tarnwick")}};
    return request(QStringLiteral("CreateSession"), {options}, token, SLOT(onSessionCreated(uint, QVariantMap)));
}

bool PortalGlobalHotKey::hasInterface() const
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    const bool reachable = bus->isServiceRegistered(portalService)
        || bus->activatableServiceNames().value().contains(portalService);
    if (!reachable)
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(portalService, portalPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    return QDBusConnection::sessionBus().call(get, QDBus::Block, callTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

bool PortalGlobalHotKey::request(const QString &method, QVariantList arguments, const QString &token, const char *slot)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The request object's path is known in advance; listening before the
    // call cannot miss a fast answer.
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString requestPath = portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    bus.connect(portalService, requestPath, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), this, slot);
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = bus.call(call, QDBus::Block, callTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    qCWarning(lcHotKey) << "GlobalShortcuts portal:" << method << "failed:" << reply.errorMessage();
    bus.disconnect(portalService, requestPath, QStringLiteral("org.freedesktop.portal.Request"),
                   QStringLiteral("Response"), this, slot);
    return false;
}

void PortalGlobalHotKey::onSessionCreated(uint response, const QVariantMap &results)
{
    if (response != 0) {
        qCWarning(lcHotKey) << "GlobalShortcuts portal: no session, response" << response;
        return;
    }
    m_session = results.value(QStringLiteral("session_handle")).toString();
    bindShortcut();
}

void PortalGlobalHotKey::bindShortcut()
{
    const PortalShortcut shortcut{QLatin1String(shortcutId),
                                  {{QStringLiteral("description"), QStringLiteral("Show or hide Tarnwick")},
                                   {QStringLiteral("preferred_trigger"), QStringLiteral("CTRL+SHIFT+space")}}};
    const QString token = QStringLiteral("tarnwick_bind%1").arg(++m_requests);
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(QList<PortalShortcut>{shortcut}),
             QString(), QVariantMap{{QStringLiteral("handle_token"), token}}},
            token, SLOT(onBound(uint, QVariantMap)));
}

void PortalGlobalHotKey::onBound(uint response, const QVariantMap &)
{
    if (response != 0)
        qCWarning(lcHotKey) << "GlobalShortcuts portal: the shortcut was not bound, response" << response;
}

void PortalGlobalHotKey::onActivated(const QDBusObjectPath &session, const QString &id, qulonglong,
                                     const QVariantMap &)
{
    if (session.path() == m_session && id == QLatin1String(shortcutId))
        Q_EMIT activated();
}
