#include "common/Spring.h"

#include <QPointF>
#include <QPropertyAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

double Spring::progressAt(double t) const
{
    const double omega = 2 * std::numbers::pi / response;
    const double zeta = std::clamp(dampingFraction, 0.0, 1.0);
    if (zeta >= 1.0)
        return 1 - (1 + omega * t) * std::exp(-omega * t);
    const double damped = omega * std::sqrt(1 - zeta * zeta);
    const double decay = std::exp(-zeta * omega * t);
    return 1 - decay * (std::cos(damped * t) + zeta * omega / damped * std::sin(damped * t));
}

int Spring::durationMs() const
{
    const double omega = 2 * std::numbers::pi / response;
    const double zeta = std::clamp(dampingFraction, 0.05, 1.0);
    return int(std::ceil(1000 * std::log(1000.0) / (zeta * omega)));
}

QEasingCurve Spring::easingCurve() const
{
    // A spline through samples of the motion. Qt 6.4 writes past its buffers
    // when a spline curve has more than 10 segments (seen under valgrind), so
    // 10 samples it is; they still keep the overshoot.
    QEasingCurve curve(QEasingCurve::TCBSpline);
    const double seconds = durationMs() / 1000.0;
    constexpr int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const double x = double(i) / steps;
        curve.addTCBSegment(QPointF(x, i == steps ? 1.0 : progressAt(x * seconds)), 0, 0, 0);
    }
    return curve;
}

void Spring::stop(QObject *target, const QByteArray &property)
{
    const QByteArray tag = "_spring_" + property;
    if (auto *running = target->property(tag.constData()).value<QObject *>())
        delete running;
}

QVariantAnimation *Spring::animate(QObject *target, const QByteArray &property, const QVariant &to) const
{
    stop(target, property);
    const QByteArray tag = "_spring_" + property;
    auto *animation = new QPropertyAnimation(target, property, target);
    animation->setEndValue(to);
    animation->setDuration(durationMs());
    animation->setEasingCurve(easingCurve());
    target->setProperty(tag.constData(), QVariant::fromValue<QObject *>(animation));
    QObject::connect(animation, &QObject::destroyed, target, [target, tag] { target->setProperty(tag.constData(), {}); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
