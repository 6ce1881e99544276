#pragma once
// The mouse emulator's state file, so that separate runs of the programs see
// the same mouse.
//
// Binary, little-endian:
//   0   8  "K4812EMU"
//   8   4  format version (1)
//   12  4  exchange count
//   16  1  flags: bit 0 a light preview is shown, bit 1 an activation was received
//   17  5  shown light
//   22  2  last activation
//   24  2  length of the pending answer report (0 = none)
//   26     the settings memory (0x1187 bytes)
//   ...    the pending answer report
//   end 2  CRC-16 (ISO 3309) of every byte before it
// A file that deviates in any way is refused as damaged, never replaced.

#include "emulator/MouseEmulator.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace k4812 {

QByteArray encodeEmulatorState(const EmulatorState& state);
// Nothing, with the reason in `error`, when `bytes` are not a valid state.
std::optional<EmulatorState> decodeEmulatorState(const QByteArray& bytes, QString& error);

// Reads a state file; a file that does not exist is a new mouse. Nothing,
// with a message naming the file in `error`, when it cannot be read, is not a
// regular file, is longer than kMaxEmulatorStateBytes or is damaged.
constexpr qint64 kMaxEmulatorStateBytes = 1024 * 1024;
std::optional<EmulatorState> loadEmulatorState(const QString& path, QString& error);
// Replaces the state file atomically (a temporary file in the same folder,
// then a rename), so that a crash leaves the old state or the new one.
// Durable::Yes flushes the new file to the disk before the rename and the
// folder after it; Durable::No leaves that to syncEmulatorState: other
// processes, and a killed one, still see either the old whole state or the
// new one, because the rename is atomic either way.
enum class Durable { No, Yes };
bool saveEmulatorState(const QString& path, const EmulatorState& state, QString& error,
                       Durable durable = Durable::Yes);
// Flushes the state file and its folder to the disk.
bool syncEmulatorState(const QString& path, QString& error);

} // namespace k4812
