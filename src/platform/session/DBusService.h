#pragma once

#include <QObject>
#include <QStringList>

class ScreenshotMonitor;

// The session-bus face of the running instance: com.tarnwick.Tarnwick on
// object "/". A second process forwards its command line here and exits.
class DBusService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tarnwick.Tarnwick")
    Q_PROPERTY(int UnreadCount READ unreadCount)
    Q_PROPERTY(bool IsPending READ isPending)
    Q_PROPERTY(QStringList Screenshots READ screenshots)

public:
    static constexpr const char *serviceName = "com.tarnwick.Tarnwick";
    static constexpr const char *objectPath = "/";

    explicit DBusService(ScreenshotMonitor *monitor, QObject *parent = nullptr);

    // Takes the bus name and exports this object; false when another instance
    // holds the name or there is no session bus.
    bool registerOnSessionBus();
    // Calls method on the running instance; false when none answers.
    static bool callRunningInstance(const QString &method);

    int unreadCount() const;
    bool isPending() const;
    QStringList screenshots() const;

public Q_SLOTS:
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void ScreenshotTaken();

Q_SIGNALS:
    void toggleRequested();
    void screenshotTakenReported();

private:
    void announce(const QString &property, const QVariant &value);

    ScreenshotMonitor *m_monitor;
};
