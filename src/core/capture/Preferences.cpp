#include "capture/Preferences.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

Q_LOGGING_CATEGORY(lcPreferences, "tarnwick.preferences", QtInfoMsg)

namespace {
// QSettings reads almost anything as INI without complaint, so damage shows
// as what it never writes: a NUL byte, bytes that are not UTF-8, a broken
// section header.
bool isDamaged(const QString &filePath, QSettings::Status status)
{
    if (status == QSettings::FormatError)
        return true;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = utf8(bytes);
    return bytes.contains('\0') || utf8.hasError();
}

// A folder or a named pipe in the file's place is moved aside like a damaged
// file, so the settings are written afresh; said once.
void setAsideWhatIsNoFile(const QString &filePath)
{
    if (PreferencesWriter::fileOrNothingAt(filePath))
        return;
    const QString kept = filePath + QStringLiteral(".damaged");
    QFile::remove(kept);
    const bool keptAside = QDir().rename(filePath, kept);
    qCWarning(lcPreferences).noquote()
        << "the preferences file" << filePath << "is damaged; starting with the default settings"
        << (keptAside ? QStringLiteral("(it is not a file; moved aside as %1)").arg(kept)
                      : QStringLiteral("(it is not a file and cannot be moved aside; settings will not be saved)"));
}

}  // namespace

Preferences::Preferences(const QString &filePath)
    : m_filePath(filePath)
    , m_writer(filePath)
{
    PreferencesWriter::waitForAll();  // another object's last changes to the file land first
    setAsideWhatIsNoFile(filePath);
    if (PreferencesWriter::fileOrNothingAt(filePath)) {
        QSettings settings(filePath, QSettings::IniFormat);
        if (isDamaged(filePath, settings.status())) {
            // Said once: the file is written afresh, so the next launch finds
            // it whole. Its bytes are kept aside, so nothing is lost for good.
            const QString kept = filePath + QStringLiteral(".damaged");
            QFile::remove(kept);
            const bool keptAside = QFile::copy(filePath, kept);
            qCWarning(lcPreferences).noquote()
                << "the preferences file" << filePath << "is damaged; starting with the default settings"
                << (keptAside ? QStringLiteral("(the damaged file is kept as %1)").arg(kept) : QString());
            settings.clear();
            settings.sync();
        }
    }
    load();
}

QString Preferences::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Tarnwick/Tarnwick.conf");
}

void Preferences::load() const
{
    m_loaded = PreferencesWriter::Stamp::of(m_filePath);
    m_values.clear();
    if (!PreferencesWriter::fileOrNothingAt(m_filePath))
        return;
    const QSettings settings(m_filePath, QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        m_values.insert(key, settings.value(key));
}

void Preferences::reloadIfChanged() const
{
    if (m_writer.idle() && PreferencesWriter::Stamp::of(m_filePath) != m_loaded)
        load();
}

QVariant Preferences::value(const char *key) const
{
    reloadIfChanged();
    return m_values.value(QLatin1String(key));
}

void Preferences::setValue(const char *key, const QVariant &value)
{
    reloadIfChanged();  // an edit made on disk meanwhile is not overwritten in memory
    m_values.insert(QLatin1String(key), value);
    m_writer.write(QLatin1String(key), value);
}

void Preferences::waitForWrites() const
{
    PreferencesWriter::waitForAll();
}

bool Preferences::hasHistory() const
{
    reloadIfChanged();
    return m_values.contains(QLatin1String(historyKey));
}

QStringList Preferences::historyPaths() const
{
    const QVariant stored = value(historyKey);
    // INI stores a one-element list as a plain string.
    if (stored.typeId() == QMetaType::QString)
        return stored.toString().isEmpty() ? QStringList() : QStringList{stored.toString()};
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList();
    QStringList paths;
    if (stored.typeId() == QMetaType::QVariantList) {
        for (const QVariant &entry : stored.toList()) {
            if (entry.typeId() == QMetaType::QString)
                paths << entry.toString();
        }
    }
    return paths;
}

void Preferences::setHistoryPaths(const QStringList &paths)
{
    setValue(historyKey, paths);
}

bool Preferences::boolValue(const char *key, bool fallback) const
{
    const QVariant stored = value(key);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString().trimmed().toLower();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return fallback;
}

void Preferences::setBool(const char *key, bool value)
{
    setValue(key, value);
}

QString Preferences::stringValue(const char *key) const
{
    const QVariant stored = value(key);
    return stored.typeId() == QMetaType::QString ? stored.toString().trimmed() : QString();
}

void Preferences::setString(const char *key, const QString &value)
{
    setValue(key, value);
}
