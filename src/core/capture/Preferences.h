#pragma once

#include <QSettings>
#include <QStringList>

// The user's preferences: an INI file with the history and the capture switches.
// Values of the wrong type read as their default, so a hand-edited or damaged
// file never stops the program. Main thread only.
class Preferences
{
public:
    static constexpr const char *historyKey = "tarnwick.history.urls";
    static constexpr const char *clipboardCaptureEnabledKey = "clipboardCaptureEnabled";
    static constexpr const char *clipboardScreenshotsOnlyKey = "clipboardScreenshotsOnly";
    static constexpr const char *saveLocalCopiesKey = "saveLocalCopies";
    static constexpr const char *imgurClientIdKey = "imgurClientID";

    explicit Preferences(const QString &filePath);
    // $XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf
    static QString standardFilePath();

    QString filePath() const { return m_settings.fileName(); }

    // Absent means no history; entries that are not text are skipped.
    bool hasHistory() const;
    QStringList historyPaths() const;
    void setHistoryPaths(const QStringList &paths);

    bool boolValue(const char *key, bool fallback) const;
    void setBool(const char *key, bool value);
    // Trimmed text; empty when absent or not text.
    QString stringValue(const char *key) const;
    void setString(const char *key, const QString &value);

    bool isClipboardCaptureEnabled() const { return boolValue(clipboardCaptureEnabledKey, true); }
    bool clipboardScreenshotsOnly() const { return boolValue(clipboardScreenshotsOnlyKey, true); }
    bool saveLocalCopies() const { return boolValue(saveLocalCopiesKey, false); }

private:
    mutable QSettings m_settings;
};
