// k4812ctl killed while it stores: `set` (every profile, its file and the
// registry) and `macro import` (a macro file, then the profiles) are run
// over and over, each time killed just before one more of their file-changing
// calls, until a run gets to its end. After each kill every profile file and
// macro file must be the old version or the new one, whole, and the registry
// database must open, pass its integrity check and hold for every value
// either its old bytes or its new ones. (The commands store several values
// one transaction each, so a kill between two of them leaves some values
// new and the rest old; none is ever half written.) The emulated mouse's
// state file, killed during a device sequence, holds the state from before
// the sequence or from after it, never one from its middle.

#include "ChildTracer.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

const QString kCtl = QStringLiteral(K4812_BIN_DIR "/k4812ctl");
const QString kRegistry = QStringLiteral(".config/k4812/registry.sqlite3");

// Every file below a home folder by its relative path, except the registry
// database and its journals (compared by their values) and the temporary
// files of an interrupted replacement (".NAME.XXXX.tmp", never read).
std::map<QString, QByteArray> filesBelow(const QString& home)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(home, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(home).relativeFilePath(path);
        const QString name = QFileInfo(path).fileName();
        if (relative.startsWith(kRegistry) || (name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".tmp"))))
            continue;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files[relative] = file.readAll();
    }
    return files;
}

// Each row of each table of the database as text, by table and row; empty
// with `problem` set when it cannot be opened or fails its integrity check.
// Opening it rolls back what a killed writer left unfinished, as the next
// start of a program does.
std::set<std::string> registryRows(const QString& home, std::string& problem)
{
    std::set<std::string> rows;
    sqlite3* db = nullptr;
    const QByteArray path = QFile::encodeName(home + QLatin1Char('/') + kRegistry);
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        problem = "cannot open: " + std::string(sqlite3_errmsg(db));
        sqlite3_close(db);
        return rows;
    }
    const auto each = [&](const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            problem = std::string(sql) + ": " + sqlite3_errmsg(db);
            return;
        }
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW)
            row(statement);
        if (step != SQLITE_DONE)
            problem = std::string(sql) + ": " + sqlite3_errmsg(db);
        sqlite3_finalize(statement);
    };
    each("PRAGMA integrity_check", [&](sqlite3_stmt* s) {
        const std::string verdict = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        if (verdict != "ok")
            problem = "integrity check: " + verdict;
    });
    std::vector<std::string> tables;
    each("SELECT name FROM sqlite_master WHERE type = 'table'",
         [&](sqlite3_stmt* s) { tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))); });
    for (const std::string& table : tables) {
        const std::string sql = "SELECT * FROM \"" + table + "\"";
        each(sql.c_str(), [&](sqlite3_stmt* s) {
            std::string text = table;
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, c));
                text += '|' + std::string(bytes ? bytes : "", std::size_t(sqlite3_column_bytes(s, c)));
            }
            rows.insert(text);
        });
    }
    sqlite3_close(db);
    return rows;
}

struct Snapshot {
    std::map<QString, QByteArray> files;
    std::set<std::string> registry;
};

Snapshot snapshotOf(const QString& home)
{
    std::string problem;
    Snapshot s{filesBelow(home), registryRows(home, problem)};
    EXPECT_EQ(problem, "") << home.toStdString();
    return s;
}

// A row is compared whole (key, name, type and bytes): a row of the killed
// run must be one of the old or of the new database.
bool rowIsOldOrNew(const std::string& row, const Snapshot& before, const Snapshot& after)
{
    return before.registry.count(row) || after.registry.count(row);
}

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(path, target)) << target.toStdString();
    }
}

class KillWhileWritingTest : public ::testing::Test {
protected:
    KillWhileWritingTest()
    {
        // LeakSanitizer would trace the child itself at its exit; the tracer is ours.
        env.set("ASAN_OPTIONS", QStringLiteral("detect_leaks=0"));
        env.set("K4812_POINTER_SETTINGS", QStringLiteral("none"));
    }

    // Points the programs at `home` (HOME and the XDG folders).
    void useHome(const QString& home)
    {
        env.set("HOME", home);
        env.set("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
        env.set("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
        env.set("XDG_STATE_HOME", home + QStringLiteral("/.local/state"));
        env.set("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
        env.set("XDG_DOCUMENTS_DIR", home + QStringLiteral("/Documents"));
    }

    int run(const QString& home, const QStringList& arguments, int killAt, bool* killed = nullptr)
    {
        useHome(home);
        const test::TracedRun r = test::runAndKillAtFileCall(kCtl, arguments, killAt);
        if (killed)
            *killed = r.killed;
        return r.killed ? -1 : r.exitStatus;
    }

    // The folder every run uses as its home: the stored records hold
    // absolute paths, so each run starts from a copy put back in this place.
    QString home() const { return env.path(QStringLiteral("home")); }

    void restore(const QString& saved)
    {
        QDir(home()).removeRecursively();
        copyFolder(saved, home());
    }

    // Kills `arguments` at each of its file-changing calls in turn, each
    // time on the home folder as the setup left it, and checks what each
    // kill leaves.
    void killAtEveryCall(const QStringList& arguments)
    {
        const QString pristine = env.path(QStringLiteral("pristine"));
        copyFolder(home(), pristine);
        const Snapshot before = snapshotOf(home());
        ASSERT_EQ(run(home(), arguments, 0), 0) << "the command works when left alone";
        const Snapshot after = snapshotOf(home());
        ASSERT_NE(before.files, after.files) << "the command changes some file";

        int kills = 0;
        for (int at = 1;; ++at) {
            restore(pristine);
            bool killed = false;
            run(home(), arguments, at, &killed);
            if (!killed)
                break;   // it got to its end before call `at`: every call was tried
            ++kills;

            const Snapshot left = snapshotOf(home());
            for (const auto& [path, bytes] : left.files) {
                const auto old = before.files.find(path);
                const auto fresh = after.files.find(path);
                const bool isOld = old != before.files.end() && old->second == bytes;
                const bool isNew = fresh != after.files.end() && fresh->second == bytes;
                EXPECT_TRUE(isOld || isNew) << "killed at call " << at << ": " << path.toStdString() << " is "
                                            << bytes.size() << " bytes, neither the old nor the new version";
            }
            for (const auto& [path, bytes] : before.files) {
                EXPECT_TRUE(left.files.count(path)) << "killed at call " << at << ": " << path.toStdString()
                                                    << " is gone";
            }
            for (const std::string& row : left.registry) {
                EXPECT_TRUE(rowIsOldOrNew(row, before, after))
                    << "killed at call " << at << ": a registry row is neither old nor new";
            }
            if (HasFailure())
                return;
        }
        RecordProperty("kills", kills);
        EXPECT_GT(kills, 5) << "the command was killed at its writes";
    }

    TestEnvironment env;
};

// A macro the import can add: press and release A.
QByteArray macroFile(const char* name)
{
    QByteArray bytes(892, '\0');
    const unsigned char actions[] = {4, 0, 1, 0, 0x41, 0, 4, 0, 0, 0, 0x41, 0};
    std::memcpy(bytes.data(), actions, sizeof actions);
    bytes[768] = 2;   // MacroListCount
    bytes[774] = 1;   // nLoopCount
    for (int i = 0; name[i]; ++i)
        bytes[780 + 2 * i] = name[i];
    bytes[880] = char(259 & 0xFF);   // Version 259
    bytes[881] = char(259 >> 8);
    return bytes;
}

TEST_F(KillWhileWritingTest, SetLeavesEveryFileOldOrNew)
{
    ASSERT_TRUE(test::writeFile(env.path(QStringLiteral("first.macro")), macroFile("first")));
    ASSERT_EQ(run(home(), {QStringLiteral("macro"), QStringLiteral("import"), env.path(QStringLiteral("first.macro"))}, 0),
              0);
    killAtEveryCall({QStringLiteral("set"), QStringLiteral("color"), QStringLiteral("12"),
                            QStringLiteral("34"), QStringLiteral("56")});
}

TEST_F(KillWhileWritingTest, MacroImportLeavesEveryFileOldOrNew)
{
    ASSERT_TRUE(test::writeFile(env.path(QStringLiteral("first.macro")), macroFile("first")));
    ASSERT_TRUE(test::writeFile(env.path(QStringLiteral("second.macro")), macroFile("second")));
    ASSERT_EQ(run(home(), {QStringLiteral("macro"), QStringLiteral("import"), env.path(QStringLiteral("first.macro"))}, 0),
              0);
    killAtEveryCall({QStringLiteral("macro"), QStringLiteral("import"), env.path(QStringLiteral("second.macro"))});
}

TEST_F(KillWhileWritingTest, DeviceSequenceLeavesTheEmulatedMouseOldOrNew)
{
    // A read is two exchanges: the request, then the answer fetched.
    env.set("K4812_DEVICE", QStringLiteral("emulator:") + home() + QStringLiteral("/mouse.state"));
    ASSERT_EQ(run(home(), {QStringLiteral("profiles")}, 0), 0); // the profile store and registry
    ASSERT_EQ(run(home(), {QStringLiteral("raw"), QStringLiteral("write"), QStringLiteral("0x40"), QStringLiteral("1")},
                  0),
              0);
    killAtEveryCall({QStringLiteral("raw"), QStringLiteral("read"), QStringLiteral("0x40"), QStringLiteral("1")});
}

} // namespace
