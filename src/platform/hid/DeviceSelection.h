#pragma once
// Which HID back end a program uses: the machine's hidraw devices (the
// default) or the mouse emulator, chosen only on request with
// --device=emulator[:STATEFILE] or K4812_DEVICE=emulator[:STATEFILE].

#include "platform/hid/HidBackend.h"

#include <QString>

#include <memory>
#include <optional>

namespace k4812 {

struct DeviceSelection {
    enum class Kind { Hidraw, Emulator };
    Kind kind = Kind::Hidraw;
    QString stateFile; // emulator only; empty means the default state file
};

// Parses "hidraw", "emulator" or "emulator:FILE". On a bad text returns
// nothing and describes the problem in `error`.
std::optional<DeviceSelection> parseDeviceSelection(const QString& text, QString& error);

// The --device option when given (non-empty), else K4812_DEVICE, else hidraw.
std::optional<DeviceSelection> resolveDeviceSelection(const QString& option, QString& error);

// The emulator's state file when none is named: in the user's data folder.
QString defaultEmulatorStateFile();

// Builds the back end for a selection. For the emulator: the default state
// file when none is named, its folder made, its faults taken from
// K4812_EMULATOR_FAULTS. Nothing, with the reason in `error`, when the back
// end cannot be made (a damaged state file, a bad fault list).
std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection, QString& error);
// The same, with the reason printed as a warning.
std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection);

} // namespace k4812
