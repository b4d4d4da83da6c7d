#pragma once

#include "shell/GlobalHotKey.h"

#include <QDBusObjectPath>
#include <QVariantMap>

// The chord through the desktop portal's GlobalShortcuts interface: a session
// is created, the shortcut is bound (the desktop may ask the user), and the
// portal reports each activation.
class PortalGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT
public:
    static constexpr const char *shortcutId = "toggle-popover";

    explicit PortalGlobalHotKey(QObject *parent = nullptr);
    ~PortalGlobalHotKey() override;

    // True once the portal has the interface and accepted the session
    // request; a binding the user declines later is only logged.
    bool registerHotKey() override;

private Q_SLOTS:
    void onSessionCreated(uint response, const QVariantMap &results);
    void onBound(uint response, const QVariantMap &results);
    void onActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);

private:
    bool hasInterface() const;
    // Subscribes slot to the Response of the request that token names, then
    // sends the call; false when the portal refuses it.
    bool request(const QString &method, QVariantList arguments, const QString &token, const char *slot);
    void bindShortcut();

    QString m_session;
    int m_requests = 0;
};
