#pragma once
// Builds the HID back end a device selection names: hidraw, or the mouse
// emulator. It stands above both, so that the platform layer never needs the
// emulator.

#include "platform/hid/DeviceSelection.h"
#include "platform/hid/HidBackend.h"

#include <QString>

#include <memory>

namespace k4812 {

// Builds the back end for a selection. For the emulator: the default state
// file when none is named, its folder made, its faults taken from
// K4812_EMULATOR_FAULTS. Nothing, with the reason in `error`, when the back
// end cannot be made (a damaged state file, a bad fault list).
std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection, QString& error);
// The same, with the reason printed as a warning.
std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection);

} // namespace k4812
