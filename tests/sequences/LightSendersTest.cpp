#include "sequences/LightSenders.h"
#include "wire/MemoryMap.h"

#include "DefaultProfileFixture.h"
#include "EmulatedMouse.h"
#include "RecordingPauser.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::Bytes;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingPauser;
using k4812::test::SentCommand;

namespace {

class LightSenders : public ::testing::Test {
protected:
    LightSenders() : pauser([this] { return emulated.logSize(); }), profile(test::makeDefaultProfile()) {}

    Bytes memoryAt(std::uint16_t address, std::size_t length)
    {
        return Bytes(emulated.memory().begin() + address, emulated.memory().begin() + address + length);
    }

    // The commands as (command, first bytes after it): what the mouse saw.
    std::vector<std::pair<std::uint8_t, Bytes>> commands()
    {
        std::vector<std::pair<std::uint8_t, Bytes>> result;
        for (const SentCommand& c : emulated.sent()) {
            Bytes what = c.payload;
            if (c.command == 2)
                what.insert(what.begin(), {std::uint8_t(c.address), std::uint8_t(c.address >> 8)});
            result.emplace_back(c.command, what);
        }
        return result;
    }

    EmulatedMouse emulated;
    RecordingPauser pauser;
    std::unique_ptr<TMOUSEPROFILEINFO> profile;
};

using Commands = std::vector<std::pair<std::uint8_t, Bytes>>;

} // namespace

TEST_F(LightSenders, PreviewShowsTheLightAndTheWheelByteWithoutStoringOrActivating)
{
    struct Case {
        TLEDCONFIG light;
        std::int8_t wheelLedOnOff;
        std::int8_t wheelValue;
        Bytes previewBytes;
        std::uint8_t wheelByte;
    };
    const Case cases[] = {
        {{255, 0, 0, 3, 2, 9}, 1, 1, {0xFF, 0xFF, 0x00, 0x03, 0x02}, 0x81},    // red; BREATH_SECOND not sent
        {{0, 0, 0, 0, 0, 0}, 0, 1, {0xFF, 0xFF, 0xFF, 0x00, 0x00}, 0x01},      // the light switched off
        {{1, 2, 3, 4, 5, 6}, 1, std::int8_t(0x85), {0xFD, 0xFC, 0xFE, 0x04, 0x05}, 0x85},
        {{1, 2, 3, 4, 5, 6}, 0, std::int8_t(0x85), {0xFD, 0xFC, 0xFE, 0x04, 0x05}, 0x05},
    };
    const Bytes storedLight = memoryAt(bankAddress(0, kLightBlockOffset), kLightBlockSize);
    for (const Case& c : cases) {
        emulated.mouse().clearLog();
        profile->ConfigInfo.LEDConfig = c.light;
        profile->ConfigInfo.WheelLedOnOff = c.wheelLedOnOff;
        profile->ConfigInfo.HWVWheelValue = c.wheelValue;
        ASSERT_EQ(PreviewLight(*emulated.hid, *profile), 0);
        const Commands expected = {
            {6, {0, 0, 0, 0, 0}},
            {4, c.previewBytes},
            {2, {0x3E, 0x00, c.wheelByte}},
            {6, {1, 0, 0, 0, 0}},
        };
        EXPECT_EQ(commands(), expected);
        const std::array<std::uint8_t, 5> shown{c.previewBytes[0], c.previewBytes[1], c.previewBytes[2],
                                                c.previewBytes[3], c.previewBytes[4]};
        EXPECT_EQ(emulated.mouse().state().shownLight, shown);
        EXPECT_EQ(emulated.memory()[kWheelLightAddress], c.wheelByte);
    }
    EXPECT_EQ(memoryAt(bankAddress(0, kLightBlockOffset), kLightBlockSize), storedLight);
    EXPECT_FALSE(emulated.mouse().state().lastActivation.has_value());
}

TEST_F(LightSenders, RestorePutsTheSavedLightIntoTheActiveBankAndActivatesIt)
{
    const TLEDCONFIG saved{0, 0, 255, 1, 1, 7};
    const Bytes savedBytes = {0xFF, 0x00, 0xFF, 0x01, 0x01, 0x07};
    // (active mode, light block written)
    const std::pair<int, std::uint16_t> cases[] = {{0, 0x881}, {1, 0x1181}, {2, 0x1181}};
    for (const auto& [mode, address] : cases) {
        EmulatedMouse mouse;
        RecordingPauser recorder([&mouse] { return mouse.logSize(); });
        LastActivatedProfile activation{0, 3};
        ASSERT_EQ(RestoreLight(*mouse.hid, recorder, saved, mode, activation), 0);
        const std::vector<SentCommand> sent = mouse.sent();
        ASSERT_EQ(sent.size(), 4u) << mode;
        EXPECT_EQ(sent[0].command, 6);
        EXPECT_EQ(sent[0].payload[0], 0);
        EXPECT_EQ(sent[1].command, 2);
        EXPECT_EQ(sent[1].address, address) << mode;
        EXPECT_EQ(sent[1].payload, savedBytes);
        EXPECT_EQ(sent[2].command, 1);
        EXPECT_EQ(sent[2].payload, (Bytes{1, 3, 0, 0, 0}));
        EXPECT_EQ(sent[3].command, 6);
        EXPECT_EQ(sent[3].payload[0], 1);
        // 50 ms between the light block and the activation.
        EXPECT_EQ(recorder.pauses, (std::vector<RecordingPauser::Pause>{{50, 2}}));
        EXPECT_EQ(activation.first, 1);
        EXPECT_EQ(Bytes(mouse.memory().begin() + address, mouse.memory().begin() + address + 6), savedBytes);
    }
}

TEST_F(LightSenders, RestoreAfterAPreviewSendsTheLightOfTheLastApply)
{
    const TLEDCONFIG lastApplied = profile->ConfigInfo.LEDConfig;
    profile->ConfigInfo.LEDConfig = TLEDCONFIG{255, 0, 0, 3, 2, 0};
    ASSERT_EQ(PreviewLight(*emulated.hid, *profile), 0);
    LastActivatedProfile activation;
    ASSERT_EQ(RestoreLight(*emulated.hid, pauser, lastApplied, 1, activation), 0);
    EXPECT_EQ(memoryAt(0x1181, 6), (Bytes{0xFF, 0x00, 0xFF, 0x01, 0x01, 0x00}));
    EXPECT_EQ(emulated.mouse().state().lastActivation, (std::array<std::uint8_t, 2>{1, 0}));
}

TEST_F(LightSenders, EveryCommandIsTriedAndTheFirstFailureReported)
{
    profile->ConfigInfo.HWVWheelValue = 5;
    emulated.setFaults("fail=2");   // the light preview itself
    EXPECT_EQ(PreviewLight(*emulated.hid, *profile), EIO);
    EXPECT_EQ(emulated.sent().size(), 4u);
    EXPECT_EQ(emulated.memory()[kWheelLightAddress], 0x85);

    EmulatedMouse absent;
    absent.setFaults("absent");
    RecordingPauser recorder;
    LastActivatedProfile activation;
    EXPECT_EQ(PreviewLight(*absent.hid, *profile), ENODEV);
    EXPECT_EQ(RestoreLight(*absent.hid, recorder, profile->ConfigInfo.LEDConfig, 0, activation), ENODEV);
    EXPECT_TRUE(absent.sent().empty());
    EXPECT_EQ(recorder.total(), 50);
}
