#pragma once
// What an apply leaves in the mouse's settings memory, built without a
// mouse: the blocks the encoders make for a profile, laid at their addresses,
// with a note of which bytes were written. The verification after an apply
// compares the mouse's memory with it; tests use it to fill an emulated
// memory.

#include "wire/DeviceByte.h"
#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <cstdint>
#include <span>
#include <vector>

namespace k4812 {

struct MemoryImage {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kSettingsMemorySize, 0);
    std::vector<bool> written = std::vector<bool>(kSettingsMemorySize, false);

    void put(std::uint16_t address, std::span<const std::uint8_t> block);
};

// The blocks an apply writes for `profile` into `bank`: the button block, the
// macro blocks 0 to 3 that hold a macro (only the bytes in use), macro block
// 4 whole, the light block and the CPI block. Returns the profile's
// report-rate code, which the caller combines with the other bank's.
int PutProfileIntoBank(MemoryImage& image, const TMOUSEPROFILEINFO& profile, int bank, EncodingNotes* notes = nullptr);

// The shared bytes an apply writes: report rate, active mode, wheel light.
void PutSharedBytes(MemoryImage& image, int rateCode0, int rateCode1, int activeMode, const TMOUSEPROFILEINFO& current);

} // namespace k4812
