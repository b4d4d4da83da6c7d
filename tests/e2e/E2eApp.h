#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

// How long a test waits for the app to do something: generous, as CI also
// runs these under sanitizers on two busy cores.
inline constexpr int timeoutMs = 15000;

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
    // Starts the app with args and returns at once, for starts that end in a window.
    void launch(const QStringList &args);
    // Runs a second tarnwick process (in folder, if given) to completion;
    // returns its exit code and, if asked, its standard error and output.
    int runCommand(const QStringList &args, const QString &folder = {}, QString *errors = nullptr,
                   QByteArray *output = nullptr);
    // Whether any instance owns the app's bus name.
    static bool nameOwned();
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
