#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace StressSupport {

// A figure of this process's memory in KiB, from /proc/self/status ("VmRSS",
// "VmHWM", ...); -1 when it cannot be read.
inline qint64 memoryKiB(const QByteArray &field = "VmRSS")
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Ticks on the main thread every 5 ms from construction: the longest gap
// between two ticks is how long the event loop was kept from running.
class StallProbe
{
public:
    StallProbe()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, &m_tick,
                         [this] { m_longest = std::max(m_longest, m_sinceTick.restart()); });
        m_sinceTick.start();
        m_tick.start(5);
    }
    // A stall still going on counts too.
    qint64 longestStallMs() const { return std::max(m_longest, m_sinceTick.elapsed()); }

private:
    QElapsedTimer m_sinceTick;
    QTimer m_tick;
    qint64 m_longest = 0;
};

// Threads that spin until destroyed, so the code under test competes for
// every core.
class BusyCores
{
public:
    explicit BusyCores(int threads)
    {
        for (int i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { while (m_busy.load(std::memory_order_relaxed)) {} });
    }
    ~BusyCores()
    {
        m_busy = false;
        for (std::thread &thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_busy{true};
    std::vector<std::thread> m_threads;
};

}  // namespace StressSupport
