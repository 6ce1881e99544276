#pragma once
// The mouse emulator's device model: the mouse as its configuration
// interface behaves, with no I/O of its own.
//
// It keeps the settings memory and carries out the five commands. A write
// stores bytes; a read prepares an answer that the next fetch of the report
// fitting its length returns; a light preview and an activation are
// remembered. Like a careful firmware it refuses, changing nothing, a report
// it does not declare, a command it does not know, and an access outside the
// memory or longer than its report allows. It logs every report in order and
// can show the faults of EmulatorFaults.

#include "emulator/EmulatorFaults.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace k4812 {

// What the mouse keeps between exchanges; the state file holds exactly this.
struct EmulatorState {
    std::vector<std::uint8_t> memory;                       // the whole settings memory
    std::optional<std::array<std::uint8_t, 5>> shownLight;  // last light preview
    std::optional<std::array<std::uint8_t, 2>> lastActivation;
    std::vector<std::uint8_t> pendingAnswer;                // a whole report, ID first; empty = none
    std::uint32_t exchangeCount = 0;                        // for the faults

    // A mouse fresh from the factory.
    static EmulatorState initial();
    bool operator==(const EmulatorState&) const = default;
};

// The settings memory of a mouse fresh from the factory: both banks hold the
// factory default profile as an apply would encode it, Mode 1 (bank 0) is
// active, both banks report at 500 Hz (0x22), the wheel light is on with
// wheel value 1 (0x81).
std::vector<std::uint8_t> initialEmulatorMemory();

class MouseEmulator {
public:
    // Error codes of a refused or failed exchange.
    static constexpr int kErrorMalformed = EINVAL;    // undeclared report, wrong length, unknown command
    static constexpr int kErrorOutOfRange = EFAULT;   // access outside the settings memory
    static constexpr int kErrorTooLong = EMSGSIZE;    // payload longer than its report allows
    static constexpr int kErrorNoAnswer = EPIPE;      // fetch of a report with no answer waiting
    static constexpr int kErrorInjected = EIO;        // injected failure, or an answer cut short
    static constexpr int kErrorUnplugged = ENODEV;    // the mouse is gone

    // The mouse's feature reports: ID and length including the ID byte.
    struct FeatureReport {
        std::uint8_t id;
        std::size_t length;
    };
    static constexpr FeatureReport kFeatureReports[] = {{2, 16}, {3, 64}, {4, 1024}, {5, 2048}, {6, 4096}};
    // Answers are sent in reports of at most this length.
    static constexpr std::size_t kLongestAnswer = 2048;

    struct LogEntry {
        enum Kind { Set, Get } kind;
        // A set: the report as received. A get: the report as returned, or
        // only the requested report ID when it failed.
        std::vector<std::uint8_t> report;
        int result;
    };

    MouseEmulator();
    explicit MouseEmulator(EmulatorState state);

    // Whether the mouse is plugged in (faults "absent" and "unplug").
    bool isPresent() const;

    // One feature report to the mouse; report[0] is the ID, `length` counts it.
    int setFeature(const std::uint8_t* report, std::size_t length);
    // One feature report from the mouse; on entry report[0] is the ID.
    int getFeature(std::uint8_t* report, std::size_t length);

    EmulatorState& state() { return m_state; }
    const EmulatorState& state() const { return m_state; }
    void setFaults(const EmulatorFaults& faults) { m_faults = faults; }
    const EmulatorFaults& faults() const { return m_faults; }
    const std::vector<LogEntry>& log() const { return m_log; }
    void clearLog() { m_log.clear(); }

private:
    int runCommand(const std::uint8_t* report, std::size_t length);
    int answer(std::uint8_t* report, std::size_t length, std::uint32_t exchange);

    EmulatorState m_state;
    EmulatorFaults m_faults;
    std::vector<LogEntry> m_log;
};

} // namespace k4812
