#include "picker/PickSwatch.h"

#include "common/Accessibility.h"
#include "common/Style.h"

#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>

namespace {

constexpr double side = 34;
constexpr double margin = 7;  // room for the swell and the glow

void animatePulse(PickSwatch *swatch, double to, int ms, QEasingCurve::Type curve)
{
    auto *animation = new QPropertyAnimation(swatch, "pulse", swatch);
    animation->setEndValue(to);
    animation->setDuration(ms);
    animation->setEasingCurve(curve);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace

PickSwatch::PickSwatch(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(int(side + 2 * margin), int(side + 2 * margin));
}

void PickSwatch::setColor(const QColor &color)
{
    m_color = color;
    setAccessibleName(Accessibility::colourName(color));
    update();
}

void PickSwatch::setPulse(double pulse)
{
    m_pulse = pulse;
    update();
}

void PickSwatch::pulseOnce(std::chrono::milliseconds holdFor)
{
    const int pulse = ++m_pulses;
    animatePulse(this, 1.0, 120, QEasingCurve::OutQuad);
    QTimer::singleShot(holdFor, this, [this, pulse] {
        if (pulse == m_pulses)
            animatePulse(this, 0.0, 200, QEasingCurve::InQuad);
    });
}

void PickSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const double scale = 1.0 + 0.12 * m_pulse;
    painter.translate(centre);
    painter.scale(scale, scale);
    const QRectF square(-side / 2, -side / 2, side, side);

    // The coloured glow grows from 40 % within 4 points to 80 % within 10.
    const double glow = 4 + 6 * m_pulse;
    const double strength = 0.4 + 0.4 * m_pulse;
    painter.setPen(Qt::NoPen);
    for (int ring = 3; ring >= 1; --ring) {
        const double grow = glow * ring / 3;
        painter.setBrush(Style::withAlpha(m_color, strength / 4));
        painter.drawRoundedRect(square.adjusted(-grow, -grow + 1, grow, grow + 1), 7 + grow, 7 + grow);
    }
    painter.setBrush(m_color);
    painter.drawRoundedRect(square, 7, 7);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Style::withAlpha(Style::primary(palette()), 0.12), 1));
    painter.drawRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), 6.5, 6.5);
    if (m_pulse > 0) {
        painter.setPen(QPen(Style::withAlpha(Qt::white, 0.9 * m_pulse), 3));
        painter.drawRoundedRect(square.adjusted(1.5, 1.5, -1.5, -1.5), 5.5, 5.5);
    }
}
