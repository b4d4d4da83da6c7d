#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

// Puts changed preferences into their INI file off the caller's thread: a
// write waits for the disk to confirm it, and the history changes with every
// capture. Writes run one at a time on a thread the whole process shares, in
// the order they were asked for; changes made meanwhile go out together in the
// next. A write that fails (a full disk) keeps its changes for the next one.
class PreferencesWriter
{
public:
    // Tells one version of the file from another, as QSettings does.
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp &) const = default;
        static Stamp of(const QString &filePath);
    };

    // A regular file or nothing at filePath: QSettings would wait forever on
    // a named pipe there, and can save nothing into a folder.
    static bool fileOrNothingAt(const QString &filePath);

    explicit PreferencesWriter(const QString &filePath);
    // Writes what is still waiting, once more, and waits for it.
    ~PreferencesWriter();
    PreferencesWriter(const PreferencesWriter &) = delete;
    PreferencesWriter &operator=(const PreferencesWriter &) = delete;

    void write(const QString &key, const QVariant &value);
    // Nothing waiting or being written: the file holds every change.
    bool idle() const;
    // Waits until every write asked for in this process is done.
    static void waitForAll();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
