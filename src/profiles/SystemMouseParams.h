#pragma once
// The window's SystemMouseParams (pointer speed, wheel scroll lines,
// acceleration index) and ApplySystemMouseParams, which hands them to the
// desktop; the apply sequence runs it on a TuiThread worker with its own
// copy of the 12-byte block.

#include "platform/desktop/PointerSettings.h"
#include "platform/desktop/TuiThread.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace k4812 {

#pragma pack(push, 1)
struct TSYSTEMMOUSEPARAMS {
    std::int32_t PointerSpeed;      // 1-20
    std::int32_t WheelScrollLines;  // lines per notch; 20 = one page
    std::int32_t AccelerationIndex; // row of MouseAccelerationTable
};
#pragma pack(pop)
static_assert(sizeof(TSYSTEMMOUSEPARAMS) == 12);
static_assert(offsetof(TSYSTEMMOUSEPARAMS, WheelScrollLines) == 4);
static_assert(offsetof(TSYSTEMMOUSEPARAMS, AccelerationIndex) == 8);

// The SPI_SETMOUSE values by acceleration index: row 0 is off, row 1 is the
// one "Enhance pointer precision" sets.
inline constexpr std::array<MouseAcceleration, 4> MouseAccelerationTable{{
    {0, 0, 0},
    {7, 0, 1},
    {4, 6, 2},
    {4, 0, 1},
}};

// The table's row for `index`; none outside 0 ... 3.
std::optional<MouseAcceleration> mouseAccelerationRow(std::int32_t index);

// A setting the desktop did not take (isDesktopFailure), with the back
// end's reason where it gave one.
struct PointerSettingFailure {
    PointerSetting setting = PointerSetting::PointerSpeed;
    QString reason;

    bool operator==(const PointerSettingFailure&) const = default;
};

// What became of each of the three settings.
struct SystemMouseParamsResult {
    PointerSettingResult acceleration = PointerSettingResult::Rejected;
    PointerSettingResult pointerSpeed = PointerSettingResult::Rejected;
    PointerSettingResult wheelScrollLines = PointerSettingResult::Rejected;
    // The settings the desktop did not take, in the order they were set.
    std::vector<PointerSettingFailure> failures;
};

// Sets the acceleration row, then the pointer speed, then the wheel lines.
// An acceleration index outside the table is refused (logged, Rejected) and
// leaves the desktop's acceleration as it is; the other two settings are
// still applied.
SystemMouseParamsResult ApplySystemMouseParams(PointerSettings& settings, const TSYSTEMMOUSEPARAMS& params);

// Held while the desktop's pointer settings are changed: the apply's worker
// and the System Setting page's pending action each run on a thread of their
// own and may meet; the desktop takes one change at a time, whole.
std::mutex& pointerSettingsMutex();

// Told on the worker's thread what became of the settings, once they are
// all set; it must not touch windows (post to their thread instead).
using SystemMouseParamsReport = std::function<void(const SystemMouseParamsResult&)>;

// The routine for TuiThread::ThreadCallFunction: reads a TSYSTEMMOUSEPARAMS
// from its block, applies it through `settings` and hands the result to
// `report` (when there is one). A block of another size is logged and
// ignored.
TuiThread::Routine makeApplySystemMouseParamsRoutine(std::shared_ptr<PointerSettings> settings,
                                                     SystemMouseParamsReport report = {});

} // namespace k4812
