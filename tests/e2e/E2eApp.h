#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

// The real tarnwick binary, started with HOME and the XDG folders inside a
// temporary directory, reached over the session bus like any other client.
class E2eApp
{
public:
    E2eApp();
    ~E2eApp() { stop(); }

    // Starts the app and waits until it owns its bus name.
    bool start();
    void stop();
    // Runs a second tarnwick process to completion; returns its exit code.
    int runCommand(const QStringList &args);
    QVariant property(const QString &name) const;

    QString configFile() const { return m_home.path() + QStringLiteral("/.config/Tarnwick/Tarnwick.conf"); }
    QString screenshotFolder() const { return m_home.path() + QStringLiteral("/Pictures/Screenshots"); }
    QProcess &process() { return m_process; }
    QProcessEnvironment environment() const;
    // Keeps the app's standard error for errorOutput() instead of passing it
    // through; call before start().
    void captureErrorOutput() { m_process.setProcessChannelMode(QProcess::SeparateChannels); }
    QString errorOutput() { return m_errors += QString::fromLocal8Bit(m_process.readAllStandardError()); }

private:
    bool objectExported() const;
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_errors;
};
