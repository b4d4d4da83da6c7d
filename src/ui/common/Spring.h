#pragma once

#include <QByteArray>
#include <QEasingCurve>
#include <QVariant>

class QObject;
class QVariantAnimation;

// A damped spring given as its response (seconds for one oscillation when
// undamped) and damping fraction, as the interface's motion is described.
// Turned into an easing curve and a duration so that any Qt animation can
// follow it.
struct Spring {
    double response;
    double dampingFraction;

    // Distance covered at time t seconds, 0 at the start, settling at 1.
    double progressAt(double seconds) const;
    // Until the motion stays within 0.1 % of its end.
    int durationMs() const;
    QEasingCurve easingCurve() const;

    // Animates target's property from its current value to `to`, deleting
    // the animation when done; a running animation of the same property on
    // the same target is replaced.
    QVariantAnimation *animate(QObject *target, const QByteArray &property, const QVariant &to) const;
    // Stops (and deletes) the animation animate() runs on target's property,
    // leaving the property where it is.
    static void stop(QObject *target, const QByteArray &property);
};

namespace Springs {
inline constexpr Spring navigation{0.28, 0.8};  // moving between items
inline constexpr Spring feedback{0.25, 0.825};  // "Copied" and the like
inline constexpr Spring hover{0.2, 0.65};       // controls under the pointer
inline constexpr Spring results{0.3, 0.7};      // detected codes appearing
inline constexpr Spring reveal{0.3, 0.65};      // brackets around codes
}  // namespace Springs
