#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QVariant>

// The real tarnwick binary, started with HOME and the XDG folders inside a
// temporary directory, reached over the session bus like any other client.
class E2eApp
{
public:
    E2eApp();
    ~E2eApp();

    bool start(const QStringList &args = {});
    void stop();
    // Runs a second tarnwick process to completion; returns its exit code.
    int runCommand(const QStringList &args, int timeoutMs = 10000);
    QVariant property(const QString &name) const;

    QString home() const { return m_home.path(); }
    QString configFile() const { return home() + QStringLiteral("/.config/Tarnwick/Tarnwick.conf"); }
    QString screenshotFolder() const { return home() + QStringLiteral("/Pictures/Screenshots"); }
    QProcess &process() { return m_process; }
    // Keeps the app's standard error for errorOutput() instead of passing it
    // through; call before start().
    void captureErrorOutput() { m_process.setProcessChannelMode(QProcess::SeparateChannels); }
    QString errorOutput();
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_errors;
};
