// The command line of k4812-config.

#include "app/ProgramOptions.h"

#include <gtest/gtest.h>

#include <vector>

#include <QProcess>
#include <QProcessEnvironment>

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

// The help is for a terminal, also one without a display (an ssh session, a
// packager's shell): the program must not need the window system for it.
TEST(ProgramOptions, HelpNeedsNoDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* option : {"--help", "-h"}) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(K4812_BIN_DIR "/k4812-config"), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished()) << option;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(program.exitCode(), 0) << option;
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), programUsage()) << option;
    }
}

// Decided on main()'s raw arguments, before Qt takes its own out: the two
// spellings the parser takes, and nothing that merely starts alike.
TEST(ProgramOptions, RawArgumentsAskForAScreenshotAsTheParserReadsThem)
{
    const struct {
        std::vector<const char*> args;
        bool screenshot;
    } cases[] = {
        {{"k4812-config", "--screenshot", "w.png"}, true},
        {{"k4812-config", "-platform", "xcb", "--screenshot=w.png"}, true},
        {{"k4812-config", "--screenshots", "w.png"}, false},
        {{"k4812-config", "--device=emulator"}, false},
        {{"--screenshot"}, false}, // the program's own name
    };
    for (const auto& c : cases)
        EXPECT_EQ(argumentsAskForAScreenshot(int(c.args.size()), c.args.data()), c.screenshot) << c.args.back();
}

} // namespace
} // namespace k4812
