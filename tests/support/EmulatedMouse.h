#pragma once
// The device link on an in-memory emulated mouse, with the reports it
// received read back as commands.

#include "wire/HidData.h"
#include "emulator/EmulatorFaults.h"
#include "emulator/EmulatorHidBackend.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace k4812::test {

using Bytes = std::vector<std::uint8_t>;

// A report the mouse was sent, taken apart.
struct SentCommand {
    std::uint8_t reportId = 0;
    std::size_t reportLength = 0;
    std::uint8_t command = 0;
    std::uint16_t address = 0;   // memory commands; p1, p2 otherwise
    std::uint16_t length = 0;    // memory commands; p3, p4 otherwise
    Bytes payload;               // a write's bytes; the five parameter bytes of the others
};

class EmulatedMouse {
public:
    EmulatedMouse()
    {
        auto backend = std::make_unique<EmulatorHidBackend>();
        m_emulator = backend.get();
        hid = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    }

    MouseEmulator& mouse() { return m_emulator->mouse(); }
    std::vector<std::uint8_t>& memory() { return mouse().state().memory; }
    std::size_t logSize() { return mouse().log().size(); }

    void setFaults(const char* text)
    {
        QString error;
        mouse().setFaults(parseEmulatorFaults(QString::fromLatin1(text), error).value());
    }

    // Every set report, in order.
    std::vector<SentCommand> sent()
    {
        std::vector<SentCommand> result;
        for (const MouseEmulator::LogEntry& entry : mouse().log()) {
            if (entry.kind != MouseEmulator::LogEntry::Set)
                continue;
            const Bytes& r = entry.report;
            SentCommand c;
            c.reportId = r[0];
            c.reportLength = r.size();
            c.command = r[1];
            c.address = std::uint16_t(r[2] | r[3] << 8);
            c.length = std::uint16_t(r[4] | r[5] << 8);
            if (c.command == 2)
                c.payload.assign(r.begin() + 8, r.begin() + 8 + c.length);
            else
                c.payload.assign(r.begin() + 2, r.begin() + 7);
            result.push_back(c);
        }
        return result;
    }

    std::unique_ptr<TuiHIDData> hid;

private:
    EmulatorHidBackend* m_emulator = nullptr;
};

} // namespace k4812::test
