#pragma once

#include "shell/GlobalHotKey.h"

#include <QStringList>

// The chord through KDE's global shortcut service (org.kde.kglobalaccel on
// the session bus), which also works where clients cannot grab keys.
class KGlobalAccelHotKey : public GlobalHotKey
{
    Q_OBJECT
public:
    static constexpr const char *service = "org.kde.kglobalaccel";
    static constexpr const char *componentName = "com.tarnwick.Tarnwick";
    static constexpr const char *actionName = "toggle-popover";

    explicit KGlobalAccelHotKey(QObject *parent = nullptr);
    ~KGlobalAccelHotKey() override;

    // False when the service is not running or gives the chord to another
    // program.
    bool registerHotKey() override;

private Q_SLOTS:
    void onShortcutPressed(const QString &component, const QString &action, qlonglong timestamp);

private:
    static QStringList actionId();
    bool assignChord();
    bool listenToComponent();
};
