#pragma once

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QTimer>

#include <chrono>

class QSocketNotifier;

// Hands one reader our clipboard bytes through the pipe it gave us, without
// ever blocking the thread it lives on: the pipe is filled as fast as the
// reader empties it, so several readers and data larger than a pipe holds
// are served side by side. A reader that stops taking bytes is given up on.
// Deletes itself when done.
class PipeWriter : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds stallTimeout{10000};

    // Takes the write end; the bytes may still be being encoded.
    PipeWriter(int fd, const QFuture<QByteArray> &bytes, QObject *parent);
    ~PipeWriter() override;

private:
    void start(const QByteArray &bytes);
    void writeSome();
    void finish();

    int m_fd;
    QByteArray m_bytes;
    qint64 m_written = 0;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_stall;
};
