#include "hotkey/KGlobalAccelHotKey.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QLoggingCategory>

#include "hotkey/DesktopHotKey.h"

namespace {

constexpr int callTimeoutMs = 3000;
// Flags of the service's setShortcut.
constexpr uint isDefault = 1;
constexpr uint setPresent = 2;

QDBusMessage call(const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(KGlobalAccelHotKey::service),
                                                          QStringLiteral("/kglobalaccel"),
                                                          QStringLiteral("org.kde.KGlobalAccel"), method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, callTimeoutMs);
}

bool failed(const QDBusMessage &reply, const char *what)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return false;
    qCWarning(lcHotKey) << "global shortcut service:" << what << "failed:" << reply.errorMessage();
    return true;
}

}  // namespace

KGlobalAccelHotKey::KGlobalAccelHotKey(QObject *parent)
    : GlobalHotKey(parent)
{
}

KGlobalAccelHotKey::~KGlobalAccelHotKey() = default;

QStringList KGlobalAccelHotKey::actionId()
{
    return {QLatin1String(componentName), QLatin1String(actionName), QStringLiteral("Tarnwick"),
            QStringLiteral("Show or hide Tarnwick")};
}

bool KGlobalAccelHotKey::registerHotKey()
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus || !bus->isServiceRegistered(QLatin1String(service))) {
        qCDebug(lcHotKey) << "no KDE global shortcut service";
        return false;
    }
    if (failed(call(QStringLiteral("doRegister"), {actionId()}), "doRegister"))
        return false;
    // Listening first: a press right after the chord is granted is not lost.
    return listenToComponent() && assignChord();
}

bool KGlobalAccelHotKey::assignChord()
{
    const QList<int> keys{chord.toCombined()};
    // The default first, then the active one: the service keeps a key the
    // user chose in its settings over the one offered here.
    call(QStringLiteral("setShortcut"), {actionId(), QVariant::fromValue(keys), isDefault});
    const QDBusMessage reply = call(QStringLiteral("setShortcut"), {actionId(), QVariant::fromValue(keys), setPresent});
    if (failed(reply, "setShortcut") || reply.arguments().isEmpty())
        return false;
    const auto granted = qdbus_cast<QList<int>>(reply.arguments().constFirst());
    if (granted.isEmpty()) {
        qCWarning(lcHotKey) << "the global shortcut service gave Ctrl+Shift+Space to another program";
        return false;
    }
    return true;
}

bool KGlobalAccelHotKey::listenToComponent()
{
    const QDBusMessage reply = call(QStringLiteral("getComponent"), {QLatin1String(componentName)});
    if (failed(reply, "getComponent") || reply.arguments().isEmpty())
        return false;
    const QString path = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    return QDBusConnection::sessionBus().connect(QLatin1String(service), path,
                                                 QStringLiteral("org.kde.kglobalaccel.Component"),
                                                 QStringLiteral("globalShortcutPressed"), this,
                                                 SLOT(onShortcutPressed(QString, QString, qlonglong)));
}

void KGlobalAccelHotKey::onShortcutPressed(const QString &component, const QString &action, qlonglong)
{
    if (component == QLatin1String(componentName) && action == QLatin1String(actionName))
        Q_EMIT activated();
}
