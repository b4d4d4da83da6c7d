#include "common/Spring.h"

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

// Qt 6.4 corrupts the heap when a QEasingCurve holding spline segments is
// copied, so the motion is handed over as a plain easing function (for the
// named springs) or evaluated directly by the animation.
template <const Spring &S>
qreal springEasing(qreal progress)
{
    return progress >= 1 ? 1.0 : S.progressAt(progress * S.durationMs() / 1000.0);
}

struct NamedEasing {
    const Spring &spring;
    QEasingCurve::EasingFunction function;
};

const NamedEasing namedEasings[] = {
    {Springs::navigation, &springEasing<Springs::navigation>},
    {Springs::feedback, &springEasing<Springs::feedback>},
    {Springs::hover, &springEasing<Springs::hover>},
    {Springs::results, &springEasing<Springs::results>},
    {Springs::reveal, &springEasing<Springs::reveal>},
};

// Follows the spring exactly, overshoot included, whatever its constants.
class SpringAnimation : public QPropertyAnimation
{
public:
    SpringAnimation(const Spring &spring, QObject *target, const QByteArray &property)
        : QPropertyAnimation(target, property, target)
        , m_spring(spring)
    {
        setDuration(spring.durationMs());
    }

protected:
    QVariant interpolated(const QVariant &from, const QVariant &to, qreal progress) const override
    {
        const double moved = progress >= 1 ? 1.0 : m_spring.progressAt(progress * duration() / 1000.0);
        return QPropertyAnimation::interpolated(from, to, moved);
    }

private:
    Spring m_spring;
};

}  // namespace

QEasingCurve Spring::easingCurve() const
{
    for (const NamedEasing &named : namedEasings) {
        if (named.spring.response == response && named.spring.dampingFraction == dampingFraction) {
            QEasingCurve curve;
            curve.setCustomType(named.function);
            return curve;
        }
    }
    // Springs without a name here settle without a visible bounce.
    return QEasingCurve(QEasingCurve::OutCubic);
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
    auto *animation = new SpringAnimation(*this, target, property);
    animation->setEndValue(to);
    target->setProperty(tag.constData(), QVariant::fromValue<QObject *>(animation));
    QObject::connect(animation, &QObject::destroyed, target, [target, tag] { target->setProperty(tag.constData(), {}); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
