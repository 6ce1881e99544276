#include "app/macro/RecordingConversion.h"

#include "macros/MacroAction.h"

#include <algorithm>
#include <optional>

namespace k4812 {

std::uint16_t clampDelayMs(long long milliseconds)
{
    return std::uint16_t(std::clamp<long long>(milliseconds, kMinDelayMs, kMaxDelayMs));
}

std::uint16_t recordedLoopCount(const RecordingOptions& options)
{
    if (!options.loop || options.loopCount <= 0)
        return 0;
    return std::uint16_t(std::min(options.loopCount, kMaxLoopCount));
}

TMACROKEYINFO convertRecording(const TMACROKEYINFO& base, const std::vector<TMACROKEYHOOK>& recording,
                               const RecordingOptions& options)
{
    TMACROKEYINFO result = base;
    result.nLoopCount = recordedLoopCount(options);

    int count = 0;
    std::optional<TMACROKEY> lastKey;
    for (const TMACROKEYHOOK& entry : recording) {
        if (count >= kMaxRecordedActions)
            break;
        if (entry.nKeyType == kMacroHookPause) {
            if (!options.recordDelays)
                continue;
            const long long pause = options.insertDefaultDelay ? options.defaultDelay : entry.nKeyValue;
            result.MacroList[count++] = makeDelayAction(clampDelayMs(pause));
            continue;
        }
        // The recorder hands over virtual keys 1 to 255 only; the byte holds them.
        const TMACROKEY key = makeKeyAction(entry.nKeyState == kMacroKeyDown ? kMacroKeyDown : kMacroKeyUp,
                                            std::uint8_t(entry.nKeyValue), entry.nKeyValueExtended != 0 ? 1 : 0);
        if (lastKey && lastKey->VALUE1 == key.VALUE1 && lastKey->VALUE2 == key.VALUE2
            && lastKey->nKeyState == key.nKeyState)
            continue;
        result.MacroList[count++] = key;
        lastKey = key;
    }
    result.MacroListCount = count;
    result.nAutoAddDelay = options.recordDelays ? 1 : 0;
    return result;
}

} // namespace k4812
