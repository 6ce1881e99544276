#include "app/macro/LiveRecordingRows.h"

#include "app/macro/RecordingConversion.h"

namespace k4812 {

void LiveRecordingRows::start(Mode mode, int rowCount)
{
    m_mode = mode;
    m_rowCount = rowCount;
    // Replace mode fills an emptied list from its top.
    if (mode == Mode::Replace)
        m_replaceCounter = 0;
}

void LiveRecordingRows::stop()
{
    m_replaceCounter = 0;
    m_insertCounter = 0;
}

int LiveRecordingRows::nextPosition()
{
    if (m_mode == Mode::Replace)
        return m_replaceCounter++;
    return ++m_insertCounter;
}

LiveRecordingRows::Step LiveRecordingRows::keyEvent(int state, std::uint32_t totalTime, const QString& keyName,
                                                    const RecordingOptions& options)
{
    Step step;
    if (m_rowCount >= kMaxRows) {
        step.reachedMax = true;
        return step;
    }
    const bool delayShown = options.recordDelays && m_rowCount > 0 && totalTime < kLongestShownPauseMs
                            && (totalTime > 0 || options.insertDefaultDelay);
    // A delay row goes in only with room for its key after it, so the list
    // stops at 127 rows and never ends on a delay nobody recorded a key for.
    if (delayShown && m_rowCount + 2 <= kMaxRows) {
        const long long shown = options.insertDefaultDelay ? options.defaultDelay : totalTime;
        step.inserts.emplace_back(nextPosition(),
                                  ActionRow{ActionRow::Kind::Delay, QString::number(clampDelayMs(shown)), -1});
        ++m_rowCount;
    }
    step.inserts.emplace_back(nextPosition(),
                              ActionRow{state == 1 ? ActionRow::Kind::KeyDown : ActionRow::Kind::KeyUp,
                                        QLatin1Char(' ') + keyName, -1});
    ++m_rowCount;
    return step;
}

} // namespace k4812
