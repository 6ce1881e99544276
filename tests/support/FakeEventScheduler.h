#pragma once
// An EventScheduler for tests: it records what is asked to run later and
// runs it only when the test advances its clock.

#include "wire/EventScheduler.h"

#include <QPointer>

#include <algorithm>
#include <vector>

namespace k4812::test {

class FakeEventScheduler final : public EventScheduler {
public:
    struct Entry {
        int dueMs;
        QPointer<QObject> context;
        std::function<void()> action;
    };

    void runLater(QObject* context, int milliseconds, std::function<void()> action) override
    {
        m_entries.push_back({m_nowMs + milliseconds, context, std::move(action)});
    }

    // Moves the clock on by `milliseconds` and runs, in order of their time,
    // the actions that fell due (and whose context still lives).
    void advance(int milliseconds)
    {
        const int until = m_nowMs + milliseconds;
        for (;;) {
            auto next = std::min_element(m_entries.begin(), m_entries.end(),
                                         [](const Entry& a, const Entry& b) { return a.dueMs < b.dueMs; });
            if (next == m_entries.end() || next->dueMs > until)
                break;
            Entry entry = std::move(*next);
            m_entries.erase(next);
            m_nowMs = entry.dueMs;
            if (entry.context)
                entry.action();
        }
        m_nowMs = until;
    }

    int nowMs() const { return m_nowMs; }
    std::size_t pending() const { return m_entries.size(); }

private:
    int m_nowMs = 0;
    std::vector<Entry> m_entries;
};

} // namespace k4812::test
