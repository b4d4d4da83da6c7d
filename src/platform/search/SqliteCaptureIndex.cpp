#include "search/SqliteCaptureIndex.h"

#include "search/SearchHighlight.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <sqlite3.h>

Q_LOGGING_CATEGORY(lcIndex, "tarnwick.index", QtInfoMsg)

namespace {

// Raised whenever the tables change shape: an older file is then made anew.
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 2000;

const char *const kSchema =
    "BEGIN;"
    "CREATE TABLE captures(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE,"
    " size INTEGER NOT NULL, modified INTEGER NOT NULL);"
    "CREATE VIRTUAL TABLE words USING fts5(text, codes, tokenize = 'unicode61 remove_diacritics 2');"
    "PRAGMA user_version = 1;"
    "COMMIT;";

class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (db)
            sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, qint64 value)
    {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    // True while a row is there to read.
    bool next() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_ROW; }
    bool run() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_DONE; }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

bool exec(sqlite3 *db, const char *sql)
{
    return db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Each word as a quoted prefix, all required, split as the tokenizer splits
// text. Only word characters reach the quotes, so no input can change the
// query's syntax.
QString matchExpression(const QString &words)
{
    QStringList terms;
    QString word;
    for (const QChar c : words + QLatin1Char(' ')) {
        if (SearchHighlight::isWordCharacter(c)) {
            word += c;
        } else if (!word.isEmpty()) {
            terms << QLatin1Char('"') + word + QStringLiteral("\"*");
            word.clear();
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

}  // namespace

SqliteCaptureIndex::SqliteCaptureIndex(QString filePath)
    : m_filePath(std::move(filePath))
{
}

SqliteCaptureIndex::~SqliteCaptureIndex()
{
    close();
}

QString SqliteCaptureIndex::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/Tarnwick/index.sqlite");
}

bool SqliteCaptureIndex::open()
{
    const std::lock_guard lock(m_mutex);
    close();
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QByteArray path = QFile::encodeName(m_filePath);
        if (sqlite3_open_v2(path.constData(), &m_db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr)
            == SQLITE_OK) {
            sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
            const State state = inspect();
            if (state == State::usable && exec(m_db, "PRAGMA synchronous = NORMAL;"))
                return true;
            if (state == State::empty && exec(m_db, "PRAGMA journal_mode = WAL;") && createSchema())
                return true;
        }
        // Said once: the file is made anew and is whole the next time.
        if (attempt == 0)
            qCWarning(lcIndex).noquote() << "the search index" << m_filePath
                                         << "is damaged or of another version; building it again";
        close();
        deleteFiles();
    }
    return false;
}

std::optional<QString> SqliteCaptureIndex::openReadOnly()
{
    const std::lock_guard lock(m_mutex);
    close();
    if (!QFileInfo(m_filePath).isFile())
        return QStringLiteral("no search index yet");
    const QByteArray path = QFile::encodeName(m_filePath);
    if (sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (inspect() == State::usable)
            return std::nullopt;
    }
    close();
    return QStringLiteral("the search index cannot be read: %1").arg(m_filePath);
}

void SqliteCaptureIndex::destroy()
{
    const std::lock_guard lock(m_mutex);
    close();
    deleteFiles();
}

SqliteCaptureIndex::State SqliteCaptureIndex::inspect() const
{
    Statement version(m_db, "PRAGMA user_version;");
    if (!version.next())
        return State::foreign;  // not a database at all
    if (version.integer(0) == 0) {
        Statement tables(m_db, "SELECT count(*) FROM sqlite_master;");
        return tables.next() && tables.integer(0) == 0 ? State::empty : State::foreign;
    }
    if (version.integer(0) != kSchemaVersion)
        return State::foreign;
    Statement check(m_db, "PRAGMA quick_check;");
    return check.next() && check.text(0) == QLatin1String("ok") ? State::usable : State::foreign;
}

bool SqliteCaptureIndex::createSchema()
{
    static_assert(kSchemaVersion == 1, "the schema's user_version must follow kSchemaVersion");
    if (exec(m_db, kSchema))
        return true;
    exec(m_db, "ROLLBACK;");
    return false;
}

void SqliteCaptureIndex::close()
{
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SqliteCaptureIndex::deleteFiles() const
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(m_filePath + QLatin1String(suffix));
}

void SqliteCaptureIndex::upsert(const IndexedCapture &capture)
{
    const std::lock_guard lock(m_mutex);
    if (!exec(m_db, "BEGIN IMMEDIATE;"))
        return;
    Statement existing(m_db, "SELECT id FROM captures WHERE path = ?1;");
    std::optional<qint64> id;
    if (existing.bind(1, capture.path).next())
        id = existing.integer(0);
    bool done = true;
    if (id) {
        done = Statement(m_db, "DELETE FROM words WHERE rowid = ?1;").bind(1, *id).run()
            && Statement(m_db, "UPDATE captures SET size = ?2, modified = ?3 WHERE id = ?1;")
                   .bind(1, *id)
                   .bind(2, capture.identity.size)
                   .bind(3, capture.identity.modifiedMs)
                   .run();
    } else {
        done = Statement(m_db, "INSERT INTO captures(path, size, modified) VALUES(?1, ?2, ?3);")
                   .bind(1, capture.path)
                   .bind(2, capture.identity.size)
                   .bind(3, capture.identity.modifiedMs)
                   .run();
        id = sqlite3_last_insert_rowid(m_db);
    }
    done = done
        && Statement(m_db, "INSERT INTO words(rowid, text, codes) VALUES(?1, ?2, ?3);")
               .bind(1, *id)
               .bind(2, capture.text)
               .bind(3, capture.codes.join(QLatin1Char('\n')))
               .run();
    exec(m_db, done ? "COMMIT;" : "ROLLBACK;");
}

void SqliteCaptureIndex::remove(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    if (!exec(m_db, "BEGIN IMMEDIATE;"))
        return;
    const bool done =
        Statement(m_db, "DELETE FROM words WHERE rowid IN (SELECT id FROM captures WHERE path = ?1);")
            .bind(1, path)
            .run()
        && Statement(m_db, "DELETE FROM captures WHERE path = ?1;").bind(1, path).run();
    exec(m_db, done ? "COMMIT;" : "ROLLBACK;");
}

void SqliteCaptureIndex::clear()
{
    const std::lock_guard lock(m_mutex);
    exec(m_db, "BEGIN IMMEDIATE; DELETE FROM words; DELETE FROM captures; COMMIT;");
}

QList<CaptureHit> SqliteCaptureIndex::search(const QString &words) const
{
    const QString expression = matchExpression(words);
    QList<CaptureHit> hits;
    if (expression.isEmpty())
        return hits;
    const std::lock_guard lock(m_mutex);
    Statement query(m_db,
                    "SELECT c.path, snippet(words, -1, '', '', '…', 12) FROM words"
                    " JOIN captures c ON c.id = words.rowid WHERE words MATCH ?1"
                    " ORDER BY c.modified DESC, c.id DESC;");
    query.bind(1, expression);
    while (query.next())
        hits.append({query.text(0), query.text(1).simplified()});
    return hits;
}

std::optional<QString> SqliteCaptureIndex::textOf(const QString &path, const FileIdentity &identity) const
{
    const std::lock_guard lock(m_mutex);
    Statement query(m_db,
                    "SELECT w.text FROM captures c JOIN words w ON w.rowid = c.id"
                    " WHERE c.path = ?1 AND c.size = ?2 AND c.modified = ?3;");
    if (query.bind(1, path).bind(2, identity.size).bind(3, identity.modifiedMs).next())
        return query.text(0);
    return std::nullopt;
}

QStringList SqliteCaptureIndex::paths() const
{
    const std::lock_guard lock(m_mutex);
    Statement query(m_db, "SELECT path FROM captures;");
    QStringList paths;
    while (query.next())
        paths << query.text(0);
    return paths;
}
