#pragma once
// The rows the action list gains while a recording runs, before the
// recording is turned into actions at its stop.
//
// Each recorded key adds its press or release row, preceded by a delay row
// for the pause before it when delays are recorded (pauses of 10 s and more
// are not shown; they are still stored). The list never grows past 127 rows:
// a key that finds it full is not shown and "Reached Max" is. In replace
// mode rows go to the top of an emptied list one after another; in insert
// mode after the selected row.

#include "app/macro/ActionRows.h"
#include "app/macro/RecordingOptions.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace k4812 {

class LiveRecordingRows {
public:
    enum class Mode { Replace, InsertAfter };
    static constexpr int kMaxRows = 127;
    static constexpr std::uint32_t kLongestShownPauseMs = 10000;

    struct Step {
        bool reachedMax = false;
        std::vector<std::pair<int, ActionRow>> inserts;   // position in the list, row; in order
    };

    Mode mode() const { return m_mode; }
    // A recording starts; `rowCount` rows are in the list (0 in replace mode).
    void start(Mode mode, int rowCount);
    // The action selection moved to `row` (the insert position follows it).
    void selectRow(int row) { m_insertCounter = row; }
    // One recorded key event: state 1 pressed, 0 released.
    Step keyEvent(int state, std::uint32_t totalTime, const QString& keyName, const RecordingOptions& options);
    // The recording stopped: both counters start again from 0.
    void stop();

    int rowCount() const { return m_rowCount; }

private:
    int nextPosition();

    Mode m_mode = Mode::Replace;
    int m_rowCount = 0;
    int m_replaceCounter = 0;
    int m_insertCounter = 0;
};

} // namespace k4812
