#include "search/ChildProcessCaptureReader.h"

#include "common/UserImageFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

extern char **environ;

namespace {

// A page takes about a second; a child that takes this long is stuck.
constexpr std::chrono::milliseconds kReplyTimeout{120000};

std::atomic<int> g_children{0};

// One reader process and the socket to it.
class Child
{
public:
    // Null when program cannot be started.
    static std::unique_ptr<Child> spawn(const QString &program)
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            return {};
        // Started without standard streams, this process may be handed their
        // numbers here, and a descriptor moved onto itself would keep its
        // close-on-exec flag.
        if (fds[1] <= STDERR_FILENO) {
            const int moved = fcntl(fds[1], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
            ::close(fds[1]);
            fds[1] = moved;
        }
        if (fds[1] < 0) {
            ::close(fds[0]);
            return {};
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        QByteArray file = QFile::encodeName(program);
        char option[] = "--read-captures";
        char *argv[] = {file.data(), option, nullptr};
        pid_t pid = -1;
        const int error = posix_spawn(&pid, file.constData(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (error != 0) {
            ::close(fds[0]);
            return {};
        }
        return std::unique_ptr<Child>(new Child(program, pid, fds[0]));
    }

    // The end of its input tells the child to exit.
    ~Child()
    {
        ::close(m_fd);
        if (m_pid > 0)
            waitpid(m_pid, nullptr, 0);
        g_children.fetch_sub(1, std::memory_order_relaxed);
    }

    const QString program;

    struct Answer {
        std::optional<QByteArray> line;  // none: the child went away or is stuck, which ends it
        bool delivered = false;          // false: it had gone before it was asked
    };

    Answer ask(const QByteArray &request)
    {
        for (qsizetype sent = 0; sent < request.size();) {
            const ssize_t n = ::send(m_fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return {failed(), sent > 0};
            sent += n;
        }
        const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
        while (!m_received.contains('\n')) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd readable{m_fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&readable, 1, int(left.count())) <= 0)
                return {failed(), true};
            char buffer[16384];
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return {failed(), true};
            m_received.append(buffer, n);
        }
        const qsizetype end = m_received.indexOf('\n');
        Answer answer{m_received.left(end), true};
        m_received.remove(0, end + 1);
        return answer;
    }

private:
    Child(QString started, pid_t pid, int fd)
        : program(std::move(started))
        , m_pid(pid)
        , m_fd(fd)
    {
        g_children.fetch_add(1, std::memory_order_relaxed);
    }

    std::nullopt_t failed()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGKILL);
        return std::nullopt;
    }

    pid_t m_pid;
    int m_fd;
    QByteArray m_received;
};

QByteArray request(const QString &path)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("path"), path}}).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<CaptureContent> content(const QByteArray &answer)
{
    const QJsonObject object = QJsonDocument::fromJson(answer).object();
    const QJsonValue text = object.value(QStringLiteral("text"));
    if (!text.isString())
        return std::nullopt;
    CaptureContent content{text.toString(), {}};
    for (const QJsonValue &code : object.value(QStringLiteral("codes")).toArray())
        content.codes << code.toString();
    return content;
}

QByteArray answer(const CaptureReader &reader, const std::string &line)
{
    const QString path =
        QJsonDocument::fromJson(QByteArray::fromStdString(line)).object().value(QStringLiteral("path")).toString();
    QJsonObject object;
    // Never a named pipe or the like: it would hold the child for good.
    if (!path.isEmpty() && UserImageFile::problem(path).isEmpty()) {
        if (const std::optional<CaptureContent> read = reader.read(path)) {
            object.insert(QStringLiteral("text"), read->text);
            object.insert(QStringLiteral("codes"), QJsonArray::fromStringList(read->codes));
        }
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

ChildProcessCaptureReader::ChildProcessCaptureReader(QString program)
    : m_program(std::move(program))
{
}

std::optional<CaptureContent> ChildProcessCaptureReader::read(const QString &path) const
{
    thread_local std::unique_ptr<Child> child;
    // A child that went away since the last file (killed, or out of memory)
    // is replaced and the file asked again, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (child && child->program != m_program)
            child.reset();
        if (!child)
            child = Child::spawn(m_program);
        if (!child) {
            static std::atomic<bool> warned{false};
            if (!warned.exchange(true))
                qWarning("search index: cannot start %s to read captures", qPrintable(m_program));
            return std::nullopt;
        }
        const Child::Answer reply = child->ask(request(path));
        if (reply.line)
            return content(*reply.line);
        child.reset();
        if (reply.delivered)
            break;
    }
    qWarning("search index: the text reader ended on %s", qPrintable(path));
    return std::nullopt;
}

int ChildProcessCaptureReader::runningChildren()
{
    return g_children.load(std::memory_order_relaxed);
}

int ChildProcessCaptureReader::serve(const CaptureReader &reader)
{
    for (std::string line; std::getline(std::cin, line);) {
        const QByteArray reply = answer(reader, line);
        std::fwrite(reply.constData(), 1, size_t(reply.size()), stdout);
        std::fflush(stdout);
    }
    return 0;
}
