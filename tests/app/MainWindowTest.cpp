// The main window's life: start-up with and without the mouse, OK, Apply,
// Cancel, the monitor's messages, a language switch, one device sequence at
// a time, keyboard and screen-reader access.

#include "MainWindowFixture.h"

#include "app/pages/ProfileControls.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"
#include "QtEventLoop.h"

#include "ui/controls/BusyIndicator.h"
#include "ui/controls/TabControl.h"
#include "ui/menu/MenuPopup.h"
#include "ui/menu/TuiMenuEx.h"
#include "app/buttons/ButtonAssignmentPanel.h"
#include "i18n/Translation.h"

#include <QAccessible>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

namespace k4812::test {
namespace {

// Names, sizes and times of every file below `folder`.
// The files under `folder` with their sizes and times; the cache folder (the
// skin's tiles kept between starts) holds no setting and is left out.
QStringList snapshot(const QString& folder)
{
    QStringList files;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QLatin1Char('/');
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.filePath().startsWith(cache))
            continue;
        files << QStringLiteral("%1 %2 %3").arg(info.filePath()).arg(info.size()).arg(
                     info.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, FormCreateFillsTheWindowAndLeavesSettingsChangedClear)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    EXPECT_TRUE(dialogs.isEmpty());

    const char* entries[][2] = {{"BtnSet1", "1.Click"},   {"BtnSet2", "2.Right Click"}, {"BtnSet3", "3.Middle Button"},
                                {"BtnSet4", "4.Backward"}, {"BtnSet5", "5.Forward"},     {"BtnSet6", "6.DPI +"},
                                {"BtnSet7", "7.DPI -"},    {"BtnSet8", "8.Wheel Up"},    {"Btnset9", "9.Wheel Down"}};
    for (const auto& e : entries)
        EXPECT_EQ(control(e[0])->text(), QLatin1String(e[1])) << e[0];

    EXPECT_TRUE(control("BSBTNMODE1")->isChecked());
    EXPECT_FALSE(control("BSBTNMODE2")->isChecked());
    EXPECT_TRUE(control("BSBTNPROFILE1")->isChecked());
    for (const char* name : {"BSBTNPROFILE2", "BSBTNPROFILE3", "BSBTNPROFILE4", "BSBTNPROFILE5"})
        EXPECT_FALSE(control(name)->isChecked()) << name;
    EXPECT_EQ(control<TabControl>("TabControlMain")->currentIndex(), 0);
    EXPECT_EQ(control<TabControl>("TabControlMain")->count(), 3);

    EXPECT_FALSE(w.state().SettingsChanged);
    EXPECT_FALSE(w.FInitlizing);
    EXPECT_EQ(w.FCurrentMacro, 0);
    EXPECT_EQ(w.commandNames(), (QStringList{"SetButton", "SetCPI", "SetMouseParam", "SetProfileBtn", "SetReport",
                                             "SetLED"}));
    EXPECT_EQ(monitorStarts.size(), 1);
    EXPECT_TRUE(monitorStarts.first().endsWith(QLatin1String("/REvo2")));
    EXPECT_EQ(reportsSent(), 0u);
    EXPECT_EQ(w.windowTitle(), QLatin1String("K4812_CONFIG"));
    EXPECT_EQ(w.size(), QSize(850, 655));
}

TEST_F(MainWindowTest, WithoutTheMouseOnlyTheDialogIsShownAndNothingIsWritten)
{
    setFaults("absent");
    const QStringList before = snapshot(env.home());
    answers = {1};
    TK4812CfgMain& w = open();

    EXPECT_FALSE(started);
    ASSERT_EQ(dialogs.size(), 1);
    const QStringList parts = dialogs.first().split(QLatin1Char('|'));
    EXPECT_EQ(parts[0], QLatin1String("No Device Found!"));
    EXPECT_EQ(parts[1], QLatin1String("Please connect your mouse device!"));
    EXPECT_FALSE(parts[2].isEmpty()) << "the second line says what is wrong";
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(monitorStarts.isEmpty());
    EXPECT_EQ(reportsSent(), 0u);
    EXPECT_EQ(snapshot(env.home()), before);
}

TEST_F(MainWindowTest, OkWithNoChangeClosesAtOnceWithoutTalkingToTheMouse)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    QTest::mouseClick(control("BSBTNOK"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(reportsSent(), 0u);
    EXPECT_TRUE(waits.empty());
}

TEST_F(MainWindowTest, OkAfterAChangeAppliesAndClosesHalfASecondLater)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    w.state().SettingsChanged = true;
    QTest::mouseClick(control("BSBTNOK"), Qt::LeftButton);

    EXPECT_GT(reportsSent(), 10u);
    int paused = 0;
    for (int ms : waits)
        paused += ms;
    EXPECT_EQ(paused, 500) << "the apply's fixed pauses; the read-back's is left to the mouse's next command";
    EXPECT_FALSE(w.state().SettingsChanged);
    EXPECT_TRUE(w.isVisible());
    clock.advance(499);
    EXPECT_TRUE(w.isVisible());
    clock.advance(1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(dialogs.isEmpty());
}

TEST_F(MainWindowTest, OkWhenOnlyTheLevelCannotBeReadTellsSoAndStillCloses)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    w.state().SettingsChanged = true;
    setFaults("fail=3"); // the read-back of the active CPI level
    answers.push_back(1);
    QTest::mouseClick(control("BSBTNOK"), Qt::LeftButton);

    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs.first().startsWith(QStringLiteral("Apply|"))) << dialogs.first().toStdString();
    EXPECT_TRUE(w.isVisible());
    clock.advance(500);
    EXPECT_FALSE(w.isVisible()) << "a note is no failure: OK closes after Timer2";
}

TEST_F(MainWindowTest, OkWithTheMouseGoneWarnsAndClosesAtOnce)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    w.state().SettingsChanged = true;
    setFaults("absent");
    answers = {1};
    QTest::mouseClick(control("BSBTNOK"), Qt::LeftButton);
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs.first().startsWith(QLatin1String("Warning|    Please connect your mouse device before")));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, CancelAfterAChangeOffersToSaveAndClosesEitherWay)
{
    for (const int answer : {1, 2}) {
        SCOPED_TRACE(answer);
        TK4812CfgMain& w = open();
        ASSERT_TRUE(started);
        const std::uint16_t before = dm->FCurrentProfileInfo().ConfigInfo.ReportRate;
        dm->FCurrentProfileInfo().ConfigInfo.ReportRate = before == 1000 ? 125 : 1000;
        dm->SaveBackToCurrentProfileInfo();
        const std::uint16_t edited = dm->FCurrentProfileInfo().ConfigInfo.ReportRate;
        w.state().SettingsChanged = true;
        answers = {answer};
        QTest::mouseClick(control("BSBTNCANCEL"), Qt::LeftButton);

        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs.takeFirst(),
                  QLatin1String("Warning|The settings was changed, save the current setting anyway?|"));
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(reportsSent(), 0u);

        // What a new start reads shows whether the change was stored.
        window.reset();
        dm.reset();
        dm = std::make_unique<TDM>();
        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, answer == 1 ? edited : before);
    }
}

TEST_F(MainWindowTest, CancelWithNoChangeAsksNothing)
{
    TK4812CfgMain& w = open();
    QTest::mouseClick(control("BSBTNCANCEL"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, TheMonitorsCloseMessageClosesWithoutAPrompt)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    w.state().SettingsChanged = true;
    const SendResult sent = sendWindowMessage(QLatin1String(kConfigWindowClass), {UM_CLOSE_CONFIG, 0, 0});
    EXPECT_EQ(sent.status, SendStatus::Answered);
    EXPECT_TRUE(runEventsUntil([&] { return !w.isVisible(); }));
    EXPECT_TRUE(dialogs.isEmpty());
}

TEST_F(MainWindowTest, ALanguageSwitchTranslatesTheWindowAgain)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    auto* tabs = control<TabControl>("TabControlMain");
    const struct {
        int language;
        const char* apply;
        const char* entry;
        const char* tab;
        qreal profileFont;
    } cases[] = {
        {1, "应用", "1.左键", "灵敏度", 11},
        {2, "套用", "1.左鍵", "靈敏度", 11},
        {0, "Apply", "1.Click", "Sensitivity", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        dm->FAllProfileSettingInfo().CurrentLanguage = c.language;
        w.handleWindowMessage(UM_LANGUAGE_CHANGED);
        EXPECT_EQ(control("BSBTNAPPLY")->text(), QString::fromUtf8(c.apply));
        EXPECT_EQ(control("BtnSet1")->text(), QString::fromUtf8(c.entry));
        EXPECT_EQ(tabs->tabText(0), QString::fromUtf8(c.tab));
        EXPECT_EQ(control("BSBTNPROFILE3")->font().pointSizeF(), c.profileFont);
    }
}

// The monitor program may switch the language while a button menu is open:
// the open menu takes the new language at once.
TEST_F(MainWindowTest, AnOpenMenuTakesANewLanguage)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    QTest::mouseClick(control("BtnSet8"), Qt::LeftButton);
    TuiMenuEx& wheelMenu = w.buttonAssignment().uiMenuEx2();
    ASSERT_TRUE(wheelMenu.GetIsMenuOpened());
    MenuPopup* list = wheelMenu.openPopups().front();
    EXPECT_EQ(list->rows()[0]->text(), QStringLiteral("Wheel Up"));
    dm->FAllProfileSettingInfo().CurrentLanguage = 1;
    w.handleWindowMessage(UM_LANGUAGE_CHANGED);
    ASSERT_TRUE(wheelMenu.GetIsMenuOpened());
    EXPECT_EQ(list->rows()[0]->text(), translate(QStringLiteral("Wheel Up")));
    EXPECT_NE(list->rows()[0]->text(), QStringLiteral("Wheel Up"));
    wheelMenu.CloseMenu();
    dm->FAllProfileSettingInfo().CurrentLanguage = 0;
    w.handleWindowMessage(UM_LANGUAGE_CHANGED);
}

TEST_F(MainWindowTest, NoSecondDeviceSequenceStartsWhileOneRuns)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    int applies = 0;
    QObject::connect(&w, &TK4812CfgMain::applied, [&] { ++applies; });
    bool checked = false;
    duringWait = [&] {
        if (checked)
            return;
        checked = true;
        for (const char* name : {"BSBTNOK", "BSBTNAPPLY", "BSBTNCANCEL", "BSBTNMODE1", "BSBTNPROFILE2"})
            EXPECT_FALSE(control(name)->isEnabled()) << name;
        EXPECT_TRUE(control<BusyIndicator>("APPLYAniIndicator")->isRunning());
        w.BSBTNAPPLYClick();   // refused: one runs
        w.BSBTNOKClick();
        w.profileControls()->ModeButtonClick(1); // refused too: the buttons keep showing mode 1
        EXPECT_TRUE(control("BSBTNMODE1")->isChecked());
        EXPECT_FALSE(control("BSBTNMODE2")->isChecked());
        w.close();             // waits for the sequence
        EXPECT_TRUE(w.isVisible());
    };
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_EQ(applies, 1);
    EXPECT_FALSE(control<BusyIndicator>("APPLYAniIndicator")->isRunning());
    EXPECT_TRUE(runEventsUntil([&] { return !w.isVisible(); })) << "the close asked for meanwhile follows";
}

TEST_F(MainWindowTest, EveryControlCanBeReachedByKeyboardAndHasAName)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    const QList<QWidget*> all = w.findChildren<QWidget*>();
    for (QWidget* c : all) {
        // The tab control is named by its tabs.
        if (!c->isVisibleTo(&w) || c->focusPolicy() == Qt::NoFocus || c->parentWidget() != &w
            || qobject_cast<TabControl*>(c))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        ASSERT_NE(a, nullptr) << c->objectName().toStdString();
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << c->objectName().toStdString();
    }
    // Tab runs through the entries from the first on.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    control("BtnSet1")->setFocus();
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"BtnSet1", "BtnSet2", "BtnSet3", "BtnSet4", "BtnSet5", "BtnSet6", "BtnSet7",
                                  "BtnSet8", "Btnset9"}));
}

TEST_F(MainWindowTest, TheArrivalAtStartUpEnablesApply)
{
    TK4812CfgMain& w = open();
    control("BSBTNAPPLY")->setEnabled(false);
    clock.advance(TuiHIDEvent::kStartMonitorDelayMs);
    EXPECT_TRUE(control("BSBTNAPPLY")->isEnabled());
    w.close();
}

TEST_F(MainWindowTest, HelpShowsTheDialogAndTakesTheLanguageAfterwards)
{
    TK4812CfgMain& w = open();
    dm->FAllProfileSettingInfo().CurrentLanguage = 1;
    QTest::mouseClick(control("BSBTNHELP"), Qt::LeftButton);
    EXPECT_EQ(helpShown, 1);
    EXPECT_EQ(control("BSBTNOK")->text(), QString::fromUtf8("确定"));
    w.close();
}

} // namespace
} // namespace k4812::test
