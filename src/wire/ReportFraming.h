#pragma once
// The mouse's command protocol: a command is an 8-byte header plus an
// optional payload, framed into the shortest of the mouse's five feature
// reports that holds it, and sent through the device link. Reads are a set
// of the request followed by a get of the answer.
//
// Every operation returns 0 or an errno value; nothing is retried.

#include "wire/HidData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace k4812 {

// Command codes (byte 1 of a report).
constexpr std::uint8_t kCommandActivate = 1;
constexpr std::uint8_t kCommandWriteMemory = 2;
constexpr std::uint8_t kCommandReadMemory = 3;
constexpr std::uint8_t kCommandLightPreview = 4;
constexpr std::uint8_t kCommandUpdateMark = 6;

// Phases of SendUpdateMark.
constexpr std::uint8_t kUpdateMarkBegin = 0;
constexpr std::uint8_t kUpdateMarkEnd = 1;

// The header as callers build it: command, p1 ... p7. On the wire the report
// ID goes in front and the last byte is dropped.
using CommandHeader = std::array<std::uint8_t, 8>;
constexpr std::size_t kCommandHeaderSize = 8;

// Largest payloads: a write must fit the largest report (4096 bytes), but the
// mouse's answers stay within the 2048-byte report.
constexpr std::size_t kMaxWritePayload = 2048;
constexpr std::size_t kMaxReadPayload = 2048 - kCommandHeaderSize;

// Refused before anything is sent: a payload that cannot fit its report.
constexpr int kErrorPayloadTooLong = EMSGSIZE;
// Refused before anything is sent: a payload whose size is not the header's.
constexpr int kErrorPayloadMismatch = EINVAL;
// The answer to a read came back under another report ID.
constexpr int kErrorWrongAnswer = EBADMSG;

// 2, 3, 4, 5 or 6 for the shortest report of at least `n` bytes; 2 when no
// report is long enough (no command is).
std::uint8_t ReportIdForLength(std::size_t n);
// Length of a report including its ID byte: 16, 64, 1024, 2048, 4096; 16 for
// an unknown ID.
std::size_t ReportLength(std::uint8_t reportId);

// Header of a memory command: command, address, length, 0xFA, 0xFA, 0xFA.
CommandHeader MemoryCommandHeader(std::uint8_t command, std::uint16_t address, std::uint16_t length);

// The payload length a header announces: its length field for memory
// commands, 0 for every other command.
std::size_t CommandPayloadLength(const CommandHeader& header);

// Frames and sends one command. `payload` must hold exactly the bytes the
// header announces, and header plus payload must fit the largest report.
int SendCommand(TuiHIDData& device, const CommandHeader& header, std::span<const std::uint8_t> payload);

// Sends the header alone as a 16-byte report, then fetches the answer from
// the report that fits header plus the announced length. On success `answer`
// holds the answer's payload; on failure it is untouched.
int QueryCommand(TuiHIDData& device, const CommandHeader& header, std::vector<std::uint8_t>& answer);

// Command 2. Length 0 sends nothing and succeeds; more than 2048 bytes is
// refused.
int WriteDeviceMemory(TuiHIDData& device, std::uint16_t address, const std::uint8_t* bytes, std::size_t length);
// Command 3. On success copies `length` bytes into `bytes`; on failure leaves
// them untouched. Length 0 sends nothing and succeeds; more than 2040 bytes
// is refused.
int ReadDeviceMemory(TuiHIDData& device, std::uint16_t address, std::uint8_t* bytes, std::size_t length);
// Command 1: make the written settings take effect.
int SendActivate(TuiHIDData& device, std::uint8_t p1, std::uint8_t p2);
// Command 4: show a light setting (not G, not B, not R, brightness, breathing
// speed) without storing it.
int SendLightPreview(TuiHIDData& device, const std::array<std::uint8_t, 5>& light);
// Command 6: phase 0 before a group of commands, phase 1 after it.
int SendUpdateMark(TuiHIDData& device, std::uint8_t phase);

} // namespace k4812
