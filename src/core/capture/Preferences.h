#pragma once

#include "capture/PreferencesWriter.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

// The user's preferences: an INI file with the history and the capture switches.
// Values of the wrong type read as their default, so a hand-edited or damaged
// file never stops the program; a file damaged as a whole gives way to the
// defaults, with one warning. Values are read from memory, read again when the
// file changed on disk; a change shows at once and reaches the file on the
// writer's thread, so the disk never holds up the caller. Main thread only.
class Preferences
{
public:
    static constexpr const char *historyKey = "tarnwick.history.urls";
    static constexpr const char *clipboardCaptureEnabledKey = "clipboardCaptureEnabled";
    static constexpr const char *clipboardScreenshotsOnlyKey = "clipboardScreenshotsOnly";
    static constexpr const char *saveLocalCopiesKey = "saveLocalCopies";
    static constexpr const char *imgurClientIdKey = "imgurClientID";
    static constexpr const char *textIndexEnabledKey = "textIndexEnabled";

    explicit Preferences(const QString &filePath);
    // $XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf
    static QString standardFilePath();

    QString filePath() const { return m_filePath; }

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
    bool isTextIndexEnabled() const { return boolValue(textIndexEnabledKey, true); }

    // Waits until every change made so far is in the file, or failed to get there.
    void waitForWrites() const;

private:
    QVariant value(const char *key) const;
    void setValue(const char *key, const QVariant &value);
    void load() const;
    // Reads the file again when it changed since, unless changes of ours
    // are still on their way to it: those are newer.
    void reloadIfChanged() const;

    QString m_filePath;
    mutable QHash<QString, QVariant> m_values;
    mutable PreferencesWriter::Stamp m_loaded;
    PreferencesWriter m_writer;
};
