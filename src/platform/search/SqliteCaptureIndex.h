#pragma once

#include "search/CaptureIndex.h"

#include <mutex>
#include <optional>

struct sqlite3;

// The capture index in one SQLite file with an FTS5 table, tokenised by
// unicode61 with diacritics removed, so that a search ignores case and
// accents. Written against libsqlite3 itself rather than Qt SQL: a search
// from the command line needs a read-only open, the damaged-file check needs
// SQLite's own error codes, and one connection serialised by SQLite is shared
// by the indexer's thread and the main thread, which Qt SQL's per-thread
// connections do not allow. Debian's libsqlite3 is built with FTS5.
class SqliteCaptureIndex : public CaptureIndex
{
public:
    explicit SqliteCaptureIndex(QString filePath);
    ~SqliteCaptureIndex() override;

    // $XDG_CACHE_HOME/Tarnwick/index.sqlite
    static QString standardFilePath();
    QString filePath() const { return m_filePath; }

    // Opens the file, creating it when missing. One that is damaged or of
    // another schema is deleted and made anew, with one warning. Blocking:
    // call it off the main thread. False only when no file can be made.
    bool open() override;
    // Opens an existing index for reading only; what is wrong when it cannot.
    std::optional<QString> openReadOnly();
    // Closes the index and deletes its files.
    void destroy() override;

    void upsert(const IndexedCapture &capture) override;
    void remove(const QString &path) override;
    void clear() override;
    QList<CaptureHit> search(const QString &words) const override;
    std::optional<QString> textOf(const QString &path, const FileIdentity &identity) const override;
    QStringList paths() const override;

private:
    enum class State { usable, empty, foreign };
    State inspect() const;
    bool createSchema();
    void close();
    void deleteFiles() const;

    QString m_filePath;
    mutable std::mutex m_mutex;
    sqlite3 *m_db = nullptr;
};
