#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "emulator/EmulatorHidBackend.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace k4812;

namespace {

using Bytes = std::vector<std::uint8_t>;
using LogEntry = MouseEmulator::LogEntry;

// The device link on an in-memory emulated mouse.
class Framing : public ::testing::Test {
protected:
    Framing()
    {
        auto backend = std::make_unique<EmulatorHidBackend>();
        m_emulator = backend.get();
        hid = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    }

    MouseEmulator& mouse() { return m_emulator->mouse(); }
    const std::vector<LogEntry>& log() { return mouse().log(); }

    std::unique_ptr<TuiHIDData> hid;

private:
    EmulatorHidBackend* m_emulator = nullptr;
};

// `head` followed by zeros up to `length` bytes.
Bytes report(Bytes head, std::size_t length)
{
    head.resize(length, 0);
    return head;
}

EmulatorFaults faults(const char* text)
{
    QString error;
    return parseEmulatorFaults(QString::fromLatin1(text), error).value();
}

Bytes counting(std::size_t n)
{
    Bytes b(n);
    std::iota(b.begin(), b.end(), std::uint8_t(1));
    return b;
}

} // namespace

TEST(ReportClasses, IdAndLengthAtEveryBoundary)
{
    const std::pair<std::size_t, std::uint8_t> ids[] = {
        {0, 2},    {16, 2},   {17, 3},   {64, 3},   {65, 4},   {1024, 4},
        {1025, 5}, {2048, 5}, {2049, 6}, {4096, 6}, {4097, 2},
    };
    for (const auto& [n, id] : ids)
        EXPECT_EQ(ReportIdForLength(n), id) << n;

    const std::pair<std::uint8_t, std::size_t> lengths[] = {
        {2, 16}, {3, 64}, {4, 1024}, {5, 2048}, {6, 4096}, {0, 16}, {1, 16}, {7, 16}, {255, 16},
    };
    for (const auto& [id, length] : lengths)
        EXPECT_EQ(ReportLength(id), length) << int(id);
}

TEST_F(Framing, EveryCommandGoesOutByteForByte)
{
    struct Case {
        const char* name;
        std::function<int(TuiHIDData&)> send;
        Bytes expected;
    };
    const Bytes one = {0x01};
    const Bytes b32 = counting(32), b65 = counting(65), b384 = counting(384), b1016 = counting(1016),
                b1017 = counting(1017), b2048 = counting(2048);
    auto write = [](std::uint16_t address, const Bytes& bytes) {
        return [address, &bytes](TuiHIDData& d) { return WriteDeviceMemory(d, address, bytes.data(), bytes.size()); };
    };
    auto writeReport = [](std::uint8_t id, std::uint16_t address, const Bytes& bytes) {
        Bytes r = {id, 0x02, std::uint8_t(address), std::uint8_t(address >> 8), std::uint8_t(bytes.size()),
                   std::uint8_t(bytes.size() >> 8), 0xFA, 0xFA};
        r.insert(r.end(), bytes.begin(), bytes.end());
        return report(r, ReportLength(id));
    };
    const Case cases[] = {
        {"1-byte write to 0x040", write(0x040, one),
         report({0x02, 0x02, 0x40, 0x00, 0x01, 0x00, 0xFA, 0xFA, 0x01}, 16)},
        {"32-byte write", write(0x048, b32), writeReport(3, 0x048, b32)},
        {"65-byte write", write(0x090, b65), writeReport(4, 0x090, b65)},
        {"384-byte write", write(0x9D1, b384), writeReport(4, 0x9D1, b384)},
        {"1016-byte write fills report 4", write(0x100, b1016), writeReport(4, 0x100, b1016)},
        {"1017-byte write needs report 5", write(0x100, b1017), writeReport(5, 0x100, b1017)},
        {"2048-byte write", write(0x200, b2048), writeReport(6, 0x200, b2048)},
        {"activate", [](TuiHIDData& d) { return SendActivate(d, 1, 3); }, report({0x02, 0x01, 0x01, 0x03}, 16)},
        {"light preview", [](TuiHIDData& d) { return SendLightPreview(d, {0x10, 0x20, 0x30, 0x40, 0x50}); },
         report({0x02, 0x04, 0x10, 0x20, 0x30, 0x40, 0x50, 0x00}, 16)},
        {"update mark begin", [](TuiHIDData& d) { return SendUpdateMark(d, 0); }, report({0x02, 0x06}, 16)},
        {"update mark end", [](TuiHIDData& d) { return SendUpdateMark(d, 1); }, report({0x02, 0x06, 0x01}, 16)},
    };
    for (const Case& c : cases) {
        mouse().clearLog();
        ASSERT_EQ(c.send(*hid), 0) << c.name;
        // One report although the interface also carries the pointer collection.
        ASSERT_EQ(log().size(), 1u) << c.name;
        EXPECT_EQ(log()[0].kind, LogEntry::Set) << c.name;
        EXPECT_EQ(log()[0].report, c.expected) << c.name;
        EXPECT_EQ(log()[0].result, 0) << c.name;
    }
    EXPECT_EQ(mouse().state().lastActivation, (std::array<std::uint8_t, 2>{1, 3}));
    EXPECT_EQ(mouse().state().shownLight, (std::array<std::uint8_t, 5>{0x10, 0x20, 0x30, 0x40, 0x50}));
    EXPECT_EQ(mouse().state().memory[0x040], 0x01);
}

TEST_F(Framing, ReadSendsTheRequestThenFetchesTheFittingReport)
{
    const Bytes cpi = counting(32);
    ASSERT_EQ(WriteDeviceMemory(*hid, 0x048, cpi.data(), cpi.size()), 0);
    mouse().clearLog();

    Bytes result(32, 0xEE);
    ASSERT_EQ(ReadDeviceMemory(*hid, 0x048, result.data(), result.size()), 0);
    EXPECT_EQ(result, cpi);
    ASSERT_EQ(log().size(), 2u);
    EXPECT_EQ(log()[0].kind, LogEntry::Set);
    EXPECT_EQ(log()[0].report, report({0x02, 0x03, 0x48, 0x00, 0x20, 0x00, 0xFA, 0xFA}, 16));
    EXPECT_EQ(log()[1].kind, LogEntry::Get);
    ASSERT_EQ(log()[1].report.size(), 64u);
    EXPECT_EQ(log()[1].report[0], 3);
    EXPECT_EQ(Bytes(log()[1].report.begin() + 8, log()[1].report.begin() + 40), cpi);

    // The longest read comes back in the 2048-byte report.
    Bytes big(kMaxReadPayload);
    ASSERT_EQ(ReadDeviceMemory(*hid, 0, big.data(), big.size()), 0);
    EXPECT_EQ(log().back().report.size(), 2048u);
    EXPECT_EQ(Bytes(big.begin() + 0x048, big.begin() + 0x068), cpi);
}

TEST_F(Framing, NothingIsSentForEmptyOrOversizedPayloads)
{
    Bytes buffer(4096, 0xAB);
    EXPECT_EQ(WriteDeviceMemory(*hid, 0x040, buffer.data(), 0), 0);
    EXPECT_EQ(ReadDeviceMemory(*hid, 0x040, buffer.data(), 0), 0);
    EXPECT_EQ(WriteDeviceMemory(*hid, 0, buffer.data(), kMaxWritePayload + 1), kErrorPayloadTooLong);
    EXPECT_EQ(ReadDeviceMemory(*hid, 0, buffer.data(), kMaxReadPayload + 1), kErrorPayloadTooLong);
    EXPECT_EQ(buffer, Bytes(4096, 0xAB));

    // A header whose length field does not match the payload, or that no report holds.
    const Bytes three(3, 0);
    EXPECT_EQ(SendCommand(*hid, MemoryCommandHeader(kCommandWriteMemory, 0, 4), three), kErrorPayloadMismatch);
    EXPECT_EQ(SendCommand(*hid, {kCommandActivate, 1, 0, 0, 0, 0, 0, 0}, three), kErrorPayloadMismatch);
    const Bytes huge(4089, 0);
    EXPECT_EQ(SendCommand(*hid, MemoryCommandHeader(kCommandWriteMemory, 0, 4089), huge), kErrorPayloadTooLong);
    std::vector<std::uint8_t> answer;
    EXPECT_EQ(QueryCommand(*hid, MemoryCommandHeader(kCommandReadMemory, 0, 4089), answer), kErrorPayloadTooLong);
    EXPECT_TRUE(log().empty());
}

TEST_F(Framing, FailedReadLeavesTheDestinationUntouched)
{
    struct Case {
        const char* name;
        const char* faults;
        int expected;
        std::size_t reports;  // exchanged with the mouse, failed or not
    };
    const Bytes stored = counting(32);
    const Case cases[] = {
        {"request fails", "fail=2", EIO, 1},
        {"answer fails", "fail=3", EIO, 2},
        {"unplugged between request and answer", "unplug=2", ENODEV, 1},
        {"answer cut short", "short=3", EIO, 2},
        {"answer under another report ID", "wrong=3", kErrorWrongAnswer, 2},
    };
    for (const Case& c : cases) {
        auto backend = std::make_unique<EmulatorHidBackend>();
        EmulatorHidBackend& emulator = *backend;
        TuiHIDData device(std::move(backend), {});
        ASSERT_EQ(WriteDeviceMemory(device, 0x948, stored.data(), stored.size()), 0) << c.name;  // exchange 1
        emulator.mouse().setFaults(faults(c.faults));
        emulator.mouse().clearLog();

        Bytes result(32, 0xEE);
        EXPECT_EQ(ReadDeviceMemory(device, 0x948, result.data(), result.size()), c.expected) << c.name;
        EXPECT_EQ(result, Bytes(32, 0xEE)) << c.name;
        EXPECT_EQ(emulator.mouse().log().size(), c.reports) << c.name;
    }
}

TEST_F(Framing, AbsentMouseGetsNothingAndSaysSo)
{
    mouse().setFaults(faults("absent"));
    const std::uint8_t value = 1;
    EXPECT_FALSE(hid->IsDeviceExist(THIDDataParam{}));
    EXPECT_EQ(WriteDeviceMemory(*hid, kActiveBankAddress, &value, 1), ENODEV);
    EXPECT_EQ(SendUpdateMark(*hid, kUpdateMarkBegin), ENODEV);
    EXPECT_TRUE(log().empty());
}
