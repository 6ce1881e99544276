#pragma once
// What the three options of the macro manager say about the next recording.

#include <cstdint>

namespace k4812 {

struct RecordingOptions {
    bool recordDelays = true;          // "Record delays between action"
    bool insertDefaultDelay = false;   // "Insert default delay"
    int defaultDelay = 10;             // its box, ms
    bool loop = false;                 // "Number of loops(1-255)"
    int loopCount = 1;                 // its box
};

} // namespace k4812
