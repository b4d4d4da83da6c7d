#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Which version of a file a row describes: a capture whose size or
// modification time differs is read again.
struct FileIdentity {
    qint64 size = -1;
    qint64 modifiedMs = 0;  // modification time, milliseconds since the epoch

    // None when path is no readable file.
    static std::optional<FileIdentity> of(const QString &path);
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// One row: what was read in one capture file.
struct IndexedCapture {
    QString path;
    FileIdentity identity;
    QString text;        // the recognised lines joined by line feeds, as Copy Text copies them
    QStringList codes;   // code payloads; empty when none or not scanned
};

struct CaptureHit {
    QString path;
    QString snippet;  // one line of text around the matched words
};

// The text read in every capture, for finding a capture by its words. A
// cache: losing it costs only the time to read the captures again. Safe to
// call from several threads; calls made before the index is open find
// nothing and keep nothing.
class CaptureIndex
{
public:
    virtual ~CaptureIndex() = default;

    // Makes the index usable, creating it when missing. Blocking: off the
    // main thread. False when it cannot be kept at all.
    virtual bool open() = 0;
    // Closes the index and deletes what it kept.
    virtual void destroy() = 0;
    virtual void upsert(const IndexedCapture &capture) = 0;
    virtual void remove(const QString &path) = 0;
    virtual void clear() = 0;
    // Captures holding every word, each word matched as the start of a word
    // in any case and with accents ignored; newest file first.
    virtual QList<CaptureHit> search(const QString &words) const = 0;
    // The stored text of path when its row describes this identity.
    virtual std::optional<QString> textOf(const QString &path, const FileIdentity &identity) const = 0;
    virtual QStringList paths() const = 0;

    bool isIndexed(const QString &path, const FileIdentity &identity) const
    {
        return textOf(path, identity).has_value();
    }
};
