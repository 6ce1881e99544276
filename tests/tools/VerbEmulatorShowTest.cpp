#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;

namespace {

class VerbEmulatorShow : public ::testing::Test {
protected:
    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--device=emulator:") + state());
        return runCtl(args);
    }
    QString state() const { return env.path("emu/mouse.state"); }

    TestEnvironment env;
};

} // namespace

TEST_F(VerbEmulatorShow, ANewMouseShowsTheFactorySettingsWithoutAFile)
{
    const auto result = ctl({"emulator", "show"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    const QStringList lines = result.out.split(QLatin1Char('\n'));
    const QStringList head = {
        "active bank: 0 (byte 00)",
        "report rate: bank 0 500 Hz, bank 1 500 Hz (byte 22)",
        "wheel light: on, wheel value 1 (byte 81)",
        "last activation: none",
        "light preview shown: none",
        "bank 0 (Mode 1):",
        "  buttons: 8",
        "    0: (window button 1) Click",
        "    1: (window button 2) Right Click",
        "    2: (window button 3) Middle Button",
        "    3: (window button 5) Forward",
        "    4: (window button 4) Backward",
        "    5: (window button 6) DPI +",
        "    6: (window button 7) DPI -",
        "    7: Eighth Button",
        "  cpi: 4 levels, active level 1",
        "    level 0: 400 (code 1) CPI",
        "    level 1: 800 (code 2) CPI",
        "    level 2: 1700 (code 4) CPI",
        "    level 3: 3400 (code 8) CPI",
        "  light: R 0 G 0 B 255, brightness 1, breathing speed 1, breath second 0",
        "  macros:",
        "    block 0: unused",
    };
    EXPECT_EQ(lines.mid(0, head.size()), head);
    EXPECT_TRUE(result.out.contains("bank 1 (Mode 2):\n"));
    EXPECT_FALSE(QFileInfo::exists(state()));
}

TEST_F(VerbEmulatorShow, JsonFollowsWhatWasWritten)
{
    ASSERT_EQ(ctl({"raw", "write", "0x45", "0x41"}).status, 0);
    // Bank 1, entry 0: Ctrl+C.
    ASSERT_EQ(ctl({"raw", "write", "0x991", "0x0F", "0x01", "0x06", "0x00"}).status, 0);
    ASSERT_EQ(ctl({"raw", "activate", "1", "2"}).status, 0);
    const auto result = ctl({"emulator", "show", "--json"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString();
    EXPECT_EQ(json["shared"]["reportRateHz"].toArray(), (QJsonArray{1000, 250}));
    EXPECT_EQ(json["shared"]["lastActivation"].toArray(), (QJsonArray{1, 2}));
    EXPECT_TRUE(json["shared"]["shownLight"].isNull());
    const QJsonObject entry = json["banks"].toArray().at(1)["buttons"].toArray().at(0).toObject();
    EXPECT_EQ(entry["text"].toString(), "Combo Key: Ctrl+C");
    EXPECT_EQ(entry["key1"]["name"].toString(), "C");
    EXPECT_EQ(entry["modifiers"].toInt(), 2);
}

TEST_F(VerbEmulatorShow, BadUseIsRefused)
{
    EXPECT_EQ(ctl({"emulator", "show", "--xml"}).status, cli::kExitUsage);
    EXPECT_EQ(ctl({"emulator", "show", "extra"}).status, cli::kExitUsage);
    EXPECT_EQ(ctl({"emulator", "poke"}).status, cli::kExitUsage);
    const auto hidraw = runCtl({"--device=hidraw", "emulator", "show"});
    EXPECT_EQ(hidraw.status, cli::kExitFailure);
    EXPECT_TRUE(hidraw.err.contains("emulator show needs the emulator")) << hidraw.err.toStdString();

    ASSERT_TRUE(test::writeFile(state(), QByteArray("K4812EMU damaged")));
    const auto damaged = ctl({"emulator", "show"});
    EXPECT_EQ(damaged.status, cli::kExitFailure);
    EXPECT_TRUE(damaged.err.contains(state())) << damaged.err.toStdString();
}
