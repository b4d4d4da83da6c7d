#pragma once

// Turns a stream of horizontal scroll deltas into discrete swipes: one swipe
// per 40 points travelled within a gesture (momentum included), so one long
// flick can step several times. Pure logic; the viewer feeds it wheel events.
class SwipeAccumulator
{
public:
    enum class Swipe { none, left, right };

    static constexpr double threshold = 40.0;

    // dx, dy: the event's scroll deltas in points. ended: the event closes a
    // gesture or its momentum; the distance gathered so far is dropped.
    Swipe feed(double dx, double dy, bool ended);
    void reset() { m_accumulated = 0.0; }
    double accumulated() const { return m_accumulated; }

private:
    double m_accumulated = 0.0;
};
