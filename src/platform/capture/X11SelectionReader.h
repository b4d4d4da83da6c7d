#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// Reads the CLIPBOARD selection in one target over a connection of its own,
// so it can run on a worker thread while the main thread goes on. Large
// selections arrive in pieces (the INCR protocol); reading stops as soon as
// more than maxBytes came in.
namespace X11SelectionReader {

enum class Failure { noDisplay, refused, tooLarge, timedOut };

struct Result {
    QByteArray data;
    std::optional<Failure> failure;
};

struct Targets {
    QList<QByteArray> names;  // atom names, as the owner listed them
    std::optional<Failure> failure;
};

// Blocking; safe on any thread.
Result read(const QByteArray &target, qint64 maxBytes, int timeoutMs = 5000);
// The owner's TARGETS: what it offers. An owner that never answers costs
// the timeout, on the calling thread only.
Targets targets(int timeoutMs);

}  // namespace X11SelectionReader
