#include "profiles/SystemMouseParams.h"

#include "platform/desktop/JournalPointerSettings.h"
#include "platform/desktop/TuiThread.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <optional>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

QStringList journalLines(const QString& file)
{
    return QString::fromUtf8(k4812::test::readFile(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class SystemMouseParamsTest : public ::testing::Test {
protected:
    TestEnvironment env;
    QString file = env.path(QStringLiteral("journal.txt"));
    std::shared_ptr<JournalPointerSettings> journal = std::make_shared<JournalPointerSettings>(file);
};

} // namespace

TEST_F(SystemMouseParamsTest, AppliesTheTableRowThenSpeedThenWheelLines)
{
    struct Case {
        std::int32_t index;
        const char* row;
    };
    const Case cases[] = {{0, "0 0 0"}, {1, "7 0 1"}, {2, "4 6 2"}, {3, "4 0 1"}};
    for (const Case& c : cases) {
        QFile::remove(file);
        const SystemMouseParamsResult r = ApplySystemMouseParams(*journal, TSYSTEMMOUSEPARAMS{12, 3, c.index});
        EXPECT_EQ(journalLines(file), (QStringList{QStringLiteral("SPI_SETMOUSE ") + QLatin1String(c.row),
                                                   "SPI_SETMOUSESPEED 12", "SPI_SETWHEELSCROLLLINES 3"}))
            << c.index;
        EXPECT_EQ(r.acceleration, PointerSettingResult::Applied);
        EXPECT_EQ(r.pointerSpeed, PointerSettingResult::Applied);
        EXPECT_EQ(r.wheelScrollLines, PointerSettingResult::Applied);
    }
}

TEST_F(SystemMouseParamsTest, IndexOutsideTheTableLeavesAccelerationAloneButAppliesTheRest)
{
    for (const std::int32_t index : {4, 1000, -1}) {
        QFile::remove(file);
        const SystemMouseParamsResult r = ApplySystemMouseParams(*journal, TSYSTEMMOUSEPARAMS{20, 20, index});
        EXPECT_EQ(journalLines(file), (QStringList{"SPI_SETMOUSESPEED 20", "SPI_SETWHEELSCROLLLINES 20"})) << index;
        EXPECT_EQ(r.acceleration, PointerSettingResult::Rejected) << index;
        EXPECT_FALSE(mouseAccelerationRow(index).has_value()) << index;
    }
}

TEST_F(SystemMouseParamsTest, BadSpeedOrLinesAreRejectedOneByOne)
{
    const SystemMouseParamsResult r = ApplySystemMouseParams(*journal, TSYSTEMMOUSEPARAMS{0, -1, 1});
    EXPECT_EQ(r.acceleration, PointerSettingResult::Applied);
    EXPECT_EQ(r.pointerSpeed, PointerSettingResult::Rejected);
    EXPECT_EQ(r.wheelScrollLines, PointerSettingResult::Rejected);
    EXPECT_EQ(journalLines(file), QStringList{"SPI_SETMOUSE 7 0 1"});
}

TEST_F(SystemMouseParamsTest, WorkerAppliesItsOwnCopyOfTheTwelveBytes)
{
    TSYSTEMMOUSEPARAMS params{15, 5, 1};
    ASSERT_TRUE(TuiThread::ThreadCallFunction(&params, sizeof params, makeApplySystemMouseParamsRoutine(journal)));
    params = TSYSTEMMOUSEPARAMS{1, 1, 0}; // a later edit on the window's thread
    TuiThread::waitForAll();
    EXPECT_EQ(journalLines(file), (QStringList{"SPI_SETMOUSE 7 0 1", "SPI_SETMOUSESPEED 15", "SPI_SETWHEELSCROLLLINES 5"}));
}

// A journal that cannot be written is a desktop that took nothing: every
// setting is named with the reason, in the order set; a value out of range
// is no failure of the desktop and a later success clears the reason.
TEST_F(SystemMouseParamsTest, NamesTheSettingsTheDesktopDidNotTakeWithTheirReasons)
{
    JournalPointerSettings broken(env.path(QStringLiteral("no-such-folder/journal.txt")));
    const SystemMouseParamsResult r = ApplySystemMouseParams(broken, TSYSTEMMOUSEPARAMS{12, -1, 1});
    ASSERT_EQ(r.failures.size(), 2u);
    EXPECT_EQ(r.failures[0].setting, PointerSetting::Acceleration);
    EXPECT_EQ(r.failures[1].setting, PointerSetting::PointerSpeed);
    EXPECT_TRUE(r.failures[1].reason.startsWith(QLatin1String("cannot write ") + env.path("no-such-folder")))
        << r.failures[1].reason.toStdString();
    EXPECT_EQ(r.wheelScrollLines, PointerSettingResult::Rejected);

    EXPECT_TRUE(ApplySystemMouseParams(*journal, TSYSTEMMOUSEPARAMS{12, 3, 1}).failures.empty());
    EXPECT_TRUE(journal->failureReason(PointerSetting::PointerSpeed).isEmpty());
}

TEST_F(SystemMouseParamsTest, WorkerReportsWhatBecameOfTheSettings)
{
    TSYSTEMMOUSEPARAMS params{15, 5, 9};
    std::optional<SystemMouseParamsResult> reported;
    ASSERT_TRUE(TuiThread::ThreadCallFunction(
        &params, sizeof params,
        makeApplySystemMouseParamsRoutine(journal, [&](const SystemMouseParamsResult& r) { reported = r; })));
    TuiThread::waitForAll();
    ASSERT_TRUE(reported.has_value());
    EXPECT_EQ(reported->acceleration, PointerSettingResult::Rejected);
    EXPECT_EQ(reported->pointerSpeed, PointerSettingResult::Applied);
    EXPECT_TRUE(reported->failures.empty());
}

TEST_F(SystemMouseParamsTest, WorkerIgnoresABlockOfAnotherSize)
{
    const std::uint8_t shortBlock[8] = {10, 0, 0, 0, 3, 0, 0, 0};
    ASSERT_TRUE(TuiThread::ThreadCallFunction(shortBlock, sizeof shortBlock, makeApplySystemMouseParamsRoutine(journal)));
    TuiThread::waitForAll();
    EXPECT_TRUE(journalLines(file).isEmpty());
}
