#pragma once

#include "shell/SwipeAccumulator.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class QWheelEvent;

// Turns the application's horizontal wheel and touchpad scrolling into
// swipes while enabled. It watches every wheel event of the application, not
// only those over one widget, and never consumes them, so scrolling still
// reaches the widgets under the pointer.
class SwipeInput : public QObject
{
    Q_OBJECT
public:
    // Devices that report no gesture phases end a gesture by going quiet for
    // this long.
    static constexpr std::chrono::milliseconds defaultQuietEnd{300};

    explicit SwipeInput(QObject *parent = nullptr, std::chrono::milliseconds quietEnd = defaultQuietEnd);
    ~SwipeInput() override;

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // One event in points, as the accumulator takes it; public for tests.
    void feed(QWheelEvent *event);

Q_SIGNALS:
    void swipedLeft();
    void swipedRight();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SwipeAccumulator m_accumulator;
    QTimer m_quietEnd;
    bool m_enabled = false;
};
