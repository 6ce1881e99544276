#pragma once
// Which HID back end a program uses: the machine's hidraw devices (the
// default) or the mouse emulator, chosen only on request with
// --device=emulator[:STATEFILE] or K4812_DEVICE=emulator[:STATEFILE].

#include <QString>

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

} // namespace k4812
