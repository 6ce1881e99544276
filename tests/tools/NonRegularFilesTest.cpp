// Files that are not regular files (FIFOs, devices, links to them) where the programs expect a file that is read or written
// whole: a FIFO, a device or a missing folder must give a message and an
// end, never a wait or a read without end. The programs run as processes, so
// that a regression fails here instead of holding the test run.

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

using k4812::test::TestEnvironment;

namespace {

struct ProcessResult {
    bool ended = false;
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProcessResult run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(K4812_BIN_DIR "/") + program, args);
    ProcessResult result;
    // Only a guard against a hang; every case ends at once when it works.
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.ended = process.exitStatus() == QProcess::NormalExit;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void makeFifo(const QString& path)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
}

void linkTo(const QString& target, const QString& path)
{
    ASSERT_TRUE(QFile::link(target, path)) << path.toStdString();
}

} // namespace

TEST(NonRegularFiles, AreRefusedWithAMessageAndNeverWaitedOn)
{
    struct Case {
        const char* what;
        const char* program;
        std::function<void(const QString& node)> make;      // makes the non-regular file at `node`
        QStringList args;                                   // "@" stands for the non-regular file's path
        const char* nodeIn;                              // where it goes: "" (the home) or "program"
        const char* nodeName;
        int status;
        const char* message;
    };
    const QString emulator = QStringLiteral("--device=emulator:");
    const Case cases[] = {
        {"FIFO state file", "k4812ctl", makeFifo, {emulator + "@", "raw", "read", "0x40", "1"}, "", "m.state", 1,
         "is a FIFO"},
        {"state file linked to /dev/zero", "k4812ctl", [](const QString& p) { linkTo("/dev/zero", p); },
         {emulator + "@", "raw", "read", "0x40", "1"}, "", "z.state", 1, "is a device"},
        {"FIFO config.ini", "k4812ctl", makeFifo, {emulator + "m.state", "profiles"}, "program", "config.ini", 0,
         "configuration file was not used"},
        {"FIFO ui.local", "k4812ctl", makeFifo, {"language"}, "program", "ui.local", 1, "is a FIFO"},
        {"FIFO trace", "k4812ctl", makeFifo, {emulator + "m.state", "--trace=@", "raw", "read", "0x40", "1"}, "",
         "t.fifo", 1, "neither a regular file nor a terminal"},
        {"/dev/full trace", "k4812ctl", [](const QString&) {},
         {emulator + "m.state", "--trace=/dev/full", "raw", "read", "0x40", "1"}, "", "unused", 1,
         "neither a regular file nor a terminal"},
        {"trace in a missing folder", "k4812ctl", [](const QString&) {},
         {emulator + "m.state", "--trace=@/no/such/folder/t.txt", "raw", "read", "0x40", "1"}, "", "nothing", 1,
         "cannot be opened"},
        {"FIFO macro file", "k4812ctl", makeFifo, {"macro", "show", "@"}, "", "m.macro", 1, "is a FIFO"},
        {"FIFO profile file", "k4812ctl", makeFifo, {"macro", "show", "@"}, "", "p.pfd", 1, "is a FIFO"},
        {"macro file linked to /dev/zero", "k4812ctl", [](const QString& p) { linkTo("/dev/zero", p); },
         {"macro", "show", "@"}, "", "zero.macro", 1, "is a device"},
        {"window's trace to /dev/full", "k4812-config", [](const QString&) {},
         {emulator + "m.state", "--trace=/dev/full", "--screenshot", "shot.png"}, "", "unused", 1,
         "neither a regular file nor a terminal"},
    };
    for (const Case& c : cases) {
        TestEnvironment env;
        env.set("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
        env.set("K4812_PROGRAM_DIR", env.path("program"));
        ASSERT_TRUE(QDir().mkpath(env.path("program")));
        const QString folder = QString::fromLatin1(c.nodeIn).isEmpty() ? env.home() : env.path(c.nodeIn);
        const QString node = folder + "/" + QLatin1String(c.nodeName);
        c.make(node);
        QStringList args;
        for (QString a : c.args) {
            a.replace("@", node);
            if (a == emulator + "m.state")
                a = emulator + env.path("m.state");
            args << a;
        }

        const ProcessResult r = run(QLatin1String(c.program), args);

        ASSERT_TRUE(r.ended) << c.what << ": did not end";
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.what << ": " << r.err.toStdString();
    }
}
