#pragma once

#include <QObject>

class QDBusMessage;

// Spectacle announces each capture on the session bus; that is our cue that a
// screenshot file is on its way.
class SpectacleListener : public QObject
{
    Q_OBJECT
public:
    explicit SpectacleListener(QObject *parent = nullptr);

Q_SIGNALS:
    void screenshotTaken();

private Q_SLOTS:
    void onSignal(const QDBusMessage &message);
};
