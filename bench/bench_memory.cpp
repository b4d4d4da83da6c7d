// Resident memory of the real tarnwick binary, with an empty history against
// 100 captures of 5 MP screenshots arriving in the watched folder, and after a
// restart that loads those 100. Run inside an X server with a session bus
// (e.g. xvfb-run -a dbus-run-session -- build/bench/bench_memory).
//   target: 100 captures <= 2 × the empty history

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const QString service = QStringLiteral("com.tarnwick.Tarnwick");

double residentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

class App
{
public:
    explicit App(const QString &home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tarnwick"));
        const bool up = QTest::qWaitFor([] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(service); },
                                        15000);
        if (!up)
            qFatal("tarnwick did not come up on the session bus");
    }
    ~App()
    {
        m_process.terminate();
        m_process.waitForFinished();
        if (!QTest::qWaitFor([] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(service); }, 5000))
            std::fputs("tarnwick kept its bus name after it ended\n", stderr);
    }
    int listed() const
    {
        return QDBusInterface(service, QStringLiteral("/"), service).property("Screenshots").toStringList().size();
    }
    // After the app has settled: thumbnails made, buffers freed.
    double settledMiB() const
    {
        QTest::qWait(3000);
        return residentMiB(m_process.processId());
    }

private:
    QProcess m_process;
};

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    const QString shots = home.path() + QStringLiteral("/Pictures/Screenshots");
    QDir().mkpath(shots);
    const QString source = home.path() + QStringLiteral("/shot.png");
    BenchSupport::screenshotLike(2592, 1944).save(source);  // 5 MP

    double empty = 0;
    double captured = 0;
    {
        App tarnwick(home.path());
        empty = tarnwick.settledMiB();
        for (int i = 0; i < 100; ++i) {
            QFile::copy(source, shots + QStringLiteral("/Screenshot %1.png").arg(i, 3, 10, QLatin1Char('0')));
            QTest::qWait(100);
        }
        if (!QTest::qWaitFor([&] { return tarnwick.listed() == 100; }, 120000))
            qFatal("the 100 captures were not all listed");
        captured = tarnwick.settledMiB();
    }
    double restored = 0;
    {
        App tarnwick(home.path());
        if (!QTest::qWaitFor([&] { return tarnwick.listed() == 100; }, 30000))
            qFatal("the history was not restored");
        restored = tarnwick.settledMiB();
    }
    std::printf("resident: empty history %.1f MiB, after 100 captures of 5 MP %.1f MiB, restarted with them %.1f MiB\n",
                empty, captured, restored);
    for (const auto &[label, value] : {std::pair{"100 captures / empty history", captured},
                                       std::pair{"restored 100 / empty history", restored}}) {
        const double ratio = value / empty;
        std::printf("RATIO %-40s %8.1f MiB / %8.1f MiB = %5.2f (target <= 2.00) %s\n", label, value, empty, ratio,
                    ratio <= 2.0 ? "ok" : "OVER");
    }
    return 0;
}
