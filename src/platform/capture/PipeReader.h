#pragma once

#include <QByteArray>

#include <optional>

// Reads what another program writes into a pipe, on the calling thread,
// until it closes its end. Bounded in size and time, so an owner that never
// writes, never closes or sends too much costs no more than the limits.
namespace PipeReader {

enum class Failure { tooLarge, timedOut, broken };

struct Result {
    QByteArray data;
    std::optional<Failure> failure;
};

// Takes the read end and always closes it. Blocking; safe on any thread.
Result readAll(int fd, qint64 maxBytes, int timeoutMs);

}  // namespace PipeReader
