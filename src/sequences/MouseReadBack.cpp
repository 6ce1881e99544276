#include "sequences/MouseReadBack.h"

#include "profiles/BankDecoding.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

#include <algorithm>
#include <cstring>

namespace k4812 {

namespace {

constexpr MemorySpan kSharedBytes{kWheelLightAddress, std::uint16_t(kReportRateAddress + 1 - kWheelLightAddress)};

MemorySpan bankBlocks(int bank)
{
    const std::uint16_t first = bankAddress(bank, kCpiBlockOffset);
    const std::uint16_t end = std::uint16_t(bankAddress(bank, kLightBlockOffset) + kLightBlockSize);
    return {first, std::uint16_t(end - first)};
}

} // namespace

std::vector<MemorySpan> PlanReadExchanges(std::vector<MemorySpan> needed)
{
    // Merged needed intervals [first, second), ascending.
    std::sort(needed.begin(), needed.end(), [](const MemorySpan& a, const MemorySpan& b) { return a.address < b.address; });
    std::vector<std::pair<std::size_t, std::size_t>> intervals;
    for (const MemorySpan& span : needed) {
        const std::size_t first = span.address;
        const std::size_t end = first + span.length;
        if (span.length == 0)
            continue;
        if (!intervals.empty() && first <= intervals.back().second)
            intervals.back().second = std::max(intervals.back().second, end);
        else
            intervals.emplace_back(first, end);
    }
    // Each exchange starts at the first byte still needed and takes every
    // needed byte its answer can hold: the fewest exchanges there can be.
    std::vector<MemorySpan> exchanges;
    std::size_t covered = 0;
    std::size_t i = 0;
    while (i < intervals.size()) {
        const std::size_t start = std::max(intervals[i].first, covered);
        if (start >= intervals[i].second) {
            ++i;
            continue;
        }
        const std::size_t limit = start + kMaxReadPayload;
        std::size_t end = start;
        while (i < intervals.size() && intervals[i].first < limit) {
            end = std::min(intervals[i].second, limit);
            if (intervals[i].second > limit)
                break;
            ++i;
        }
        exchanges.push_back({std::uint16_t(start), std::uint16_t(end - start)});
        covered = end;
    }
    return exchanges;
}

std::vector<MemorySpan> BankSpans(int bank)
{
    return {kSharedBytes, bankBlocks(bank)};
}

std::vector<MemorySpan> SettingsSpans()
{
    return {kSharedBytes, bankBlocks(0), bankBlocks(1)};
}

int ReadSettingsMemory(TuiHIDData& device, Pauser& pauser, const std::vector<MemorySpan>& needed,
                       std::vector<std::uint8_t>& memory, int* exchanges, AfterReads after)
{
    memory.assign(kSettingsMemorySize, 0);
    int count = 0;
    int error = 0;
    for (const MemorySpan& exchange : PlanReadExchanges(needed)) {
        ++count;
        error = ReadDeviceMemory(device, exchange.address, memory.data() + exchange.address, exchange.length);
        if (error != 0)
            break;
    }
    if (after == AfterReads::LeaveQuiet)
        device.leaveQuietFor(kPauseAfterReads);
    else
        pauser.pause(kPauseAfterReads);
    if (exchanges != nullptr)
        *exchanges = count;
    return error;
}

QString mouseReadErrorText(int error)
{
    return QStringLiteral("The mouse could not be read (error %1: %2).").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
}

QString ReadMouseBank(TuiHIDData& device, Pauser& pauser, int bank, TMOUSEPROFILEINFO& profile)
{
    if (bank < 0 || bank >= kBankCount)
        return QStringLiteral("There is no Mode %1; the mouse has Mode 1 and Mode 2.").arg(bank + 1);
    std::vector<std::uint8_t> memory;
    const int error = ReadSettingsMemory(device, pauser, BankSpans(bank), memory);
    if (error != 0)
        return mouseReadErrorText(error);
    const QString problem = DecodeBankIntoProfile(memory, bank, profile);
    if (!problem.isEmpty())
        return QStringLiteral("Mode %1 of the mouse cannot be read: %2.").arg(bank + 1).arg(problem);
    return {};
}

} // namespace k4812
