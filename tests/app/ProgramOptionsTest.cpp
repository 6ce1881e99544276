// The command line of k4812-config.

#include "app/ProgramOptions.h"

#include <gtest/gtest.h>

namespace k4812 {
namespace {

TEST(ProgramOptions, TakesEachOptionInBothSpellings)
{
    const struct {
        QStringList args;
        QString device, trace, screenshot;
        bool help;
    } cases[] = {
        {{}, {}, {}, {}, false},
        {{"--device=emulator"}, "emulator", {}, {}, false},
        {{"--device", "emulator:/tmp/m.state"}, "emulator:/tmp/m.state", {}, {}, false},
        {{"--screenshot", "shot.png", "--device=emulator"}, "emulator", {}, "shot.png", false},
        {{"--screenshot=shot.png"}, {}, {}, "shot.png", false},
        {{"--trace=t.log", "-h"}, {}, "t.log", {}, true},
    };
    for (const auto& c : cases) {
        QString error;
        const std::optional<ProgramOptions> o = parseProgramOptions(c.args, error);
        ASSERT_TRUE(o) << c.args.join(' ').toStdString() << ": " << error.toStdString();
        EXPECT_EQ(o->device, c.device);
        EXPECT_EQ(o->trace, c.trace);
        EXPECT_EQ(o->screenshot, c.screenshot);
        EXPECT_EQ(o->help, c.help);
    }
}

TEST(ProgramOptions, RefusesWhatItDoesNotKnow)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"--screenshot"}, "--screenshot needs a value"},
        {{"--screenshot="}, "--screenshot needs a value"},
        {{"--device="}, "--device needs a value"},
        {{"--colour=red"}, "unknown option \"--colour=red\""},
        {{"apply"}, "unexpected argument \"apply\""},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(parseProgramOptions(c.args, error));
        EXPECT_EQ(error, QLatin1String(c.error));
    }
}

} // namespace
} // namespace k4812
