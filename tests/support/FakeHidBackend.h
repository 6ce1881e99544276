#pragma once
// A scriptable HID back end for tests of the device link: a list of
// collections, a log of every open, set and get, and answers on request.

#include "platform/hid/HidBackend.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace k4812::test {

class FakeHidBackend final : public HidBackend {
public:
    struct Event {
        enum Kind { Open, Set, Get } kind;
        std::string path;
        std::vector<std::uint8_t> report;  // as sent, or as returned
    };

    std::vector<HidCollection> collections;
    std::vector<Event> events;
    // Paths that cannot be opened, and the error their open gives.
    std::vector<std::string> unopenable;
    int openError = EACCES;
    // Result of every set/get (0 = success), unless the interface's path has
    // its own result below.
    int setResult = 0;
    int getResult = 0;
    std::map<std::string, int> setResultOf;
    std::map<std::string, int> getResultOf;
    // Fills the report of a get; by default leaves it with its report ID only.
    std::function<void(const std::string& path, std::uint8_t* report, std::size_t length)> answer;

    std::vector<HidCollection> enumerate() override { return collections; }
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;

    std::size_t count(Event::Kind kind) const;

    // A collection of the mouse's configuration interface.
    static HidCollection mouseCollection(const std::string& path, std::uint32_t featureLength = 4096,
                                         std::vector<std::string> ids = {"HID\\VID_1234&PID_5678&Col01"});
};

} // namespace k4812::test
