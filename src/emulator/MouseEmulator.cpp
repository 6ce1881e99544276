#include "emulator/MouseEmulator.h"

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "wire/MemoryMap.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <algorithm>

namespace k4812 {

namespace {

constexpr std::size_t kHeaderSize = 8;
// Report ID of the pointer collection's input report: what a confused mouse
// might hand back instead of the answer asked for.
constexpr std::uint8_t kWrongAnswerId = 0x01;

std::optional<std::size_t> declaredLength(std::uint8_t id)
{
    for (const MouseEmulator::FeatureReport& r : MouseEmulator::kFeatureReports) {
        if (r.id == id)
            return r.length;
    }
    return std::nullopt;
}

// The shortest declared report holding `n` bytes.
const MouseEmulator::FeatureReport* reportFor(std::size_t n)
{
    for (const MouseEmulator::FeatureReport& r : MouseEmulator::kFeatureReports) {
        if (n <= r.length)
            return &r;
    }
    return nullptr;
}

std::uint16_t word(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

bool isExchange(const std::optional<std::uint32_t>& fault, std::uint32_t exchange)
{
    return fault.has_value() && *fault == exchange;
}

template <std::size_t N>
void put(std::vector<std::uint8_t>& memory, std::uint16_t address, const std::array<std::uint8_t, N>& block)
{
    std::copy(block.begin(), block.end(), memory.begin() + address);
}

// Both banks hold the factory default profile, encoded as an apply would send
// it; Mode 1 is active.
std::vector<std::uint8_t> buildFactoryMemory()
{
    std::vector<std::uint8_t> memory(kSettingsMemorySize, 0);
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    const auto copy = PrepareDeviceProfile(*profile);
    const MacroBlocks macros = EncodeMacroBlocks(*copy);
    for (int bank = 0; bank < kBankCount; ++bank) {
        put(memory, bankAddress(bank, kCpiBlockOffset), EncodeCpiBlock(*copy));
        put(memory, bankAddress(bank, kButtonBlockOffset), EncodeButtonBlock(*copy));
        for (int k = 0; k < kMacroBlockCount; ++k)
            put(memory, macroBlockAddress(bank, k), macros.blocks[k]);
        put(memory, bankAddress(bank, kLightBlockOffset), EncodeLightBlock(copy->ConfigInfo.LEDConfig));
    }
    const int rate = ReportRateCode(*copy);
    memory[kActiveBankAddress] = 0;
    memory[kReportRateAddress] = EncodeReportRateByte(rate, rate);
    memory[kWheelLightAddress] = EncodeWheelLightByte(copy->ConfigInfo.WheelLedOnOff, copy->ConfigInfo.HWVWheelValue);
    return memory;
}

} // namespace

std::vector<std::uint8_t> initialEmulatorMemory()
{
    static const std::vector<std::uint8_t> factory = buildFactoryMemory();
    return factory;
}

EmulatorState EmulatorState::initial()
{
    EmulatorState state;
    state.memory = initialEmulatorMemory();
    return state;
}

MouseEmulator::MouseEmulator() : m_state(EmulatorState::initial()) {}

MouseEmulator::MouseEmulator(EmulatorState state) : m_state(std::move(state)) {}

bool MouseEmulator::isPresent() const
{
    if (m_faults.absent)
        return false;
    return !(m_faults.unplugAfter.has_value() && m_state.exchangeCount >= *m_faults.unplugAfter);
}

int MouseEmulator::setFeature(const std::uint8_t* report, std::size_t length)
{
    int result = kErrorUnplugged;
    if (isPresent()) {
        const std::uint32_t exchange = ++m_state.exchangeCount;
        result = isExchange(m_faults.failAt, exchange) ? kErrorInjected : runCommand(report, length);
        if (result == 0 && isExchange(m_faults.corruptAt, exchange) && report[1] == 2 && word(report + 4) > 0)
            m_state.memory[word(report + 2)] ^= 0x01;
    }
    m_log.push_back({LogEntry::Set, {report, report + length}, result});
    return result;
}

int MouseEmulator::getFeature(std::uint8_t* report, std::size_t length)
{
    const std::uint8_t id = length > 0 ? report[0] : 0;
    int result = kErrorUnplugged;
    if (isPresent()) {
        const std::uint32_t exchange = ++m_state.exchangeCount;
        result = isExchange(m_faults.failAt, exchange) ? kErrorInjected : answer(report, length, exchange);
    }
    if (result == 0)
        m_log.push_back({LogEntry::Get, {report, report + length}, result});
    else
        m_log.push_back({LogEntry::Get, {id}, result});
    return result;
}

int MouseEmulator::runCommand(const std::uint8_t* report, std::size_t length)
{
    if (length < 16 || declaredLength(report[0]) != length)
        return kErrorMalformed;
    const std::uint8_t command = report[1];
    switch (command) {
    case 1:
        m_state.lastActivation = std::array<std::uint8_t, 2>{report[2], report[3]};
        return 0;
    case 2:
    case 3: {
        const std::size_t address = word(report + 2);
        const std::size_t n = word(report + 4);
        const std::size_t limit = command == 2 ? length : kLongestAnswer;
        if (kHeaderSize + n > limit)
            return kErrorTooLong;
        if (address + n > kSettingsMemorySize)
            return kErrorOutOfRange;
        if (command == 2) {
            std::copy_n(report + kHeaderSize, n, m_state.memory.begin() + std::ptrdiff_t(address));
            return 0;
        }
        // The answer carries a copy of the request's header, then the bytes.
        const FeatureReport* answerReport = reportFor(kHeaderSize + n);
        std::vector<std::uint8_t> answer(answerReport->length, 0);
        answer[0] = answerReport->id;
        std::copy_n(report + 1, kHeaderSize - 1, answer.begin() + 1);
        std::copy_n(m_state.memory.begin() + std::ptrdiff_t(address), n, answer.begin() + kHeaderSize);
        m_state.pendingAnswer = std::move(answer);
        return 0;
    }
    case 4:
        m_state.shownLight = std::array<std::uint8_t, 5>{report[2], report[3], report[4], report[5], report[6]};
        return 0;
    case 6:
        return report[2] <= 1 ? 0 : kErrorMalformed;
    default:
        return kErrorMalformed;
    }
}

int MouseEmulator::answer(std::uint8_t* report, std::size_t length, std::uint32_t exchange)
{
    if (length == 0 || declaredLength(report[0]) != length)
        return kErrorMalformed;
    std::vector<std::uint8_t>& pending = m_state.pendingAnswer;
    if (pending.empty() || pending[0] != report[0])
        return kErrorNoAnswer;
    const std::vector<std::uint8_t> answer = std::move(pending);
    pending.clear();
    if (isExchange(m_faults.shortAt, exchange)) {
        // Half the report arrives; the caller's buffer holds it, the rest is lost.
        std::copy_n(answer.begin(), length / 2, report);
        return kErrorInjected;
    }
    std::copy(answer.begin(), answer.end(), report);
    if (isExchange(m_faults.wrongAt, exchange))
        report[0] = kWrongAnswerId;
    return 0;
}

} // namespace k4812
