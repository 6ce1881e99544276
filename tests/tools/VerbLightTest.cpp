#include "CliPauser.h"
#include "CliTestSupport.h"
#include "RecordingPauser.h"
#include "TestEnvironment.h"

#include "wire/MemoryMap.h"
#include "emulator/EmulatorFaults.h"
#include "emulator/EmulatorStateFile.h"
#include "records/RecordBytes.h"
#include "records/Records.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::RecordingPauser;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A temporary home with an emulated mouse, a trace, a profile file with a red
// light, and the verbs' pauses recorded instead of slept.
class VerbLight : public ::testing::Test {
protected:
    VerbLight()
    {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        profile->ProfileHeader.FFileVersion = kProfileFileVersion;
        profile->ConfigInfo.LEDConfig = TLEDCONFIG{255, 0, 0, 3, 2, 5};
        profile->ConfigInfo.WheelLedOnOff = 1;
        profile->ConfigInfo.HWVWheelValue = 0x05;
        profileBytes = recordToBytes(*profile);
        EXPECT_TRUE(test::writeFile(profileFile(), profileBytes));
        cli::setCliPauser(&pauser);
    }
    ~VerbLight() override { cli::setCliPauser(nullptr); }

    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--trace=") + env.path("trace.txt"));
        args.prepend(QStringLiteral("--device=emulator:") + state());
        return runCtl(args);
    }
    QString state() const { return env.path("emu/mouse.state"); }
    QString profileFile() const { return env.path("Red.pfd"); }
    QStringList traceLines() const
    {
        return QString::fromLatin1(readFile(env.path("trace.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    EmulatorState stored()
    {
        QString error;
        auto loaded = loadEmulatorState(state(), error);
        EXPECT_TRUE(loaded) << error.toStdString();
        return loaded.value_or(EmulatorState::initial());
    }
    Bytes memoryAt(const EmulatorState& s, std::uint16_t address, std::size_t length)
    {
        return Bytes(s.memory.begin() + address, s.memory.begin() + address + length);
    }

    TestEnvironment env;
    RecordingPauser pauser;
    QByteArray profileBytes;
};

} // namespace

TEST_F(VerbLight, PreviewShowsTheProfilesLightWithoutStoringIt)
{
    const Bytes lightBlock = memoryAt(EmulatorState::initial(), 0x881, 6);
    const auto result = ctl({"preview-light", profileFile()});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    const QStringList lines = traceLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("SET 02 04 FF FF 00 03 02 00")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("SET 02 02 3E 00 01 00 FA FA 85")) << lines[2].toStdString();

    const EmulatorState s = stored();
    EXPECT_EQ(s.shownLight, (std::array<std::uint8_t, 5>{0xFF, 0xFF, 0x00, 0x03, 0x02}));
    EXPECT_EQ(memoryAt(s, 0x881, 6), lightBlock);
    EXPECT_FALSE(s.lastActivation.has_value());
    EXPECT_TRUE(pauser.pauses.empty());
    EXPECT_TRUE(ctl({"emulator", "show"}).out.contains("light preview shown: R 255 G 0 B 0, brightness 3, "
                                                       "breathing speed 2\n"));
}

TEST_F(VerbLight, RestoreWritesTheActiveBanksLightAndActivatesIt)
{
    struct Case {
        QStringList args;
        std::uint16_t address;
        std::array<std::uint8_t, 2> activation;
    };
    const Case cases[] = {
        {{"restore-light", profileFile(), "0"}, 0x881, {1, 0}},
        {{"restore-light", "--last-profile=4", profileFile(), "1"}, 0x1181, {1, 4}},
    };
    for (const Case& c : cases) {
        QFile::remove(state());
        pauser.pauses.clear();
        const auto result = ctl(c.args);
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        const EmulatorState s = stored();
        EXPECT_EQ(memoryAt(s, c.address, 6), (Bytes{0xFF, 0xFF, 0x00, 0x03, 0x02, 0x05}));
        EXPECT_EQ(s.lastActivation, c.activation);
        EXPECT_EQ(pauser.milliseconds(), std::vector<int>{50});
    }
}

TEST_F(VerbLight, ProfileFilesOfTheWrongSizeAreReadWithAWarning)
{
    const QString shortFile = env.path("short.pfd");
    // Cut before the light: it reads as zeros, a light switched off.
    ASSERT_TRUE(test::writeFile(shortFile, profileBytes.left(1000)));
    const auto shorter = ctl({"restore-light", shortFile, "0"});
    EXPECT_EQ(shorter.status, 0);
    EXPECT_TRUE(shorter.err.contains("warning")) << shorter.err.toStdString();
    EXPECT_EQ(memoryAt(stored(), 0x881, 6), (Bytes{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00}));

    const QString longFile = env.path("long.pfd");
    ASSERT_TRUE(test::writeFile(longFile, profileBytes + QByteArray(10, '\x7F')));
    const auto longer = ctl({"preview-light", longFile});
    EXPECT_EQ(longer.status, 0);
    EXPECT_TRUE(longer.err.contains("longer")) << longer.err.toStdString();
}

TEST_F(VerbLight, BadCommandLinesSendNothing)
{
    const QStringList bad[] = {
        {"preview-light"},
        {"preview-light", profileFile(), profileFile()},
        {"preview-light", "--json", profileFile()},
        {"restore-light", profileFile()},
        {"restore-light", profileFile(), "2"},
        {"restore-light", profileFile(), "x"},
        {"restore-light", "--last-profile=5", profileFile(), "0"},
        {"restore-light", "--mode=1", profileFile(), "0"},
    };
    for (const QStringList& args : bad) {
        const auto result = ctl(args);
        EXPECT_EQ(result.status, cli::kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("Usage: k4812ctl")) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(state()));
}

TEST_F(VerbLight, ALightNoEditStoresIsNotSent)
{
    const struct {
        const char* field;
        std::function<void(TMOUSECONFIGINFO&)> damage;
    } cases[] = {
        {"BRIGHT_LEVEL", [](TMOUSECONFIGINFO& c) { c.LEDConfig.BRIGHT_LEVEL = 200; }},
        {"BREATH_SPEED", [](TMOUSECONFIGINFO& c) { c.LEDConfig.BREATH_SPEED = 9; }},
        {"WheelLedOnOff", [](TMOUSECONFIGINFO& c) { c.WheelLedOnOff = 3; }},
    };
    for (const auto& c : cases) {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        copyBytesIntoRecord(*profile, profileBytes);
        c.damage(profile->ConfigInfo);
        const QString file = env.path(QStringLiteral("%1.pfd").arg(QLatin1String(c.field)));
        ASSERT_TRUE(test::writeFile(file, recordToBytes(*profile)));
        for (const QStringList& args : {QStringList{"preview-light", file}, QStringList{"restore-light", file, "0"}}) {
            const auto result = ctl(args);
            EXPECT_EQ(result.status, cli::kExitFailure) << args.join(' ').toStdString();
            EXPECT_TRUE(result.err.contains(QLatin1String(c.field))) << result.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(state())) << "nothing reached the mouse";
}

TEST_F(VerbLight, FailuresAreReported)
{
    const auto missing = ctl({"preview-light", env.path("missing.pfd")});
    EXPECT_EQ(missing.status, cli::kExitFailure);
    EXPECT_TRUE(missing.err.contains("cannot read")) << missing.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(state()));

    env.set(kEmulatorFaultsVariable, QStringLiteral("absent"));
    const auto preview = ctl({"preview-light", profileFile()});
    EXPECT_EQ(preview.status, cli::kExitFailure);
    EXPECT_TRUE(preview.err.contains("light preview failed: No such device")) << preview.err.toStdString();
    const auto restore = ctl({"restore-light", profileFile(), "1"});
    EXPECT_EQ(restore.status, cli::kExitFailure);
    EXPECT_TRUE(restore.err.contains("restoring the light failed: No such device")) << restore.err.toStdString();
}
