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

// Ticks on the main thread every 5 ms and keeps the longest gap between two
// ticks: how long the event loop was kept from running.
class MainThreadWatchdog
{
public:
    MainThreadWatchdog()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        m_longest = m_last = 0;
        m_clock.start();
        m_timer.start();
    }
    void stop()
    {
        tick();  // a stall that is still going on counts too
        m_timer.stop();
    }
    qint64 longestGapMs() const { return m_longest; }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

}  // namespace StressSupport
