// libFuzzer target: the emulator's state file. A file that decodes encodes
// back to the same bytes, saves and loads again to the same state, and the
// mouse it describes answers the pending fetch and a read of every block
// without leaving its memory.

#include "FuzzSupport.h"

#include "emulator/EmulatorStateFile.h"
#include "emulator/MouseEmulator.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace k4812;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const std::optional<EmulatorState> state = decodeEmulatorState(bytes, error);
    if (!state) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (encodeEmulatorState(*state) != bytes)
        std::abort();

    const QString file = fuzz::scratchFolder() + QStringLiteral("/state.emu");
    if (!saveEmulatorState(file, *state, error))
        std::abort();
    const std::optional<EmulatorState> loaded = loadEmulatorState(file, error);
    if (!loaded || !(*loaded == *state))
        std::abort();

    MouseEmulator mouse(*state);
    // The answer it says is waiting, fetched in every report length.
    for (const MouseEmulator::FeatureReport& report : MouseEmulator::kFeatureReports) {
        std::vector<std::uint8_t> buffer(report.length, 0);
        buffer[0] = report.id;
        (void)mouse.getFeature(buffer.data(), buffer.size());
    }
    // A read of 8 bytes at a few addresses, inside the memory and just past it.
    for (std::uint16_t address : {std::uint16_t(0), std::uint16_t(0x040), std::uint16_t(0x1180), std::uint16_t(0x1187)}) {
        std::uint8_t command[16] = {2, 1, std::uint8_t(address), std::uint8_t(address >> 8), 8, 0};
        if (mouse.setFeature(command, sizeof command) == 0) {
            std::uint8_t answer[16] = {2};
            (void)mouse.getFeature(answer, sizeof answer);
        }
    }
    return 0;
}
