#pragma once
// Reading the mouse's settings memory back: the blocks of a bank and the
// shared bytes fetched in as few exchanges as the mouse's answers allow
// (ReadDeviceMemory, at most 2040 bytes each), and a bank decoded into a
// profile record (BankDecoding.h).
//
// Neighbouring blocks are read together, gaps included, as long as one
// answer holds them: one bank with the shared bytes takes two exchanges
// (bank 0) or three (bank 1, whose blocks lie far from the shared bytes),
// the whole memory three. The reads follow each other without a pause; one
// pause follows the group, as the mouse gets after the reads of the CPI
// read-back.

#include "sequences/Pauser.h"
#include "wire/HidData.h"
#include "records/Records.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace k4812 {

// The pause after a group of reads.
constexpr int kPauseAfterReads = 50;

// What follows a group of reads: the pause, or, when the sequence sends
// nothing after them, the same quiet time left to whoever sends the mouse's
// next command (TuiHIDData::leaveQuietFor).
enum class AfterReads { Pause, LeaveQuiet };

struct MemorySpan {
    std::uint16_t address = 0;
    std::uint16_t length = 0;
    bool operator==(const MemorySpan&) const = default;
};

// The exchanges that read `needed` (spans in any order, overlapping or not):
// sorted, and cut so that no exchange asks for more than 2040 bytes; spans
// closer than that are read together with the bytes between them.
std::vector<MemorySpan> PlanReadExchanges(std::vector<MemorySpan> needed);

// The shared bytes (wheel light, selection, report rate) and the blocks of
// `bank`: CPI, buttons, the five macro blocks and the light.
std::vector<MemorySpan> BankSpans(int bank);
// The shared bytes and both banks.
std::vector<MemorySpan> SettingsSpans();

// Reads `needed` into `memory` (resized to the whole settings memory; bytes
// not read are 0), then pauses (or leaves the quiet time, as `after` says).
// Stops at the first failing exchange and returns its error (the pause is
// still made). `exchanges` counts the reads sent.
int ReadSettingsMemory(TuiHIDData& device, Pauser& pauser, const std::vector<MemorySpan>& needed,
                       std::vector<std::uint8_t>& memory, int* exchanges = nullptr,
                       AfterReads after = AfterReads::Pause);

// Reads bank `bank` with the shared bytes and decodes it into `profile`
// (what the mouse does not keep stays as `profile` had it). An empty text on
// success; else why not (a failed read, or the decoder's refusal), with
// `profile` unchanged.
QString ReadMouseBank(TuiHIDData& device, Pauser& pauser, int bank, TMOUSEPROFILEINFO& profile);

// The sentence for a failed read: "The mouse could not be read (error N: text)."
QString mouseReadErrorText(int error);

} // namespace k4812
