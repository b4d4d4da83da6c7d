#include "StressSupport.h"

#include <QFile>

namespace StressSupport {

qint64 residentKiB(qint64 pid)
{
    QFile status(pid > 0 ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

BusyCores::BusyCores(int threads)
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] {
            while (m_busy.load(std::memory_order_relaxed)) {
            }
        });
}

BusyCores::~BusyCores()
{
    m_busy = false;
    for (std::thread &thread : m_threads)
        thread.join();
}

MainThreadWatchdog::MainThreadWatchdog(std::chrono::milliseconds tick)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(tick);
    connect(&m_timer, &QTimer::timeout, this, &MainThreadWatchdog::tick);
}

void MainThreadWatchdog::start()
{
    m_longest = 0;
    m_clock.start();
    m_last = 0;
    m_timer.start();
}

void MainThreadWatchdog::stop()
{
    tick();  // a stall that is still going on counts too
    m_timer.stop();
}

void MainThreadWatchdog::tick()
{
    const qint64 now = m_clock.elapsed();
    m_longest = std::max(m_longest, now - m_last);
    m_last = now;
}

}  // namespace StressSupport
