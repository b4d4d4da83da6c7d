#include "shell/SwipeInput.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWindow>

namespace {

// A wheel notch is 120 eighths of a degree; one notch counts as 60 points,
// the distance a notch scrolls a list, so a single notch of a tilt wheel is
// one swipe.
constexpr double pointsPerNotch = 60.0;
constexpr double eighthsPerNotch = 120.0;

QPointF pointsOf(const QWheelEvent *event)
{
    if (!event->pixelDelta().isNull())
        return QPointF(event->pixelDelta());
    return QPointF(event->angleDelta()) * (pointsPerNotch / eighthsPerNotch);
}

}  // namespace

SwipeInput::SwipeInput(QObject *parent, std::chrono::milliseconds quietEnd)
    : QObject(parent)
{
    m_quietEnd.setSingleShot(true);
    m_quietEnd.setInterval(quietEnd);
    connect(&m_quietEnd, &QTimer::timeout, this, [this] { m_accumulator.reset(); });
}

SwipeInput::~SwipeInput()
{
    setEnabled(false);
}

void SwipeInput::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_accumulator.reset();
    m_quietEnd.stop();
    if (enabled)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool SwipeInput::eventFilter(QObject *watched, QEvent *event)
{
    // Each wheel event reaches a window once and then travels through the
    // widget tree; only the window's copy counts.
    if (event->type() == QEvent::Wheel && watched->isWindowType())
        feed(static_cast<QWheelEvent *>(event));
    return false;
}

void SwipeInput::feed(QWheelEvent *event)
{
    const QPointF delta = pointsOf(event);
    const Qt::ScrollPhase phase = event->phase();
    if (phase == Qt::NoScrollPhase)
        m_quietEnd.start();
    switch (m_accumulator.feed(delta.x(), delta.y(), phase == Qt::ScrollEnd)) {
    case SwipeAccumulator::Swipe::left:
        Q_EMIT swipedLeft();
        break;
    case SwipeAccumulator::Swipe::right:
        Q_EMIT swipedRight();
        break;
    case SwipeAccumulator::Swipe::none:
        break;
    }
}
