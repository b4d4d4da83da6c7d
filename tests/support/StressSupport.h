#pragma once

#include <QFile>

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

}  // namespace StressSupport
