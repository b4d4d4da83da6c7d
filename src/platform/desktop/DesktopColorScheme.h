#pragma once

#include "common/ColorScheme.h"

class QDBusVariant;

// The desktop's light or dark choice from the settings portal
// (org.freedesktop.appearance color-scheme), which GNOME sets and the
// portal back ends pass on, followed as it changes: none until the portal
// has answered, which may come after start. TARNWICK_COLOR_SCHEME
// set to "dark" or "light" stands in for the desktop's choice.
class DesktopColorScheme : public ColorScheme
{
    Q_OBJECT
public:
    explicit DesktopColorScheme(QObject *parent = nullptr);

    Preference preference() const override;

private Q_SLOTS:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void read(const QString &method);
    void setPreference(Preference preference);

    Preference m_preference = Preference::none;
    bool m_heardChange = false;
};
