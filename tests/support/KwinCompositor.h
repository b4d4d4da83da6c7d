#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// KDE's compositor on a virtual output, with a socket and runtime folder of
// its own and off the caller's session bus, so that the services it starts
// never reach programs running beside. While it runs, this process's
// WAYLAND_DISPLAY and XDG_RUNTIME_DIR lead to it, so that programs started
// from here are its clients.
struct KwinCompositor {
    static constexpr int startTimeoutMs = 15000;
    static inline const QString socket = QStringLiteral("tarnwick-test");
    static inline const QString shortcutService = QStringLiteral("org.kde.kglobalaccel");

    QTemporaryDir runtime;
    QProcess process;
    QProcess shortcuts;
    QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");

    ~KwinCompositor()
    {
        for (QProcess *running : {&shortcuts, &process}) {
            running->kill();
            running->waitForFinished();
        }
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("XDG_RUNTIME_DIR", previousRuntime);
    }

    // Why it could not start; empty once clients can connect. With the
    // shortcut service, also KDE's global shortcut service on this process's
    // session bus, as in a Plasma session.
    QString start(bool withShortcutService = false)
    {
        const QString installed = QStandardPaths::findExecutable(QStringLiteral("kwin_wayland"));
        if (installed.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("wl-copy")).isEmpty())
            return QStringLiteral("needs kwin_wayland and wl-clipboard (Debian: kwin-wayland, wl-clipboard)");
        // The packaged binary carries a file capability that an unprivileged
        // container may not run; a plain copy of it runs.
        const QString binary = runtime.filePath(QStringLiteral("kwin_wayland"));
        QFile announce(runtime.filePath(QStringLiteral("announce")));
        if (!QFile::copy(installed, binary) || !announce.open(QIODevice::WriteOnly)
            || announce.write("#!/bin/sh\necho \"$DISPLAY\" > '" + upFile().toUtf8() + "'\n") < 0
            || !announce.setPermissions(QFile::ReadOwner | QFile::ExeOwner))
            return QStringLiteral("could not copy kwin_wayland");
        announce.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("HOME"), runtime.path());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        // kwin runs the program once clients can connect (with Xwayland: with its DISPLAY set).
        QStringList args{QStringLiteral("--virtual"), QStringLiteral("--socket"), socket,
                         QStringLiteral("--width"), QStringLiteral("1280"), QStringLiteral("--height"),
                         QStringLiteral("800"), announce.fileName()};
        if (withShortcutService)
            args.prepend(QStringLiteral("--xwayland"));
        process.start(binary, args);
        if (!QTest::qWaitFor([&] { return QFile::exists(upFile()) || process.state() == QProcess::NotRunning; },
                             startTimeoutMs)
            || process.state() == QProcess::NotRunning)
            return QStringLiteral("kwin_wayland cannot start here: ") + QString::fromLocal8Bit(process.readAll());
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("WAYLAND_DISPLAY", socket.toUtf8());
        return withShortcutService ? startShortcutService() : QString();
    }

private:
    QString upFile() const { return runtime.filePath(QStringLiteral("up")); }

    // The service has no Wayland backend of its own (the compositor hosts it
    // in a real session), so it grabs keys on the compositor's Xwayland.
    QString startShortcutService()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("kglobalaccel5")).isEmpty())
            return QStringLiteral("needs kglobalaccel5 (Debian: libkf5globalaccel-bin)");
        QFile announced(upFile());
        announced.open(QIODevice::ReadOnly);
        const QByteArray display = announced.readAll().trimmed();
        shortcuts.setProcessChannelMode(QProcess::MergedChannels);
        shortcuts.start(QStringLiteral("env"), {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "HOME=" + runtime.path(),
                                                QStringLiteral("kglobalaccel5")});
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        const auto down = [&] { return shortcuts.state() == QProcess::NotRunning; };
        const auto registered = [&] { return bus->isServiceRegistered(shortcutService); };
        if (!QTest::qWaitFor([&] { return registered() || down(); }, startTimeoutMs) || down())
            return QStringLiteral("kglobalaccel5 cannot start here: ") + QString::fromLocal8Bit(shortcuts.readAll());
        return {};
    }
};
