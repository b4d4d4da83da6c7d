#pragma once

#include "common/AccessibleControl.h"

#include <QColor>
#include <QWidget>

#include <chrono>

// The picked colour as a rounded square. A pick makes it pulse: a white ring,
// a stronger coloured glow and a slight swell, gone again after a moment.
class PickSwatch : public QWidget, public AccessibleControl
{
    Q_OBJECT
    Q_PROPERTY(double pulse READ pulse WRITE setPulse)
public:
    explicit PickSwatch(QWidget *parent = nullptr);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    // Pulses for holdFor, then fades back.
    void pulseOnce(std::chrono::milliseconds holdFor);
    double pulse() const { return m_pulse; }
    void setPulse(double pulse);
    QAccessible::Role accessibleRole() const override { return QAccessible::Graphic; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    double m_pulse = 0;  // 0 at rest, 1 fully pulsed
    int m_pulses = 0;    // a newer pulse's fade-back is the one that counts
};
