// Reading the mouse back: the exchanges a read takes, a bank read into a
// profile, and the check after an apply against a mouse that keeps a wrong
// byte.

#include "sequences/ApplySequence.h"
#include "sequences/MouseReadBack.h"
#include "profiles/FactoryDefaults.h"
#include "platform/desktop/TuiThread.h"
#include "wire/MemoryImage.h"
#include "wire/ReportFraming.h"
#include "records/RecordBytes.h"

#include "EmulatedMouse.h"
#include "RecordingHost.h"
#include "RecordingPauser.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace k4812;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingHost;
using k4812::test::RecordingPauser;

namespace {

TEST(MouseReadBackTest, ReadsArePlannedIntoTheFewestAnswers)
{
    struct Case {
        const char* what;
        std::vector<MemorySpan> needed;
        std::vector<MemorySpan> exchanges;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"one byte", {{0x040, 1}}, {{0x040, 1}}},
        {"overlapping and unsorted", {{0x050, 10}, {0x048, 12}, {0x03E, 1}}, {{0x03E, 0x5A - 0x3E}}},
        {"exactly one answer", {{0x000, 2040}}, {{0x000, 2040}}},
        {"one byte more", {{0x000, 2041}}, {{0x000, 2040}, {2040, 1}}},
        {"bank 0 with the shared bytes", BankSpans(0), {{0x03E, 2040}, {0x836, 0x887 - 0x836}}},
        {"bank 1 lies too far from the shared bytes", BankSpans(1),
         {{0x03E, 8}, {0x948, 2040}, {0x1140, 0x1187 - 0x1140}}},
        {"the whole memory", SettingsSpans(), {{0x03E, 2040}, {0x836, 2040}, {0x102E, 0x1187 - 0x102E}}},
        {"a gap an answer cannot bridge", {{0x000, 1}, {0x800, 1}}, {{0x000, 1}, {0x800, 1}}},
    };
    for (const Case& c : cases) {
        const std::vector<MemorySpan> planned = PlanReadExchanges(c.needed);
        ASSERT_EQ(planned.size(), c.exchanges.size()) << c.what;
        for (std::size_t i = 0; i < planned.size(); ++i) {
            EXPECT_EQ(planned[i].address, c.exchanges[i].address) << c.what << ", exchange " << i;
            EXPECT_EQ(planned[i].length, c.exchanges[i].length) << c.what << ", exchange " << i;
        }
    }
}

std::unique_ptr<TMOUSEPROFILEINFO> factoryProfile()
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*p);
    return p;
}

// The mouse as an apply of `profile` into bank 1 leaves it.
void configure(EmulatedMouse& mouse, const TMOUSEPROFILEINFO& profile)
{
    MemoryImage image;
    image.bytes = mouse.memory();
    const int rate1 = PutProfileIntoBank(image, profile, 1);
    image.bytes[kReportRateAddress] = std::uint8_t((image.bytes[kReportRateAddress] & 0x0F) | rate1 << 4);
    mouse.memory() = image.bytes;
}

int readsSent(EmulatedMouse& mouse)
{
    int n = 0;
    for (const test::SentCommand& c : mouse.sent())
        n += c.command == kCommandReadMemory ? 1 : 0;
    return n;
}

TEST(MouseReadBackTest, ABankIsReadInThreeExchangesAndOnePause)
{
    EmulatedMouse mouse;
    auto sent = factoryProfile();
    sent->ConfigInfo.ReportRate = 125;
    sent->ConfigInfo.LEDConfig = TLEDCONFIG{1, 2, 3, 3, 2, 0};
    configure(mouse, *sent);
    RecordingPauser pauser([&mouse] { return mouse.logSize(); });

    auto back = factoryProfile();
    EXPECT_EQ(ReadMouseBank(*mouse.hid, pauser, 1, *back), QString());
    EXPECT_EQ(int(back->ConfigInfo.ReportRate), 125);
    EXPECT_EQ(std::memcmp(&back->ConfigInfo.LEDConfig, &sent->ConfigInfo.LEDConfig, sizeof(TLEDCONFIG)), 0);
    EXPECT_EQ(readsSent(mouse), 3);
    EXPECT_EQ(pauser.pauses, (std::vector<RecordingPauser::Pause>{{kPauseAfterReads, 6}}));
    for (const test::SentCommand& c : mouse.sent())
        EXPECT_EQ(c.command, kCommandReadMemory) << "reading writes nothing";
}

TEST(MouseReadBackTest, AFailedReadOrAnUndecodableBankLeavesTheProfileAsItWas)
{
    struct Case {
        const char* faults;
        std::uint16_t poke;   // an address made undecodable; 0 = none
        const char* expected;
    };
    const Case cases[] = {
        {"fail=1", 0, "The mouse could not be read (error 5"},
        {"fail=4", 0, "The mouse could not be read (error 5"},
        {"short=6", 0, "The mouse could not be read (error 5"},
        {"wrong=2", 0, "The mouse could not be read (error 74"},
        {"absent", 0, "The mouse could not be read (error 19"},
        {"", 0x990, "Mode 2 of the mouse cannot be read: the button block of Mode 2 (0x990), byte 0"},
    };
    for (const Case& c : cases) {
        EmulatedMouse mouse;
        mouse.setFaults(c.faults);
        if (c.poke != 0)
            mouse.memory()[c.poke] = 0x2A;
        RecordingPauser pauser([&mouse] { return mouse.logSize(); });
        auto profile = factoryProfile();
        profile->ConfigInfo.ReportRate = 1000;
        const QByteArray before = recordToBytes(*profile);
        const QString problem = ReadMouseBank(*mouse.hid, pauser, 1, *profile);
        EXPECT_TRUE(problem.startsWith(QLatin1String(c.expected))) << c.faults << ": " << problem.toStdString();
        EXPECT_EQ(recordToBytes(*profile), before) << c.faults;
    }
}

} // namespace
