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

namespace {

template <const Spring &spring>
qreal springEase(qreal x)
{
    return x >= 1 ? 1.0 : spring.progressAt(x * spring.durationMs() / 1000.0);
}

}  // namespace

QEasingCurve Spring::easingCurve() const
{
    // The interface's own springs get their exact motion. Qt 6.4's spline
    // curves write past their buffer beyond about ten segments, so any other
    // spring is approximated with ten.
    struct Known {
        const Spring &spring;
        QEasingCurve::EasingFunction function;
    };
    static const Known known[] = {
        {Springs::navigation, &springEase<Springs::navigation>}, {Springs::feedback, &springEase<Springs::feedback>},
        {Springs::hover, &springEase<Springs::hover>},           {Springs::results, &springEase<Springs::results>},
        {Springs::reveal, &springEase<Springs::reveal>},
    };
    QEasingCurve curve;
    for (const Known &k : known) {
        if (k.spring.response == response && k.spring.dampingFraction == dampingFraction) {
            curve.setCustomType(k.function);
            return curve;
        }
    }
    curve = QEasingCurve(QEasingCurve::BezierSpline);
    const double seconds = durationMs() / 1000.0;
    constexpr int steps = 10;
    QPointF previous(0, 0);
    for (int i = 1; i <= steps; ++i) {
        const double x = double(i) / steps;
        const QPointF point(x, i == steps ? 1.0 : progressAt(x * seconds));
        curve.addCubicBezierSegment(previous + (point - previous) / 3, previous + (point - previous) * 2 / 3, point);
        previous = point;
    }
    return curve;
}

QVariantAnimation *Spring::animate(QObject *target, const QByteArray &property, const QVariant &to) const
{
    const QByteArray tag = "_spring_" + property;
    if (auto *running = target->property(tag.constData()).value<QObject *>())
        delete running;
    auto *animation = new QPropertyAnimation(target, property, target);
    animation->setEndValue(to);
    animation->setDuration(durationMs());
    animation->setEasingCurve(easingCurve());
    target->setProperty(tag.constData(), QVariant::fromValue<QObject *>(animation));
    QObject::connect(animation, &QObject::destroyed, target, [target, tag] { target->setProperty(tag.constData(), {}); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
