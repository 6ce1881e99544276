#include "profiles/SystemMouseParams.h"

#include <QtGlobal>

#include <cstring>

namespace k4812 {

std::optional<MouseAcceleration> mouseAccelerationRow(std::int32_t index)
{
    if (index < 0 || index >= std::int32_t(MouseAccelerationTable.size()))
        return std::nullopt;
    return MouseAccelerationTable[std::size_t(index)];
}

namespace {

PointerSettingResult noted(SystemMouseParamsResult& result, const PointerSettings& settings, PointerSetting setting,
                           PointerSettingResult outcome)
{
    if (isDesktopFailure(outcome))
        result.failures.push_back({setting, settings.failureReason(setting)});
    return outcome;
}

} // namespace

std::mutex& pointerSettingsMutex()
{
    static std::mutex mutex;
    return mutex;
}

SystemMouseParamsResult ApplySystemMouseParams(PointerSettings& settings, const TSYSTEMMOUSEPARAMS& params)
{
    SystemMouseParamsResult result;
    const std::int32_t index = params.AccelerationIndex;
    if (const auto row = mouseAccelerationRow(index)) {
        result.acceleration =
            noted(result, settings, PointerSetting::Acceleration, settings.setMouseAcceleration(*row));
    } else {
        // A stored value past the table would read beyond it; the desktop
        // keeps the acceleration it has rather than a guessed one.
        qWarning("Pointer settings: acceleration index %d is outside the table (0-3); acceleration not changed",
                 int(index));
        result.acceleration = PointerSettingResult::Rejected;
    }
    result.pointerSpeed =
        noted(result, settings, PointerSetting::PointerSpeed, settings.setMouseSpeed(params.PointerSpeed));
    result.wheelScrollLines = noted(result, settings, PointerSetting::WheelScrollLines,
                                    settings.setWheelScrollLines(params.WheelScrollLines));
    return result;
}

TuiThread::Routine makeApplySystemMouseParamsRoutine(std::shared_ptr<PointerSettings> settings,
                                                     SystemMouseParamsReport report)
{
    return [settings = std::move(settings), report = std::move(report)](void* block, std::size_t size) {
        if (size != sizeof(TSYSTEMMOUSEPARAMS) || settings == nullptr) {
            qWarning("ApplySystemMouseParams: a block of %zu bytes is not a TSYSTEMMOUSEPARAMS; nothing applied", size);
            return;
        }
        TSYSTEMMOUSEPARAMS params;
        std::memcpy(&params, block, sizeof params);
        SystemMouseParamsResult result;
        {
            const std::scoped_lock lock(pointerSettingsMutex());
            result = ApplySystemMouseParams(*settings, params);
        }
        if (report)
            report(result);
    };
}

} // namespace k4812
