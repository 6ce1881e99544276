#pragma once
// Turns wheel deltas into whole steps. A notch of a mouse wheel is 120; a
// touchpad sends many small deltas, which must add up to a notch before the
// value moves, or a light touch would jump several steps.

namespace k4812 {

class WheelAccumulator {
public:
    // Adds a delta and returns the whole steps it completes (positive up).
    int add(int angleDelta);
    void reset() { m_rest = 0; }

private:
    int m_rest = 0;
};

} // namespace k4812
