#include "capture/PipeReader.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace PipeReader {

namespace {
Result readUntilClosed(int fd, qint64 maxBytes, const QDeadlineTimer &deadline)
{
    Result result;
    char chunk[65536];
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return {{}, polled == 0 ? Failure::timedOut : Failure::broken};
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0)
            return {{}, Failure::broken};
        if (got == 0)
            return result;
        if (result.data.size() + got > maxBytes)
            return {{}, Failure::tooLarge};
        result.data.append(chunk, got);
    }
}
}  // namespace

Result readAll(int fd, qint64 maxBytes, int timeoutMs)
{
    Result result = readUntilClosed(fd, maxBytes, QDeadlineTimer(timeoutMs));
    ::close(fd);
    return result;
}

}  // namespace PipeReader
