#pragma once
// The names and message numbers that the configuration window and the
// companion monitor program share.

#include <cstdint>

namespace k4812 {

// Window messages. UM_DEVICE_SETTINGS_CHANGED goes to the monitor (wParam 0,
// or 1 with the new profile index 0-4 in lParam after a profile switch);
// UM_LANGUAGE_CHANGED goes both ways; the monitor sends UM_CLOSE_CONFIG and
// UM_RELOAD_PROFILE to the configuration window.
inline constexpr std::int32_t UM_DEVICE_SETTINGS_CHANGED = 7035;
inline constexpr std::int32_t UM_CLOSE_CONFIG = 7036;
inline constexpr std::int32_t UM_LANGUAGE_CHANGED = 7037;
inline constexpr std::int32_t UM_RELOAD_PROFILE = 7038;

// The configuration window's class, also the name of its single-instance lock.
inline constexpr const char* kConfigWindowClass = "TK4812CfgMain";
inline constexpr const char* kConfigWindowCaption = "K4812_CONFIG";
inline constexpr const char* kMonitorWindowClass = "TK4812MonMain";
inline constexpr const char* kMonitorWindowCaption = "K4812_MONITOR";
// The monitor program, in the program folder (no ".exe" on Linux).
inline constexpr const char* kMonitorProgramFile = "REvo2";
inline constexpr const char* kApplicationTitle = "Gaming Mouse Driver";

// "UM_CLOSE_CONFIG" for 7036 and so on; nullptr for other numbers.
constexpr const char* windowMessageName(std::int32_t message)
{
    switch (message) {
    case UM_DEVICE_SETTINGS_CHANGED: return "UM_DEVICE_SETTINGS_CHANGED";
    case UM_CLOSE_CONFIG: return "UM_CLOSE_CONFIG";
    case UM_LANGUAGE_CHANGED: return "UM_LANGUAGE_CHANGED";
    case UM_RELOAD_PROFILE: return "UM_RELOAD_PROFILE";
    default: return nullptr;
    }
}

} // namespace k4812
