#pragma once

#include <atomic>

// Marks work the user is waiting for (Copy Text, a code scan, a capture being
// built) for as long as it runs, so that background work started by nobody
// in particular, like indexing the captures' text, keeps out of its way. The
// marker is process-wide because the two sides share no object.
class InteractiveWork
{
public:
    InteractiveWork() { s_running.fetch_add(1, std::memory_order_relaxed); }
    ~InteractiveWork() { s_running.fetch_sub(1, std::memory_order_relaxed); }
    InteractiveWork(const InteractiveWork &) = delete;
    InteractiveWork &operator=(const InteractiveWork &) = delete;

    static bool isRunning() { return s_running.load(std::memory_order_relaxed) > 0; }

private:
    static inline std::atomic<int> s_running{0};
};
