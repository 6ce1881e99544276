#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Glow.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/TrackBar.h"

#include "PagesFixture.h"

#include <QApplication>
#include <QTest>

using namespace k4812;

namespace {

class SensitivityPageTest : public test::PagesFixture {
protected:
    // A user's change of a number box: the page's own setValue is never reported.
    void userSets(const char* name, int value)
    {
        NumberBox* box = find<NumberBox>(QString::fromLatin1(name));
        box->setValue(value - box->step());
        box->stepBy(1);
        ASSERT_EQ(box->value(), value) << name;
    }
    TCPILEVELINFO level(int i) { return config().CPIState[i]; }
    TCPILEVELINFO device(int i) { return config().HWCPIState[i]; }
};

} // namespace

TEST_F(SensitivityPageTest, StartUpSelectsTheSecondLevel)
{
    EXPECT_EQ(sensitivity->selectedCpiLevel(), 1);
    EXPECT_TRUE(isGlowEnabled(find<NumberBox>("X2")));
    EXPECT_FALSE(isGlowEnabled(find<NumberBox>("X1")));
    EXPECT_EQ(find<TrackBar>("TrackBarCPIX")->value(), level(1).X);
    EXPECT_FALSE(state.SettingsChanged);
    EXPECT_FALSE(find<NumberBox>("XY1")->isVisible());
}

TEST_F(SensitivityPageTest, OneBoxSetsBothAxesUnlessXAndYMayDiffer)
{
    userSets("Y3", 1600);
    EXPECT_EQ(level(2).X, 1600);
    EXPECT_EQ(level(2).Y, 1600);
    EXPECT_EQ(device(2).X, 1700);
    EXPECT_EQ(device(2).Y, 1700);
    EXPECT_EQ(find<NumberBox>("X3")->value(), 1600) << "the page shows the stored values again";
    EXPECT_EQ(sensitivity->selectedCpiLevel(), 2);
    EXPECT_TRUE(state.SettingsChanged);
    EXPECT_EQ(dm->FProfileGroup(0)->stream().mid(0, int(sizeof(TMOUSEPROFILEINFO))),
              recordToBytes(dm->FCurrentProfileInfo()))
        << "stored back";

    QTest::mouseClick(find<CheckBox>("CHKApplyDiffirentXY"), Qt::LeftButton);
    EXPECT_EQ(config().ApplyDiffirentXY, 1);
    userSets("X2", 400);
    userSets("Y2", 3500);
    EXPECT_EQ(level(1).X, 400);
    EXPECT_EQ(level(1).Y, 3500);
    EXPECT_EQ(device(1).X, 3400);
}

TEST_F(SensitivityPageTest, TheLevelCountDisablesTheLevelsAboveIt)
{
    const auto x4 = level(3).X;
    NumberBox* count = find<NumberBox>("NBCPILEVEL");
    count->setValue(3);
    count->stepBy(-1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(level(i).Enabled, i < 2 ? 1 : 0) << i;
        EXPECT_EQ(device(i).Enabled, i < 2 ? 1 : 0) << i;
        EXPECT_EQ(find<NumberBox>(QStringLiteral("X%1").arg(i + 1))->isEnabled(), i < 2) << i;
        EXPECT_EQ(find<NumberBox>(QStringLiteral("Y%1").arg(i + 1))->isEnabled(), i < 2) << i;
    }
    EXPECT_EQ(level(3).X, x4) << "values of unused levels stay";
    EXPECT_TRUE(state.SettingsChanged);
}

TEST_F(SensitivityPageTest, LevelsInUseAreShownAsTheFirstOnes)
{
    TCPILEVELINFO l = level(1);
    l.Enabled = 0;
    config().CPIState[1] = l;
    l = level(3);
    l.Enabled = 0;
    config().CPIState[3] = l; // levels 1 and 3 in use
    refresh();
    EXPECT_EQ(find<NumberBox>("NBCPILEVEL")->value(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(level(i).Enabled, i < 2 ? 1 : 0) << i;
    EXPECT_TRUE(find<NumberBox>("X2")->isEnabled());
    EXPECT_FALSE(find<NumberBox>("X3")->isEnabled());
}

TEST_F(SensitivityPageTest, TheTrackBarsEditTheClickedLevelAndDefaultsSelectTheSecond)
{
    QTest::mouseClick(find<NumberBox>("X4"), Qt::LeftButton);
    EXPECT_EQ(sensitivity->selectedCpiLevel(), 3);
    EXPECT_TRUE(isGlowEnabled(find<NumberBox>("Y4")));
    EXPECT_FALSE(isGlowEnabled(find<NumberBox>("X2")));
    EXPECT_FALSE(state.SettingsChanged) << "showing a level on the tracks is no edit";

    find<TrackBar>("TrackBarCPIX")->setValue(2000);
    EXPECT_EQ(find<NumberBox>("X4")->value(), 2000);
    EXPECT_EQ(level(3).X, 2000);
    EXPECT_EQ(level(3).Y, 2000) << "same rule as typing: X and Y alike";
    EXPECT_TRUE(state.SettingsChanged);

    QTest::mouseClick(find<SkinButton>("BSBTNSENSDEFAULTS"), Qt::LeftButton);
    EXPECT_EQ(sensitivity->selectedCpiLevel(), 1);
    EXPECT_TRUE(isGlowEnabled(find<NumberBox>("X2")));
    EXPECT_EQ(find<TrackBar>("TrackBarCPIY")->value(), level(1).Y);
}

// Without a mouse: Tab reaches each level's boxes, which selects that level
// for the tracks, and the arrow keys edit it.
TEST_F(SensitivityPageTest, TheKeyboardReachesAndEditsEveryLevel)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    find<NumberBox>("NBCPILEVEL")->setFocus(Qt::TabFocusReason);
    const struct {
        const char* box;
        int level;
    } stops[] = {{"X1", 0}, {"Y1", 0}, {"X2", 1}, {"Y2", 1}, {"X3", 2}, {"Y3", 2}, {"X4", 3}, {"Y4", 3}};
    for (const auto& stop : stops) {
        SCOPED_TRACE(stop.box);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), find<NumberBox>(QString::fromLatin1(stop.box)));
        EXPECT_EQ(sensitivity->selectedCpiLevel(), stop.level);
        EXPECT_TRUE(isGlowEnabled(find<NumberBox>(QString::fromLatin1(stop.box))));
    }
    const int before = level(3).X;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(level(3).X, before - 100);
    EXPECT_EQ(find<TrackBar>("TrackBarCPIX")->value(), before - 100);
    EXPECT_TRUE(state.SettingsChanged);
}

using AdvancedPageTest = test::PagesFixture;

TEST_F(AdvancedPageTest, AnUnofferedReportRateShows125AndIsKept)
{
    config().ReportRate = 300;
    initializing = true;
    advanced->LoadAdvancedPage();
    initializing = false;
    EXPECT_TRUE(find<RadioButton>("RD125HZ")->isChecked());
    EXPECT_EQ(config().ReportRate, 300);

    QTest::mouseClick(find<RadioButton>("RD1000HZ"), Qt::LeftButton);
    EXPECT_EQ(config().ReportRate, 1000);
    EXPECT_TRUE(state.SettingsChanged);
}

TEST_F(AdvancedPageTest, TheLightRadiosSetSpeedAndBrightnessAndSendNothing)
{
    const std::size_t before = logSize();
    QTest::mouseClick(find<RadioButton>("RDLIGHTOFF"), Qt::LeftButton);
    EXPECT_EQ(config().WheelLedOnOff, 0);
    EXPECT_EQ(config().LEDConfig.BRIGHT_LEVEL, 0);
    EXPECT_EQ(config().LEDConfig.BREATH_SPEED, 0);
    QTest::mouseClick(find<RadioButton>("RDLIGHTON"), Qt::LeftButton);
    EXPECT_EQ(config().WheelLedOnOff, 1);
    EXPECT_EQ(config().LEDConfig.BRIGHT_LEVEL, 3);
    EXPECT_EQ(config().LEDConfig.BREATH_SPEED, 1);
    EXPECT_EQ(logSize(), before) << "light on and off reach the mouse with the apply only";
}

TEST_F(AdvancedPageTest, ASwatchStoresItsColourAndShowsItOnTheMouse)
{
    const std::size_t before = logSize();
    QTest::mouseClick(find<SkinButton>("C4"), Qt::LeftButton);
    EXPECT_EQ(config().LEDConfig.R, 3);
    EXPECT_EQ(config().LEDConfig.G, 97);
    EXPECT_EQ(config().LEDConfig.B, 96);
    EXPECT_EQ(advanced->shownSwatch(), 3);
    EXPECT_GT(logSize(), before) << "previewed at once";
    ASSERT_TRUE(emulator->mouse().state().shownLight.has_value());

    const std::size_t afterSwatch = logSize();
    find<TrackBar>("TrackBarLIGHTSPEED")->setValue(3);
    EXPECT_EQ(config().LEDConfig.BREATH_SPEED, 3);
    EXPECT_GT(logSize(), afterSwatch);

    const std::size_t afterSpeed = logSize();
    QTest::mouseClick(find<SkinButton>("BSBTNLIGHTPREVIEW"), Qt::LeftButton);
    EXPECT_EQ(logSize(), afterSpeed) << "Preview does nothing";
}

TEST_F(AdvancedPageTest, AColourWithoutSwatchShowsRedAndIsKept)
{
    TLEDCONFIG light = config().LEDConfig;
    light.R = 1;
    light.G = 2;
    light.B = 3;
    config().LEDConfig = light;
    advanced->LoadAdvancedPage();
    EXPECT_EQ(advanced->shownSwatch(), 0);
    EXPECT_EQ(config().LEDConfig.R, 1);
}

using SystemSettingPageTest = test::PagesFixture;

TEST_F(SystemSettingPageTest, TheDoubleClickTrackIsReversed)
{
    TrackBar* track = find<TrackBar>("TrackBarDoubleClickSpeed");
    EXPECT_EQ(track->value(), 550) << "the default 550 ms sits in the middle";
    const std::pair<int, int> cases[] = {{900, 200}, {200, 900}, {550, 550}};
    for (const auto& [value, ms] : cases) {
        track->setValue(value == track->value() ? value - 10 : value);
        track->setValue(value);
        EXPECT_EQ(config().DoubleClickSpeed, ms) << value;
    }
    EXPECT_EQ(pending->pending(), QStringLiteral("SETDOUBLECLICKSPEED"));
}

TEST_F(SystemSettingPageTest, ScrollForOnePageIsTwentyLines)
{
    QTest::mouseClick(find<RadioButton>("RDSCROLLONEPAGE"), Qt::LeftButton);
    EXPECT_EQ(config().VWheelSpeed, 20);
    EXPECT_EQ(int(state.SystemMouseParams.WheelScrollLines), 20); // a copy: the record is packed
    EXPECT_FALSE(find<TrackBar>("TRACKBARSCROLLSPEED")->isEnabled());
    EXPECT_TRUE(journalLines().isEmpty()) << "nothing before the wait ends";
    ASSERT_TRUE(timer->fire());
    EXPECT_EQ(journalLines(), QStringList{"SPI_SETWHEELSCROLLLINES 20"});

    config().VWheelSpeed = 25;
    config().PointerSpeed = 0;
    system->LoadSystemPage();
    EXPECT_TRUE(find<RadioButton>("RDSCROLLONEPAGE")->isChecked());
    EXPECT_EQ(find<TrackBar>("TrackBarPointerSpeed")->value(), 1);
    EXPECT_EQ(int(state.SystemMouseParams.PointerSpeed), 1); // a copy: the record is packed
}

TEST_F(SystemSettingPageTest, SeveralPointerSpeedMovesApplyOnceTheLast)
{
    TrackBar* track = find<TrackBar>("TrackBarDoubleClickSpeed");
    track->setValue(700);
    for (int speed : {4, 9, 15})
        find<TrackBar>("TrackBarPointerSpeed")->setValue(speed);
    EXPECT_EQ(config().PointerSpeed, 15);
    EXPECT_EQ(config().DoubleClickSpeed, 400) << "stored at once";
    ASSERT_TRUE(timer->fire());
    EXPECT_FALSE(timer->fire());
    EXPECT_EQ(journalLines(), QStringList{"SPI_SETMOUSESPEED 15"});
    EXPECT_FALSE(state.SettingsChanged) << "this page does not mark the settings changed";

    QTest::mouseClick(find<CheckBox>("CHKENHANCEPOINTER"), Qt::LeftButton);
    ASSERT_TRUE(timer->fire());
    EXPECT_EQ(journalLines().last(), QStringLiteral("SPI_SETMOUSE %1").arg(config().PointerAcceleration ? "7 0 1" : "0 0 0"));
}
