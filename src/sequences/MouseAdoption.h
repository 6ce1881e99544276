#pragma once
// A mouse already set up elsewhere, met at the first start: reading what its
// memory holds, and taking both banks over as the profiles bound to Mode 1
// and Mode 2, so that the first OK does not overwrite them with the factory
// settings.

#include "sequences/Pauser.h"
#include "wire/HidData.h"

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace k4812 {

class TDM;

// Reads both banks and the shared bytes into `memory`. An empty text on
// success, else why not.
QString ReadWholeMouse(TuiHIDData& device, Pauser& pauser, std::vector<std::uint8_t>& memory);

// Decodes bank 0 into the profile bound to Mode 1 and bank 1 into the profile
// bound to Mode 2 (what the mouse does not keep, such as names, stays as the
// profile had it), checks each as an imported profile is checked, and stores
// each with its file and registry value together; the working copy follows.
// A bank that cannot be decoded or kept is refused with the reason before
// anything is stored. When both modes share one profile, it takes the bank
// of the active mode. A failed store throws StorageError.
QString AdoptMouseBanks(TDM& dm, std::span<const std::uint8_t> memory);

} // namespace k4812
