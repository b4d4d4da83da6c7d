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

void InotifyFolderWatcher::readEvents()
{
    alignas(inotify_event) char buffer[16 * 1024];
    bool changedSeen = false;
    bool lost = false;
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                changedSeen = true;  // events were lost: a fresh listing tells the truth
                continue;
            }
            if (event->wd != m_wd)
                continue;  // left over from an earlier watch
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                lost = true;
                continue;
            }
            if ((event->mask & IN_CREATE) && event->len > 0)
                Q_EMIT entryCreated(QFile::decodeName(event->name));
            if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM))
                changedSeen = true;
        }
    }
    if (changedSeen)
        Q_EMIT changed();
    if (lost && m_wd >= 0) {
        unwatch();
        Q_EMIT folderLost();
    }
}
