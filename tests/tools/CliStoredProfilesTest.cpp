// k4812ctl and the stored profiles it shares with the window: no change while
// the window (which holds its own copy of every profile) is open, and a store
// that fails changes neither the profile's file nor its registry value.

#include "CliPauser.h"
#include "CliTestSupport.h"
#include "RecordingPauser.h"
#include "TestEnvironment.h"

#include "platform/desktop/SingleInstanceLock.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileManager.h"
#include "records/RecordBytes.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::RecordingPauser;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;

namespace {

class CliStoredProfiles : public ::testing::Test {
protected:
    CliStoredProfiles()
    {
        env.set("K4812_POINTER_SETTINGS", QStringLiteral("journal:") + env.path("journal.txt"));
        env.set("K4812_EMULATOR_FAULTS", QString());
        env.set("LC_ALL", QStringLiteral("en_US.UTF-8"));
        env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR)); // the built ui.local
        cli::setCliPauser(&pauser);
        // The stores exist, as after the first start of any program.
        EXPECT_EQ(ctl({"profiles"}).status, 0);
    }
    ~CliStoredProfiles() override { cli::setCliPauser(nullptr); }

    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--trace=") + env.path("trace.txt"));
        args.prepend(QStringLiteral("--device=emulator:") + env.path("emu/mouse.state"));
        return runCtl(args);
    }
    QString profilesFolder() const { return env.path("Documents/Gaming Mouse Profiles"); }
    QString profileFile(int n) const { return profilesFolder() + QStringLiteral("/Profile%1.pfd").arg(n); }
    QByteArray registryValue(int n)
    {
        Registry registry;
        const auto value = registry.readValue(HKEY_CURRENT_USER, QString::fromLatin1(kProfileKeyPath),
                                              QStringLiteral("Profile%1.pfd").arg(n));
        return value ? value->data : QByteArray();
    }
    // Every profile's file and registry value.
    std::vector<QByteArray> storedProfiles()
    {
        std::vector<QByteArray> stored;
        for (int n = 1; n <= kProfileCount; ++n) {
            stored.push_back(readFile(profileFile(n)));
            stored.push_back(registryValue(n));
        }
        return stored;
    }

    TestEnvironment env;
    RecordingPauser pauser;
};

} // namespace

TEST_F(CliStoredProfiles, WhileTheWindowIsOpenChangesAreRefusedAndReadsStillWork)
{
    ASSERT_TRUE(test::writeFile(env.path("saved.pfd"), readFile(profileFile(1))));
    SingleInstanceLock window; // what the open window holds
    ASSERT_TRUE(window.tryAcquire()) << window.errorString().toStdString();
    ASSERT_EQ(ctl({"raw", "read", "0x40", "1"}).status, 0); // the mouse's state file exists
    const std::vector<QByteArray> before = storedProfiles();
    const QByteArray mouseBefore = readFile(env.path("emu/mouse.state"));
    QFile::remove(env.path("trace.txt"));

    const QString saved = env.path("saved.pfd");
    const struct {
        const char* name;
        QStringList args;
        int status;
    } cases[] = {
        {"set", {"set", "color", "11", "22", "33"}, 1},
        {"set --apply", {"set", "--apply", "color", "11", "22", "33"}, 1},
        {"apply", {"apply"}, 1},
        {"switch", {"switch", "profile", "2"}, 1},
        {"mode bind", {"mode", "bind", "1", "3"}, 1},
        {"profile import", {"profile", "import", "2", saved}, 1},
        {"profile reset", {"profile", "reset", "2"}, 1},
        {"preview-light", {"preview-light", saved}, 1},
        {"restore-light", {"restore-light", saved, "0"}, 1},
        {"raw write", {"raw", "write", "0x40", "1"}, 1},
        {"raw mark", {"raw", "mark", "1"}, 1},
        {"language set", {"language", "set", "0"}, 1},
        {"profiles", {"profiles"}, 0},
        {"profile show", {"profile", "show", "1"}, 0},
        {"profile export", {"profile", "export", "1", env.path("out.pfd")}, 0},
        {"mode show", {"mode", "show"}, 0},
        {"language", {"language"}, 0},
    };
    const QString message = QStringLiteral("the configuration window is open (process %1)").arg(::getpid());
    for (const auto& c : cases) {
        const auto result = ctl(c.args);
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.err.toStdString();
        EXPECT_EQ(result.err.contains(message), c.status != 0) << c.name << ": " << result.err.toStdString();
    }
    EXPECT_EQ(storedProfiles(), before) << "a stored profile changed while the window was open";
    EXPECT_EQ(readFile(env.path("emu/mouse.state")), mouseBefore) << "the mouse changed while the window was open";
    EXPECT_TRUE(readFile(env.path("trace.txt")).isEmpty()) << "something reached the mouse";

}

TEST_F(CliStoredProfiles, OnceTheWindowIsClosedChangesAreMadeAgain)
{
    {
        SingleInstanceLock window;
        ASSERT_TRUE(window.tryAcquire());
        EXPECT_EQ(ctl({"set", "color", "11", "22", "33"}).status, 1);
    }
    const auto result = ctl({"set", "color", "11", "22", "33"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
}

TEST_F(CliStoredProfiles, AFailedStoreChangesNeitherTheFileNorTheRegistryValue)
{
    ASSERT_EQ(ctl({"set", "color", "1", "2", "3"}).status, 0); // every profile in its file and the registry
    const std::vector<QByteArray> before = storedProfiles();
    const QString folder = profilesFolder();
    const bool root = ::geteuid() == 0;

    const struct {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> restore;
        bool skip;
    } faults[] = {
        {"a full disk",
         [&] {
             setAtomicWriteProbe([folder](AtomicWriteStage stage, const QString& path) {
                 return stage == AtomicWriteStage::Write && path.startsWith(folder) ? ENOSPC : 0;
             });
         },
         [] { setAtomicWriteProbe({}); }, false},
        // Permission bits do not stop the superuser.
        {"a read-only profile folder", [&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner); },
         [&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }, root},
    };
    const struct {
        const char* name;
        QStringList args;
    } commands[] = {
        {"set", {"set", "color", "9", "9", "9"}},
        {"set --apply", {"set", "--apply", "color", "9", "9", "9"}},
        {"profile reset", {"profile", "reset", "1"}},
    };
    for (const auto& fault : faults) {
        if (fault.skip)
            continue;
        for (const auto& c : commands) {
            fault.arrange();
            const auto result = ctl(c.args);
            fault.restore();
            EXPECT_EQ(result.status, 1) << fault.name << ", " << c.name;
            EXPECT_TRUE(result.err.contains("Profile1.pfd")) << c.name << ": " << result.err.toStdString();
            EXPECT_EQ(storedProfiles(), before) << fault.name << ", " << c.name
                                                << ": a profile's file or registry value changed";
        }
    }
    EXPECT_TRUE(readFile(env.path("trace.txt")).isEmpty()) << "nothing reached the mouse";
}
