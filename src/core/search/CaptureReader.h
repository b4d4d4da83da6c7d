#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the index keeps of one capture file.
struct CaptureContent {
    QString text;       // the recognised lines joined by line feeds, as Copy Text copies them
    QStringList codes;  // code payloads; empty when none or not scanned
};

// Reads what a capture file says, for the indexer. Blocking, on the
// indexer's thread; whatever a reader keeps for a thread (an engine, a
// process) goes when that thread ends.
class CaptureReader
{
public:
    virtual ~CaptureReader() = default;
    // None when the file is no image that can be read, or its text cannot be
    // recognised.
    virtual std::optional<CaptureContent> read(const QString &path) const = 0;
};
