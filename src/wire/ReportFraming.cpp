#include "wire/ReportFraming.h"

#include <algorithm>
#include <memory>

namespace k4812 {

namespace {

struct ReportClass {
    std::uint8_t id;
    std::size_t length;
};

constexpr ReportClass kReportClasses[] = {{2, 16}, {3, 64}, {4, 1024}, {5, 2048}, {6, 4096}};
constexpr std::size_t kLargestReport = 4096;
constexpr std::uint8_t kShortReportId = 2;

bool isMemoryCommand(std::uint8_t command)
{
    return command == kCommandWriteMemory || command == kCommandReadMemory;
}

// A report buffer for one exchange. THIDDataParam holds 64 KB, too much for
// the stack.
std::unique_ptr<THIDDataParam> reportBuffer(std::uint8_t id, std::size_t length)
{
    auto param = std::make_unique<THIDDataParam>();
    param->UsageAndPage = kMouseUsageAndPage;
    param->Data.setReportID(id);
    param->Data.DATASIZE = std::uint32_t(length);
    return param;
}

// Report ID, then the header's first seven bytes.
void putHeader(THIDDataParam& param, const CommandHeader& header)
{
    std::copy(header.begin(), header.begin() + 7, param.Data.Report.begin() + 1);
}

} // namespace

std::uint8_t ReportIdForLength(std::size_t n)
{
    for (const ReportClass& c : kReportClasses) {
        if (n <= c.length)
            return c.id;
    }
    return kShortReportId;
}

std::size_t ReportLength(std::uint8_t reportId)
{
    for (const ReportClass& c : kReportClasses) {
        if (c.id == reportId)
            return c.length;
    }
    return 16;
}

CommandHeader MemoryCommandHeader(std::uint8_t command, std::uint16_t address, std::uint16_t length)
{
    return {command,
            std::uint8_t(address & 0xFF),
            std::uint8_t(address >> 8),
            std::uint8_t(length & 0xFF),
            std::uint8_t(length >> 8),
            0xFA,
            0xFA,
            0xFA};
}

std::size_t CommandPayloadLength(const CommandHeader& header)
{
    if (!isMemoryCommand(header[0]))
        return 0;
    return std::size_t(header[3]) | std::size_t(header[4]) << 8;
}

int SendCommand(TuiHIDData& device, const CommandHeader& header, std::span<const std::uint8_t> payload)
{
    const std::size_t n = CommandPayloadLength(header);
    if (payload.size() != n)
        return kErrorPayloadMismatch;
    // Beyond the largest report the ID table falls back to the 16-byte
    // report, which would cut the payload: refuse instead.
    if (n + kCommandHeaderSize > kLargestReport)
        return kErrorPayloadTooLong;
    const std::uint8_t id = ReportIdForLength(n + kCommandHeaderSize);
    auto param = reportBuffer(id, ReportLength(id));
    putHeader(*param, header);
    std::copy(payload.begin(), payload.end(), param->Data.Report.begin() + kCommandHeaderSize);
    return device.HidFindAndSetFeatureReport(*param);
}

int QueryCommand(TuiHIDData& device, const CommandHeader& header, std::vector<std::uint8_t>& answer)
{
    const std::size_t n = CommandPayloadLength(header);
    if (n + kCommandHeaderSize > kLargestReport)
        return kErrorPayloadTooLong;

    auto request = reportBuffer(kShortReportId, ReportLength(kShortReportId));
    putHeader(*request, header);
    if (const int error = device.HidFindAndSetFeatureReport(*request); error != 0)
        return error;

    const std::uint8_t id = ReportIdForLength(n + kCommandHeaderSize);
    auto reply = reportBuffer(id, ReportLength(id));
    if (const int error = device.HidFindAndGetFeatureReport(*reply); error != 0)
        return error;
    // The mouse's copy of the header is not examined, but an answer under
    // another report ID is not the answer asked for.
    if (reply->Data.ReportID() != id)
        return kErrorWrongAnswer;
    const auto first = reply->Data.Report.begin() + kCommandHeaderSize;
    answer.assign(first, first + std::ptrdiff_t(n));
    return 0;
}

int WriteDeviceMemory(TuiHIDData& device, std::uint16_t address, const std::uint8_t* bytes, std::size_t length)
{
    if (length == 0)
        return 0;
    if (length > kMaxWritePayload)
        return kErrorPayloadTooLong;
    const CommandHeader header = MemoryCommandHeader(kCommandWriteMemory, address, std::uint16_t(length));
    return SendCommand(device, header, std::span<const std::uint8_t>(bytes, length));
}

int ReadDeviceMemory(TuiHIDData& device, std::uint16_t address, std::uint8_t* bytes, std::size_t length)
{
    if (length == 0)
        return 0;
    if (length > kMaxReadPayload)
        return kErrorPayloadTooLong;
    std::vector<std::uint8_t> answer;
    const int error = QueryCommand(device, MemoryCommandHeader(kCommandReadMemory, address, std::uint16_t(length)),
                                   answer);
    if (error != 0)
        return error;
    std::copy(answer.begin(), answer.end(), bytes);
    return 0;
}

int SendActivate(TuiHIDData& device, std::uint8_t p1, std::uint8_t p2)
{
    return SendCommand(device, {kCommandActivate, p1, p2, 0, 0, 0, 0, 0}, {});
}

int SendLightPreview(TuiHIDData& device, const std::array<std::uint8_t, 5>& light)
{
    return SendCommand(device, {kCommandLightPreview, light[0], light[1], light[2], light[3], light[4], 0, 0}, {});
}

int SendUpdateMark(TuiHIDData& device, std::uint8_t phase)
{
    return SendCommand(device, {kCommandUpdateMark, phase, 0, 0, 0, 0, 0, 0}, {});
}

} // namespace k4812
