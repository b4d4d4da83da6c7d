#include "desktop/KeyboardSettings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace KeyboardSettings {

void open()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    QList<QStringList> candidates{
        {QStringLiteral("gnome-control-center"), QStringLiteral("keyboard")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_keys")},
        {QStringLiteral("xfce4-keyboard-settings")},
        {QStringLiteral("cinnamon-settings"), QStringLiteral("keyboard")},
        {QStringLiteral("mate-keybinding-properties")},
    };
    // The running desktop's own program first.
    if (desktop.contains(QLatin1String("KDE")))
        candidates.move(1, 0);
    else if (desktop.contains(QLatin1String("XFCE")))
        candidates.move(2, 0);
    else if (desktop.contains(QLatin1String("CINNAMON")))
        candidates.move(3, 0);
    else if (desktop.contains(QLatin1String("MATE")))
        candidates.move(4, 0);
    for (const QStringList &command : std::as_const(candidates)) {
        if (QStandardPaths::findExecutable(command.first()).isEmpty())
            continue;
        if (QProcess::startDetached(command.first(), command.mid(1)))
            return;
    }
}

}  // namespace KeyboardSettings
