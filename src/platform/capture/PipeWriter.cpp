#include "capture/PipeWriter.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

PipeWriter::PipeWriter(int fd, const QFuture<QByteArray> &bytes, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    m_stall.setSingleShot(true);
    m_stall.setInterval(stallTimeout);
    connect(&m_stall, &QTimer::timeout, this, &PipeWriter::finish);
    m_stall.start();
    QFuture<QByteArray>(bytes).then(this, [this](const QByteArray &encoded) { start(encoded); });
}

PipeWriter::~PipeWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeWriter::start(const QByteArray &bytes)
{
    if (m_fd < 0)
        return;  // given up on while the bytes were being made
    m_bytes = bytes;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeWriter::writeSome);
    writeSome();
}

void PipeWriter::writeSome()
{
    while (m_written < m_bytes.size()) {
        const ssize_t wrote = ::write(m_fd, m_bytes.constData() + m_written, size_t(m_bytes.size() - m_written));
        if (wrote > 0) {
            m_written += wrote;
            m_stall.start();
        } else if (wrote < 0 && errno == EAGAIN) {
            return;  // the notifier tells when the reader has made room
        } else if (!(wrote < 0 && errno == EINTR)) {
            break;  // the reader went away
        }
    }
    finish();
}

void PipeWriter::finish()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
    m_stall.stop();
    ::close(m_fd);
    m_fd = -1;
    deleteLater();
}
