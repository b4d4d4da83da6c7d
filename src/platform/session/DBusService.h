#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantList>

class CaptureIndex;
class ScreenshotMonitor;

// The session-bus face of the running instance: com.tarnwick.Tarnwick on
// object "/". A second process forwards its command line here and exits.
class DBusService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tarnwick.Tarnwick")
    Q_PROPERTY(int UnreadCount READ unreadCount)
    Q_PROPERTY(bool IsPending READ isPending)
    Q_PROPERTY(QStringList Screenshots READ screenshots)

public:
    static constexpr const char *serviceName = "com.tarnwick.Tarnwick";
    static constexpr const char *objectPath = "/";

    enum class Claim { claimed, taken, noBus };
    // Takes the bus name before anything else starts, so that of two
    // processes started together only one goes on.
    static Claim claimName();
    // Calls method with arguments on the running instance, waiting up to
    // timeoutMs for one that holds the name but has not exported its object
    // yet; false when none answers.
    static bool callRunningInstance(const QString &method, int timeoutMs = 0, const QVariantList &arguments = {});

    explicit DBusService(ScreenshotMonitor *monitor, QObject *parent = nullptr);
    // Exports this object under the claimed name.
    bool exportObject();
    // Where Search looks; none: it finds nothing.
    void setCaptureIndex(const CaptureIndex *index) { m_index = index; }

    int unreadCount() const;
    bool isPending() const;
    QStringList screenshots() const;

public Q_SLOTS:
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void ScreenshotTaken();
    // path: absolute, made so by the caller, whose working folder this
    // process does not share; the path of a regular file, else the call is
    // answered with an error and nothing opens.
    Q_SCRIPTABLE void PickColor(const QString &path);
    Q_SCRIPTABLE void Annotate(const QString &path);  // path: as for PickColor
    Q_SCRIPTABLE void Library();
    Q_SCRIPTABLE void Settings();
    // Paths of the captures whose text holds every word, newest first.
    Q_SCRIPTABLE QStringList Search(const QString &words);

Q_SIGNALS:
    void toggleRequested();
    void screenshotTakenReported();
    void pickColorRequested(const QString &path);
    void annotateRequested(const QString &path);
    void libraryRequested();
    void settingsRequested();

private:
    void announce(const QString &property, const QVariant &value);
    // False, with an error reply to the caller, when path is no file to open.
    bool acceptFile(const QString &path);

    ScreenshotMonitor *m_monitor;
    const CaptureIndex *m_index = nullptr;
};
