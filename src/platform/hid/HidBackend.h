#pragma once
// The layer between the device code and a machine's HID devices.
//
// A back end lists every top-level collection of every HID interface it can
// see, with the capabilities Windows would report for it, and opens the
// interface of a collection to exchange feature reports. The real back end
// reads hidraw through libudev; the emulator back end plays the mouse.
// Nothing above this layer knows which one it has.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace k4812 {

struct HidCollection {
    std::string path;                  // what open() needs, e.g. /dev/hidraw3
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // Report byte lengths as Windows computes them: the longest report of
    // the collection plus one byte for the report ID; 0 when there is none.
    std::uint32_t inputReportByteLength = 0;
    std::uint32_t outputReportByteLength = 0;
    std::uint32_t featureReportByteLength = 0;
    // The strings Windows would list as the collection's hardware IDs, then
    // the Linux modalias.
    std::vector<std::string> hardwareIds;
};

// An open HID interface; closed when destroyed. Error codes are errno values.
class HidDeviceHandle {
public:
    virtual ~HidDeviceHandle() = default;
    // Sends one feature report; report[0] is the report ID and `length`
    // counts it. Returns 0 or an errno value.
    virtual int setFeature(const std::uint8_t* report, std::size_t length) = 0;
    // Fetches one feature report of `length` bytes; on entry report[0] holds
    // the report ID. Returns 0 or an errno value; on failure the buffer may
    // have been written.
    virtual int getFeature(std::uint8_t* report, std::size_t length) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every top-level collection present, in enumeration order.
    virtual std::vector<HidCollection> enumerate() = 0;
    // Opens the interface that carries `collection`. On failure returns
    // nullptr and stores an errno value in `error`.
    virtual std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) = 0;
    // The identity of the mouse behind `collection` that every program of
    // the project computes alike, for the lock that keeps their device
    // sequences apart; empty when no other process can reach it.
    virtual std::string lockIdentity(const HidCollection& /*collection*/) { return {}; }

    // A device sequence runs from beginSequence() to the matching
    // endSequence() (calls nest), with the one-writer lock held all along. A
    // back end that keeps the mouse's state in a file (the emulator) reads it
    // at the beginning, keeps it in memory meanwhile and stores it once at
    // the end. Both may run on another thread than the exchanges, while none
    // runs. endSequence() returns why what the sequence changed could not be
    // stored, or an empty text.
    virtual void beginSequence() {}
    virtual std::string endSequence() { return {}; }
};

} // namespace k4812
