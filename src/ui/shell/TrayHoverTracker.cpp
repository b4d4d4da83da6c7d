#include "shell/TrayHoverTracker.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
// The widget Qt embeds into XEmbed trays. It is created (and re-created when
// the tray restarts) inside Qt, so it is recognised by class rather than
// looked up once.
constexpr const char *trayWidgetClass = "QSystemTrayIconSys";
}  // namespace

TrayHoverTracker::TrayHoverTracker(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TrayHoverTracker::~TrayHoverTracker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool TrayHoverTracker::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Enter && type != QEvent::Leave) || !watched->isWidgetType()
        || !watched->inherits(trayWidgetClass))
        return false;
    m_seen = true;
    if (type == QEvent::Enter)
        Q_EMIT entered();
    else
        Q_EMIT exited();
    return false;
}
