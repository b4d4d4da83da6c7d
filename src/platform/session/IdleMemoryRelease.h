#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

// Hands the allocator's free pages back to the system once the program has
// been quiet for a while. A burst of captures leaves the heap full of holes
// that glibc keeps until the process ends, and a program that sits in the
// tray all day should not carry a burst's peak for the rest of the session.
class IdleMemoryRelease : public QObject
{
    Q_OBJECT

public:
    explicit IdleMemoryRelease(std::chrono::milliseconds quietPeriod = std::chrono::seconds(3),
                               QObject *parent = nullptr);

    // Work happened: release once the quiet period has passed after the last call.
    void activity();

private:
    QTimer m_quiet;
};
