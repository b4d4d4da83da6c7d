#include "capture/SpectacleListener.h"

#include <QDBusConnection>
#include <QDBusMessage>

SpectacleListener::SpectacleListener(QObject *parent)
    : QObject(parent)
{
    QDBusConnection::sessionBus().connect(QString(), QString(), QStringLiteral("org.kde.Spectacle"),
                                          QStringLiteral("ScreenshotTaken"), this,
                                          SLOT(onSignal(QDBusMessage)));
}

void SpectacleListener::onSignal(const QDBusMessage &)
{
    Q_EMIT screenshotTaken();
}
