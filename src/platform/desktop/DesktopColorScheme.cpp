#include "desktop/DesktopColorScheme.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcColorScheme, "tarnwick.colorscheme", QtInfoMsg)

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Read() wraps the value in one variant more than ReadOne() does.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

// The portal's number: 1 prefers dark, 2 prefers light, anything else nothing.
ColorScheme::Preference fromPortal(const QVariant &value)
{
    using Preference = ColorScheme::Preference;
    bool isNumber = false;
    const uint number = unwrapped(value).toUInt(&isNumber);
    if (!isNumber)
        return Preference::none;
    return number == 1 ? Preference::dark : number == 2 ? Preference::light : Preference::none;
}

}  // namespace

DesktopColorScheme::DesktopColorScheme(QObject *parent)
    : ColorScheme(parent)
{
    const QString forced = qEnvironmentVariable("TARNWICK_COLOR_SCHEME").toLower();
    if (forced == QLatin1String("dark") || forced == QLatin1String("light")) {
        m_preference = forced == QLatin1String("dark") ? Preference::dark : Preference::light;
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // The slot is found by its parameters' names, which Qt knows only once registered.
    qRegisterMetaType<QDBusVariant>();
    if (!bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                     SLOT(settingChanged(QString, QString, QDBusVariant))))
        qCWarning(lcColorScheme) << "cannot follow the desktop's colour scheme:" << bus.lastError().message();
    read(QStringLiteral("ReadOne"));
}

// Asked without waiting: at login the portal may still be starting, and
// no window is shown before it answers.
void DesktopColorScheme::read(const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
    call << appearance << colorSchemeKey;
    auto *answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            if (!m_heardChange)  // a change signalled meanwhile is newer
                setPreference(fromPortal(reply.arguments().constFirst()));
        } else if (method == QLatin1String("ReadOne")
                   && reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
            read(QStringLiteral("Read"));  // ReadOne came with version 2 of the interface
        }
    });
}

ColorScheme::Preference DesktopColorScheme::preference() const
{
    return m_preference;
}

void DesktopColorScheme::settingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != appearance || key != colorSchemeKey)
        return;
    m_heardChange = true;
    setPreference(fromPortal(value.variant()));
}

void DesktopColorScheme::setPreference(Preference preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    Q_EMIT changed();
}
