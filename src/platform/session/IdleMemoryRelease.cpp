#include "session/IdleMemoryRelease.h"

#include <malloc.h>

IdleMemoryRelease::IdleMemoryRelease(std::chrono::milliseconds quietPeriod, QObject *parent)
    : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(quietPeriod);
    connect(&m_quiet, &QTimer::timeout, this, [] { malloc_trim(0); });
}

void IdleMemoryRelease::activity()
{
    m_quiet.start();
}
