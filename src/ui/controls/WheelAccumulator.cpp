#include "ui/controls/WheelAccumulator.h"

namespace k4812 {

int WheelAccumulator::add(int angleDelta)
{
    constexpr int kNotch = 120;
    // A turn of direction drops what was left over from the other way.
    if ((angleDelta > 0 && m_rest < 0) || (angleDelta < 0 && m_rest > 0))
        m_rest = 0;
    const long long total = (long long)m_rest + angleDelta; // cannot overflow: |m_rest| < one notch
    const int steps = int(total / kNotch);
    m_rest = int(total - (long long)steps * kNotch);
    return steps;
}

} // namespace k4812
