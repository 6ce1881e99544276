// The macro manager's working copy: New, Delete and OK on a copy of the
// profile's list, never on the caller's until OK succeeds.

#include "app/macro/MacroManagerSession.h"

#include "../macros/MacroTestSupport.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace k4812 {
namespace {

using test::makeMacro;
using test::makeMacroList;

std::unique_ptr<TMACROKEYINFOLIST> twentyMacros()
{
    auto list = makeMacroList({});
    for (int i = 0; i < 20; ++i) {
        list->MacroInfos[i] = makeMacro(QStringLiteral("M%1").arg(i));
        list->MacroInfos[i].nMacroIndex = std::uint16_t(i);
    }
    list->nMacroInfoCount = 20;
    return list;
}

TEST(MacroManagerSession, NewIsRefusedOnATwentyMacroList)
{
    QString error;
    auto session = MacroManagerSession::open(*twentyMacros(), 0, QStringLiteral("/nonexistent"), error);
    ASSERT_TRUE(session) << error.toStdString();
    EXPECT_FALSE(session->canCreate());
    int existing = 0;
    EXPECT_EQ(session->addNamed(QStringLiteral("One more"), existing), MacroManagerSession::NewOutcome::Ignored);
    EXPECT_EQ(session->macros().MacroListCount(), 20);
}

TEST(MacroManagerSession, NamesDecideWhatNewDoes)
{
    auto list = makeMacroList({makeMacro("Reload"), makeMacro("Jump")});
    QString error;
    auto session = MacroManagerSession::open(*list, 0, QStringLiteral("/nonexistent"), error);
    ASSERT_TRUE(session);
    int existing = -2;
    EXPECT_EQ(session->addNamed(QString(), existing), MacroManagerSession::NewOutcome::Ignored);
    EXPECT_EQ(session->addNamed(QStringLiteral("Jump"), existing), MacroManagerSession::NewOutcome::SelectedExisting);
    EXPECT_EQ(existing, 1);
    // Names are compared exactly.
    EXPECT_EQ(session->addNamed(QStringLiteral("jump"), existing), MacroManagerSession::NewOutcome::Created);
    EXPECT_EQ(session->macros().MacroListCount(), 3);
    EXPECT_EQ(session->macros().MacroListIndex(), 2);

    // A 60-character name is the 50-unit name the list shows.
    const QString longName(60, QLatin1Char('x'));
    EXPECT_EQ(session->addNamed(longName, existing), MacroManagerSession::NewOutcome::Created);
    EXPECT_EQ(session->addNamed(longName, existing), MacroManagerSession::NewOutcome::SelectedExisting);
    EXPECT_EQ(existing, 3);
}

TEST(MacroManagerSession, CallersListChangesOnlyOnCommit)
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("Macros"));
    auto list = makeMacroList({makeMacro("Reload", {test::keyDown('R'), test::keyUp('R')}), makeMacro("Jump")});
    const auto before = *list;
    QString error;
    auto session = MacroManagerSession::open(*list, 1, folder, error);
    ASSERT_TRUE(session);
    int existing = 0;
    session->addNamed(QStringLiteral("Fire"), existing);
    ASSERT_TRUE(session->deleteMacro(0));
    EXPECT_EQ(std::memcmp(list.get(), &before, sizeof before), 0);

    int index = -1;
    ASSERT_TRUE(session->commit(*list, index, error)) << error.toStdString();
    EXPECT_EQ(list->nMacroInfoCount, 2);
    EXPECT_EQ(macroNameOf(list->MacroInfos[0]), QStringLiteral("Jump"));
    EXPECT_EQ(list->MacroInfos[0].nMacroIndex, 0);
    EXPECT_EQ(macroNameOf(list->MacroInfos[1]), QStringLiteral("Fire"));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Jump.macro")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Fire.macro")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Reload.macro")));
}

TEST(MacroManagerSession, AFailedWriteLeavesTheCallersListAlone)
{
    test::TestEnvironment env;
    // The folder's parent does not exist, so no file can be written.
    const QString folder = env.path(QStringLiteral("missing/parent/Macros"));
    auto list = makeMacroList({makeMacro("Reload")});
    const auto before = *list;
    QString error;
    auto session = MacroManagerSession::open(*list, 0, folder, error);
    ASSERT_TRUE(session);
    session->deleteMacro(0);
    int existing = 0;
    session->addNamed(QStringLiteral("Other"), existing);
    int index = 7;
    EXPECT_FALSE(session->commit(*list, index, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(index, 7);
    EXPECT_EQ(std::memcmp(list.get(), &before, sizeof before), 0);
}

TEST(MacroManagerSession, ADamagedListIsRefused)
{
    auto list = makeMacroList({makeMacro("Reload")});
    list->MacroInfos[0].MacroListCount = 200;
    QString error;
    EXPECT_FALSE(MacroManagerSession::open(*list, 0, QStringLiteral("/x"), error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace k4812
