#pragma once
// Faults the mouse emulator can be told to show, so that tests (in-process
// or through K4812_EMULATOR_FAULTS) can see how the programs cope with a
// mouse that is missing, fails, disappears or answers badly.
//
// Exchanges are counted from 1 over the emulator's whole life (the count is
// kept in its state file): every feature report set or fetched while the
// mouse is plugged in is one exchange.

#include <QString>

#include <cstdint>
#include <optional>

namespace k4812 {

constexpr const char* kEmulatorFaultsVariable = "K4812_EMULATOR_FAULTS";

struct EmulatorFaults {
    bool absent = false;                       // the mouse is not plugged in at all
    std::optional<std::uint32_t> failAt;       // this exchange fails (EIO) and changes nothing
    std::optional<std::uint32_t> unplugAfter;  // after this many exchanges the mouse is gone
    std::optional<std::uint32_t> shortAt;      // if this exchange fetches an answer, it comes back cut short
    std::optional<std::uint32_t> wrongAt;      // if this exchange fetches an answer, it has the wrong report ID
    std::optional<std::uint32_t> corruptAt;    // if this exchange writes memory, the mouse keeps its first byte
                                               // changed (bit 0 flipped) and reports success: a mouse that lies
};

// Parses a comma-separated list of "absent", "fail=N", "unplug=N", "short=N",
// "wrong=N" and "corrupt=N" (N decimal, at least 1; unplug also takes 0). Empty text is
// no fault. On bad text returns nothing and describes it in `error`.
std::optional<EmulatorFaults> parseEmulatorFaults(const QString& text, QString& error);

// The faults named by K4812_EMULATOR_FAULTS (none when it is unset).
std::optional<EmulatorFaults> emulatorFaultsFromEnvironment(QString& error);

} // namespace k4812
