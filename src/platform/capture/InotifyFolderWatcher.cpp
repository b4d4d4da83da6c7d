#include "capture/InotifyFolderWatcher.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

Q_LOGGING_CATEGORY(lcWatch, "tarnwick.watch", QtInfoMsg)

namespace {
constexpr uint32_t watchMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
}

InotifyFolderWatcher::InotifyFolderWatcher(QObject *parent)
    : FolderWatcher(parent)
{
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) {
        qCWarning(lcWatch) << "inotify_init1 failed:" << std::strerror(errno);
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InotifyFolderWatcher::readEvents);
}

InotifyFolderWatcher::~InotifyFolderWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InotifyFolderWatcher::watch(const QString &folder)
{
    unwatch();
    if (m_fd < 0)
        return false;
    m_wd = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), watchMask);
    return m_wd >= 0;
}

void InotifyFolderWatcher::unwatch()
{
    if (m_wd >= 0)
        inotify_rm_watch(m_fd, m_wd);
    m_wd = -1;
}

InotifyFolderWatcher::Events InotifyFolderWatcher::read()
{
    alignas(inotify_event) char buffer[16 * 1024];
    Events events;
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                events.changed = true;  // events were lost: a fresh listing tells the truth
                continue;
            }
            if (event->wd != m_wd)
                continue;  // left over from an earlier watch
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                events.lost = true;
                continue;
            }
            const QString name = event->len > 0 ? QFile::decodeName(event->name) : QString();
            if ((event->mask & (IN_CREATE | IN_MOVED_TO)) && !name.isEmpty())
                events.arrived.insert(name);
            if ((event->mask & IN_CREATE) && !name.isEmpty())
                Q_EMIT entryCreated(name);
            if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM))
                events.changed = true;
        }
    }
    return events;
}

void InotifyFolderWatcher::readEvents()
{
    const Events events = read();
    if (events.changed)
        Q_EMIT changed();
    if (events.lost && m_wd >= 0) {
        unwatch();
        Q_EMIT folderLost();
    }
}

QSet<QString> InotifyFolderWatcher::takeArrivals()
{
    if (m_fd < 0)
        return {};
    const Events events = read();
    // The caller is in the middle of a listing: the signals come after it,
    // and the entries that appeared meanwhile are listed once more then.
    if (events.changed || !events.arrived.isEmpty())
        QMetaObject::invokeMethod(this, &FolderWatcher::changed, Qt::QueuedConnection);
    if (events.lost && m_wd >= 0) {
        unwatch();
        QMetaObject::invokeMethod(this, &FolderWatcher::folderLost, Qt::QueuedConnection);
    }
    return events.arrived;
}
