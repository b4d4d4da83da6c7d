#include "desktop/DesktopColorScheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusError>
#include <QDBusVariant>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcColorScheme, "tarnwick.colorscheme", QtInfoMsg)

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
// Asked once at start, before the first window: a portal slower than this
// leaves the app on the platform's palette until it signals a change.
constexpr int readTimeoutMs = 1000;

// Read() wraps the value in one variant more than ReadOne() does.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

// The portal's value of the setting; none where there is no portal.
QVariant readPortal()
{
    // ReadOne came with version 2 of the interface; older portals know only Read.
    for (const QString &method : {QStringLiteral("ReadOne"), QStringLiteral("Read")}) {
        QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
        call << appearance << colorSchemeKey;
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, readTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            return reply.arguments().constFirst();
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
            break;
    }
    return {};
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
    m_preference = fromPortal(readPortal());
}

ColorScheme::Preference DesktopColorScheme::preference() const
{
    return m_preference;
}

void DesktopColorScheme::settingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group == appearance && key == colorSchemeKey)
        setPreference(fromPortal(value.variant()));
}

void DesktopColorScheme::setPreference(Preference preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    Q_EMIT changed();
}
