#pragma once
// A pauser that never waits: it records each pause, and where in a sequence
// it came (the value of `position` at that moment, e.g. the length of an
// emulator's report log), so tests can check the waits and their place.

#include "sequences/Pauser.h"

#include <cstddef>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

namespace k4812::test {

class RecordingPauser final : public Pauser {
public:
    struct Pause {
        int milliseconds;
        std::size_t position;
        bool operator==(const Pause&) const = default;
    };

    explicit RecordingPauser(std::function<std::size_t()> position = {}) : m_position(std::move(position)) {}

    void pause(int milliseconds) override { pauses.push_back({milliseconds, m_position ? m_position() : 0}); }

    std::vector<int> milliseconds() const
    {
        std::vector<int> result;
        for (const Pause& p : pauses)
            result.push_back(p.milliseconds);
        return result;
    }
    int total() const
    {
        return std::accumulate(pauses.begin(), pauses.end(), 0,
                               [](int sum, const Pause& p) { return sum + p.milliseconds; });
    }

    std::vector<Pause> pauses;

private:
    std::function<std::size_t()> m_position;
};

} // namespace k4812::test
