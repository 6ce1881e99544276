#include "platform/desktop/JournalPointerSettings.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/PendingSystemAction.h"
#include "records/RecordBytes.h"
#include "profiles/SystemSettingEdits.h"

#include "ManualActionTimer.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace k4812;

namespace {

std::unique_ptr<TMOUSEPROFILEINFO> defaultProfile()
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    return profile;
}

} // namespace

TEST(SystemSettingEditsTest, TheDoubleClickTrackIsReversed)
{
    struct Case {
        int track;
        int milliseconds;
    };
    const Case cases[] = {{900, 200}, {200, 900}, {550, 550}, {210, 890}};
    auto profile = defaultProfile();
    for (const Case& c : cases) {
        ASSERT_TRUE(SetDoubleClickTrack(*profile, c.track)) << c.track;
        EXPECT_EQ(profile->ConfigInfo.DoubleClickSpeed, c.milliseconds) << c.track;
        EXPECT_EQ(DoubleClickTrackOf(c.milliseconds), c.track);
    }
    const auto before = recordToBytes(*profile);
    EXPECT_FALSE(SetDoubleClickTrack(*profile, 190));
    EXPECT_FALSE(SetDoubleClickTrack(*profile, 910));
    EXPECT_EQ(recordToBytes(*profile), before);
}

TEST(SystemSettingEditsTest, ScrollLinesPointerSpeedAndPrecision)
{
    auto profile = defaultProfile();
    SetScrollOnePage(*profile);
    EXPECT_EQ(profile->ConfigInfo.VWheelSpeed, 20);
    EXPECT_TRUE(IsScrollOnePage(20));
    EXPECT_TRUE(IsScrollOnePage(25));
    EXPECT_FALSE(IsScrollOnePage(10));

    ASSERT_TRUE(SetScrollLines(*profile, 7));
    EXPECT_EQ(profile->ConfigInfo.VWheelSpeed, 7);
    EXPECT_FALSE(SetScrollLines(*profile, 0));
    EXPECT_FALSE(SetScrollLines(*profile, 11));
    EXPECT_EQ(profile->ConfigInfo.VWheelSpeed, 7);

    ASSERT_TRUE(SetPointerSpeed(*profile, 20));
    EXPECT_EQ(profile->ConfigInfo.PointerSpeed, 20);
    EXPECT_FALSE(SetPointerSpeed(*profile, 0));
    EXPECT_FALSE(SetPointerSpeed(*profile, 21));
    EXPECT_EQ(profile->ConfigInfo.PointerSpeed, 20);

    SetPointerPrecision(*profile, true);
    EXPECT_EQ(profile->ConfigInfo.PointerAcceleration, 1);
    SetPointerPrecision(*profile, false);
    EXPECT_EQ(profile->ConfigInfo.PointerAcceleration, 0);
}

class PendingSystemActionTest : public ::testing::Test {
protected:
    PendingSystemActionTest()
    {
        auto owned = std::make_unique<test::ManualActionTimer>();
        timer = owned.get();
        pending = std::make_unique<PendingSystemAction>(std::move(owned),
                                                        [this](const QString& action) { ran << action; });
    }

    test::ManualActionTimer* timer = nullptr;
    std::unique_ptr<PendingSystemAction> pending;
    QStringList ran;
};

TEST_F(PendingSystemActionTest, OnlyTheLastOfSeveralChangesRunsOnceAfterTheWait)
{
    pending->schedule(QString::fromLatin1(kActionSetDoubleClickSpeed));
    pending->schedule(QString::fromLatin1(kActionSetPointerSpeed));
    pending->schedule(QString::fromLatin1(kActionSetPointerSpeed));
    EXPECT_TRUE(pending->isWaiting());
    EXPECT_EQ(timer->lastInterval, 500);
    EXPECT_EQ(timer->starts, 3) << "each change starts the wait again";
    EXPECT_TRUE(ran.isEmpty());

    ASSERT_TRUE(timer->fire());
    EXPECT_EQ(ran, QStringList{QString::fromLatin1(kActionSetPointerSpeed)});
    EXPECT_TRUE(pending->pending().isEmpty());
    EXPECT_FALSE(pending->isWaiting());
    EXPECT_FALSE(timer->fire()) << "nothing more is pending";
}

TEST(ApplySystemActionTest, EachActionSetsItsOneSetting)
{
    test::TestEnvironment env;
    const QString journal = env.path("pointer.journal");
    JournalPointerSettings settings(journal);
    auto profile = defaultProfile();
    profile->ConfigInfo.VWheelSpeed = 20;
    profile->ConfigInfo.DoubleClickSpeed = 200;
    profile->ConfigInfo.PointerAcceleration = 3; // any value other than 0 means row 1
    const TSYSTEMMOUSEPARAMS params{14, 20, 0};

    for (const char* action : {kActionSetPointerSpeed, kActionSetAcceleration, kActionSetScrollSpeed,
                               kActionSetDoubleClickSpeed}) {
        const auto result = ApplySystemAction(settings, QString::fromLatin1(action), *profile, params);
        ASSERT_TRUE(result.has_value()) << action;
        EXPECT_EQ(*result, PointerSettingResult::Applied) << action;
    }
    EXPECT_FALSE(ApplySystemAction(settings, QString::fromLatin1(kActionAcceleration), *profile, params));
    EXPECT_FALSE(ApplySystemAction(settings, QString(), *profile, params));

    EXPECT_EQ(QString::fromUtf8(test::readFile(journal)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{"SPI_SETMOUSESPEED 14", "SPI_SETMOUSE 7 0 1", "SPI_SETWHEELSCROLLLINES 20",
                           "SPI_SETDOUBLECLICKTIME 200"}));
}
