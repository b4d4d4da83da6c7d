#pragma once

#include <QByteArray>

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

// Blocking; safe on any thread.
Result read(const QByteArray &target, qint64 maxBytes, int timeoutMs = 5000);

}  // namespace X11SelectionReader
