#include "capture/Preferences.h"

#include <QStandardPaths>

Preferences::Preferences(const QString &filePath)
    : m_settings(filePath, QSettings::IniFormat)
{
}

QString Preferences::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Tarnwick/Tarnwick.conf");
}

bool Preferences::hasHistory() const
{
    m_settings.sync();
    return m_settings.contains(QLatin1String(historyKey));
}

QStringList Preferences::historyPaths() const
{
    m_settings.sync();
    const QVariant value = m_settings.value(QLatin1String(historyKey));
    // INI stores a one-element list as a plain string.
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty() ? QStringList() : QStringList{value.toString()};
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    QStringList paths;
    if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant &entry : value.toList()) {
            if (entry.typeId() == QMetaType::QString)
                paths << entry.toString();
        }
    }
    return paths;
}

void Preferences::setHistoryPaths(const QStringList &paths)
{
    m_settings.setValue(QLatin1String(historyKey), paths);
    m_settings.sync();
}

bool Preferences::boolValue(const char *key, bool fallback) const
{
    m_settings.sync();
    const QVariant value = m_settings.value(QLatin1String(key));
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return fallback;
}

void Preferences::setBool(const char *key, bool value)
{
    m_settings.setValue(QLatin1String(key), value);
    m_settings.sync();
}

QString Preferences::stringValue(const char *key) const
{
    m_settings.sync();
    const QVariant value = m_settings.value(QLatin1String(key));
    return value.typeId() == QMetaType::QString ? value.toString().trimmed() : QString();
}

void Preferences::setString(const char *key, const QString &value)
{
    m_settings.setValue(QLatin1String(key), value);
    m_settings.sync();
}
