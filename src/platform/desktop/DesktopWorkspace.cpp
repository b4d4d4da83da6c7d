#include "desktop/DesktopWorkspace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QUrl>
#include <QVariantMap>

#include <functional>

#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcWorkspace, "tarnwick.workspace", QtInfoMsg)

namespace {

// Calls a session-bus method without waiting; onError runs when the call
// failed or nobody answers it.
void callAsync(const QDBusMessage &message, QObject *context, std::function<void()> onError)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        onError();
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, member = message.member(), onError = std::move(onError)] {
                         watcher->deleteLater();
                         if (watcher->isError()) {
                             qCInfo(lcWorkspace) << member << "failed:" << watcher->error().message();
                             onError();
                         }
                     });
}

}  // namespace

DesktopWorkspace::DesktopWorkspace(QObject *parent)
    : QObject(parent)
{
}

void DesktopWorkspace::openFile(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopWorkspace::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

void DesktopWorkspace::revealFile(const QString &path)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    message << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    callAsync(message, this, [this, path] { openContainingFolder(path); });
}

void DesktopWorkspace::openContainingFolder(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void DesktopWorkspace::openFileWith(const QString &path)
{
    const auto fallback = [path] { QProcess::startDetached(QStringLiteral("xdg-open"), {path}); };
    // The portal takes the file as a descriptor, so it also works from a sandbox.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fallback();
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenFile"));
    message << QString() << QVariant::fromValue(QDBusUnixFileDescriptor(fd))
            << QVariantMap{{QStringLiteral("ask"), true}};
    ::close(fd);  // the descriptor object holds its own duplicate
    callAsync(message, this, fallback);
}

void DesktopWorkspace::sendFileByEmail(const QString &path)
{
    QProcess::startDetached(QStringLiteral("xdg-email"), {QStringLiteral("--attach"), path});
}
