#include "wire/MemoryMap.h"
#include "emulator/MouseEmulator.h"

#include <gtest/gtest.h>

using namespace k4812;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A report of `length` bytes: `head`, then zeros.
Bytes report(Bytes head, std::size_t length)
{
    head.resize(length, 0);
    return head;
}

// A memory command in report `id`: command, address, length, fillers, payload.
Bytes memoryCommand(std::uint8_t id, std::size_t length, std::uint8_t command, std::uint16_t address,
                    std::uint16_t count, const Bytes& payload = {})
{
    Bytes r = {id, command, std::uint8_t(address), std::uint8_t(address >> 8), std::uint8_t(count),
               std::uint8_t(count >> 8), 0xFA, 0xFA};
    r.insert(r.end(), payload.begin(), payload.end());
    return report(r, length);
}

EmulatorFaults faults(const char* text)
{
    QString error;
    return parseEmulatorFaults(QString::fromLatin1(text), error).value();
}

int set(MouseEmulator& mouse, const Bytes& r)
{
    return mouse.setFeature(r.data(), r.size());
}

int get(MouseEmulator& mouse, std::uint8_t id, std::size_t length, Bytes& out)
{
    out.assign(length, 0);
    out[0] = id;
    return mouse.getFeature(out.data(), out.size());
}

} // namespace

TEST(MouseEmulator, RefusesWhatACarefulFirmwareWouldAndChangesNothing)
{
    struct Case {
        const char* name;
        Bytes report;
        int expected;
    };
    const Case cases[] = {
        {"undeclared report ID 1", report({0x01, 0x06}, 16), MouseEmulator::kErrorMalformed},
        {"undeclared report ID 7", report({0x07, 0x06}, 16), MouseEmulator::kErrorMalformed},
        {"report 2 sent with 64 bytes", report({0x02, 0x06}, 64), MouseEmulator::kErrorMalformed},
        {"report 3 sent with 16 bytes", report({0x03, 0x06}, 16), MouseEmulator::kErrorMalformed},
        {"unknown command 5", report({0x02, 0x05}, 16), MouseEmulator::kErrorMalformed},
        {"command with bit 7 set", report({0x02, 0x82, 0x40, 0x00, 0x01}, 16), MouseEmulator::kErrorMalformed},
        {"update mark phase 2", report({0x02, 0x06, 0x02}, 16), MouseEmulator::kErrorMalformed},
        {"write past the memory", memoryCommand(2, 16, 2, 0x1186, 2, {1, 2}), MouseEmulator::kErrorOutOfRange},
        {"write far outside", memoryCommand(2, 16, 2, 0xFFFF, 1, {1}), MouseEmulator::kErrorOutOfRange},
        {"write longer than its report", memoryCommand(2, 16, 2, 0x000, 9, Bytes(8, 1)), MouseEmulator::kErrorTooLong},
        {"read past the memory", memoryCommand(2, 16, 3, 0x1180, 8), MouseEmulator::kErrorOutOfRange},
        {"read longer than an answer", memoryCommand(2, 16, 3, 0x000, 2041), MouseEmulator::kErrorTooLong},
    };
    for (const Case& c : cases) {
        MouseEmulator mouse;
        const EmulatorState before = mouse.state();
        EXPECT_EQ(set(mouse, c.report), c.expected) << c.name;
        EmulatorState after = mouse.state();
        EXPECT_EQ(after.exchangeCount, 1u) << c.name;
        after.exchangeCount = before.exchangeCount;
        EXPECT_EQ(after, before) << c.name;
        ASSERT_EQ(mouse.log().size(), 1u) << c.name;
        EXPECT_EQ(mouse.log()[0].report, c.report) << c.name;
        EXPECT_EQ(mouse.log()[0].result, c.expected) << c.name;
    }
}

TEST(MouseEmulator, MemoryEndsExactlyAfterBankOnesLightBlock)
{
    MouseEmulator mouse;
    const Bytes light = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(set(mouse, memoryCommand(2, 16, 2, bankAddress(1, kLightBlockOffset), 6, light)), 0);
    EXPECT_EQ(Bytes(mouse.state().memory.end() - 6, mouse.state().memory.end()), light);
    EXPECT_EQ(mouse.state().memory.size(), kSettingsMemorySize);
    // A write may use a longer report than it needs.
    ASSERT_EQ(set(mouse, memoryCommand(4, 1024, 2, 0x000, 2, {7, 8})), 0);
    EXPECT_EQ(mouse.state().memory[1], 8);
}

TEST(MouseEmulator, ReadAnswerWaitsInTheReportThatFitsItsLength)
{
    MouseEmulator mouse;
    ASSERT_EQ(set(mouse, memoryCommand(2, 16, 2, 0x040, 1, {0x01})), 0);
    ASSERT_EQ(set(mouse, memoryCommand(2, 16, 3, 0x03E, 9)), 0);  // 17 bytes: report 3

    Bytes answer;
    EXPECT_EQ(get(mouse, 2, 16, answer), MouseEmulator::kErrorNoAnswer);
    EXPECT_EQ(get(mouse, 3, 63, answer), MouseEmulator::kErrorMalformed);
    ASSERT_EQ(get(mouse, 3, 64, answer), 0);
    // The factory wheel-light byte, the written selection, the factory report-rate byte.
    const Bytes expected =
        report({0x03, 0x03, 0x3E, 0x00, 0x09, 0x00, 0xFA, 0xFA, 0x81, 0, 0x01, 0, 0, 0, 0, 0x22}, 64);
    EXPECT_EQ(answer, expected);
    // Fetched once only.
    EXPECT_EQ(get(mouse, 3, 64, answer), MouseEmulator::kErrorNoAnswer);

    const auto& log = mouse.log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2].kind, MouseEmulator::LogEntry::Get);
    EXPECT_EQ(log[2].report, Bytes{0x02});
    EXPECT_EQ(log[4].report, expected);
}

TEST(MouseEmulator, RemembersLightPreviewAndActivation)
{
    MouseEmulator mouse;
    EXPECT_FALSE(mouse.state().shownLight);
    EXPECT_FALSE(mouse.state().lastActivation);
    ASSERT_EQ(set(mouse, report({0x02, 0x04, 0xFF, 0x00, 0x7F, 0x03, 0x02}, 16)), 0);
    ASSERT_EQ(set(mouse, report({0x02, 0x01, 0x01, 0x04}, 16)), 0);
    EXPECT_EQ(mouse.state().shownLight, (std::array<std::uint8_t, 5>{0xFF, 0x00, 0x7F, 0x03, 0x02}));
    EXPECT_EQ(mouse.state().lastActivation, (std::array<std::uint8_t, 2>{0x01, 0x04}));
    EXPECT_EQ(mouse.state().memory, initialEmulatorMemory());
}

TEST(MouseEmulator, InjectedFaults)
{
    const Bytes write = memoryCommand(2, 16, 2, 0x045, 1, {0x41});

    MouseEmulator failing;
    failing.setFaults(faults("fail=2"));
    EXPECT_EQ(set(failing, write), 0);
    failing.state().memory[0x045] = 0;
    EXPECT_EQ(set(failing, write), EIO);
    EXPECT_EQ(failing.state().memory[0x045], 0);
    EXPECT_EQ(set(failing, write), 0);
    EXPECT_EQ(failing.state().memory[0x045], 0x41);

    MouseEmulator unplugged;
    unplugged.setFaults(faults("unplug=1"));
    EXPECT_TRUE(unplugged.isPresent());
    EXPECT_EQ(set(unplugged, write), 0);
    EXPECT_FALSE(unplugged.isPresent());
    unplugged.state().memory[0x045] = 0;
    EXPECT_EQ(set(unplugged, write), ENODEV);
    EXPECT_EQ(unplugged.state().memory[0x045], 0);
    EXPECT_EQ(unplugged.state().exchangeCount, 1u);
    EXPECT_EQ(unplugged.log().size(), 2u);

    MouseEmulator absent;
    absent.setFaults(faults("absent"));
    EXPECT_FALSE(absent.isPresent());
    EXPECT_EQ(set(absent, write), ENODEV);

    // A short answer arrives half; a wrong one under the pointer's report ID.
    MouseEmulator answering;
    answering.setFaults(faults("short=2,wrong=4"));
    const Bytes request = memoryCommand(2, 16, 3, 0x000, 1);
    Bytes answer;
    ASSERT_EQ(set(answering, request), 0);
    EXPECT_EQ(get(answering, 2, 16, answer), EIO);
    EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 8), Bytes(request.begin(), request.begin() + 8));
    EXPECT_EQ(Bytes(answer.begin() + 8, answer.end()), Bytes(8, 0));
    ASSERT_EQ(set(answering, request), 0);
    EXPECT_EQ(get(answering, 2, 16, answer), 0);
    EXPECT_EQ(answer[0], 0x01);
}

TEST(EmulatorFaults, ParsesTheFaultList)
{
    QString error;
    const auto all = parseEmulatorFaults(" absent, fail=3,unplug=0 ,short=1,wrong=12", error);
    ASSERT_TRUE(all) << error.toStdString();
    EXPECT_TRUE(all->absent);
    EXPECT_EQ(all->failAt, 3u);
    EXPECT_EQ(all->unplugAfter, 0u);
    EXPECT_EQ(all->shortAt, 1u);
    EXPECT_EQ(all->wrongAt, 12u);

    const auto none = parseEmulatorFaults("", error);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->absent || none->failAt || none->unplugAfter || none->shortAt || none->wrongAt);

    for (const char* bad : {"fail", "fail=", "fail=0", "fail=-1", "fail=x", "fail=+2", "burn=1", "absent=1",
                            "fail=1,fail=2", "fail=99999999999", ","}) {
        error.clear();
        EXPECT_FALSE(parseEmulatorFaults(QString::fromLatin1(bad), error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}
