#include "shell/SwipeAccumulator.h"

#include <cmath>

SwipeAccumulator::Swipe SwipeAccumulator::feed(double dx, double dy, bool ended)
{
    // The end of a gesture is checked before the direction: end events usually
    // carry no delta at all and would otherwise never reset the distance.
    if (ended) {
        reset();
        return Swipe::none;
    }
    if (std::abs(dy) >= std::abs(dx))
        return Swipe::none;  // vertical scrolling, even when slightly diagonal
    m_accumulated += dx;
    if (m_accumulated < -threshold) {
        reset();
        return Swipe::left;
    }
    if (m_accumulated > threshold) {
        reset();
        return Swipe::right;
    }
    return Swipe::none;
}
