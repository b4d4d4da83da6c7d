#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

// Helpers of the stress tests: load on every core, the main thread's
// responsiveness, and resident memory.
namespace StressSupport {

// Resident memory of a process (this one by default) in KiB, from /proc; -1
// when it cannot be read.
qint64 residentKiB(qint64 pid = 0);

// Threads that spin until destroyed, so the code under test competes for
// every core.
class BusyCores
{
public:
    explicit BusyCores(int threads);
    ~BusyCores();

private:
    std::atomic<bool> m_busy{true};
    std::vector<std::thread> m_threads;
};

// Ticks on the main thread and keeps the longest gap between two ticks: how
// long the event loop was kept from running.
class MainThreadWatchdog : public QObject
{
    Q_OBJECT
public:
    explicit MainThreadWatchdog(std::chrono::milliseconds tick = std::chrono::milliseconds(5));
    void start();
    void stop();
    qint64 longestGapMs() const { return m_longest; }

private:
    void tick();
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

}  // namespace StressSupport
