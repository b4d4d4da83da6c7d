#include "desktop/XdgAutostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString defaultConfigHome()
{
    const QString env = qEnvironmentVariable("XDG_CONFIG_HOME");
    return env.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : env;
}

// Desktop-entry quoting: the path inside double quotes with \ " ` $ escaped.
QString quoted(QString path)
{
    for (const char *special : {"\\", "\"", "`", "$"})
        path.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    return QLatin1Char('"') + path + QLatin1Char('"');
}

}  // namespace

XdgAutostart::XdgAutostart(QString configHome, QString executable)
    : m_filePath((configHome.isEmpty() ? defaultConfigHome() : configHome)
                 + QStringLiteral("/autostart/com.tarnwick.Tarnwick.desktop"))
    , m_executable(executable.isEmpty() ? QCoreApplication::applicationFilePath() : std::move(executable))
{
}

bool XdgAutostart::isEnabled() const
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith("Hidden=") && line.mid(7).trimmed() == "true")
            return false;
    }
    return true;
}

std::optional<QString> XdgAutostart::setEnabled(bool enabled)
{
    if (!enabled) {
        QFile file(m_filePath);
        if (file.exists() && !file.remove())
            return file.errorString();
        return std::nullopt;
    }
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return file.errorString();
    file.write(entry());
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

QByteArray XdgAutostart::entry() const
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Tarnwick\n"
                             "Comment=Keeps every screenshot you take at hand.\n"
                             "Icon=com.tarnwick.Tarnwick\n")
        + "Exec=" + quoted(m_executable).toUtf8() + "\n"
        + QByteArrayLiteral("Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n");
}
