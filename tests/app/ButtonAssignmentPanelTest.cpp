// The button column driven as a user drives it: an entry is clicked, its
// menu opens, an item is clicked; the dialogs and the message box answer
// from queues, so every branch runs without a person.

#include "app/buttons/ButtonAssignmentPanel.h"
#include "app/buttons/ButtonMenus.h"
#include "wire/ButtonEncoding.h"
#include "sequences/MainWindowState.h"
#include "macros/MacroName.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/ProfileManager.h"
#include "profiles/Profile.h"
#include "ui/controls/GlyphWarmer.h"
#include "ui/controls/SkinButton.h"
#include "ui/menu/MenuPopup.h"
#include "ui/menu/MenuRow.h"
#include "ui/menu/TuiMenuEx.h"

#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include <cstring>
#include <deque>
#include <memory>
#include <optional>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

struct Message {
    QString title;
    QString text;
};

// A dialog's answer: the result, and the value it hands back.
template <typename T>
struct Answer {
    int result;
    T value;
};

class ButtonAssignmentPanelTest : public ::testing::Test {
protected:
    ButtonAssignmentPanelTest()
    {
        TDM::Options options;
        options.languageId = QStringLiteral("0409");
        options.configFile = env.path("program/config.ini");
        dm = std::make_unique<TDM>(options);

        ButtonAssignmentPanel::Entries entries;
        for (int i = 0; i < 7; ++i) {
            entries.buttons[std::size_t(i)] = new SkinButton(&host);
            entries.buttons[std::size_t(i)]->setObjectName(QStringLiteral("BtnSet%1").arg(i + 1));
        }
        entries.wheels[0] = new SkinButton(&host);
        entries.wheels[0]->setObjectName(QStringLiteral("BtnSet8"));
        entries.wheels[1] = new SkinButton(&host);
        entries.wheels[1]->setObjectName(QStringLiteral("Btnset9"));
        for (int i = 0; i < 7; ++i)
            entries.buttons[std::size_t(i)]->setGeometry(10, 10 + 40 * i, 120, 33);
        entries.wheels[0]->setGeometry(10, 300, 120, 33);
        entries.wheels[1]->setGeometry(10, 340, 120, 33);
        host.resize(300, 400);
        host.show();

        ButtonAssignmentPanel::Dialogs dialogs;
        dialogs.singleKey = [this](TSINGLEKEYINFO& key) { return answer(singleKeyAnswers, key); };
        dialogs.comboKey = [this](TCOMBOKEYINFO& combo) { return answer(comboAnswers, combo); };
        dialogs.fire = [this](TFIREKEYINFO& fire) {
            fireInputs.push_back(fire);
            return answer(fireAnswers, fire);
        };
        dialogs.macroManager = [this](TMACROKEYINFOLIST& list, int& current, const QString& path) {
            managerCalls.push_back({current, path});
            if (!managerAnswer)
                return 2;
            list = managerAnswer->list;
            current = managerAnswer->current;
            return managerAnswer->result;
        };
        dialogs.message = [this](const QString& title, const QString& text) {
            messages.push_back({title, text});
            return 1;
        };
        panel = std::make_unique<ButtonAssignmentPanel>(*dm, state, entries, dialogs, &host);
        panel->RefreshButtonTexts();
    }

    ~ButtonAssignmentPanelTest() override
    {
        panel.reset();
        EXPECT_TRUE(singleKeyAnswers.empty() && comboAnswers.empty() && fireAnswers.empty())
            << "every queued dialog answer is used";
    }

    template <typename T>
    int answer(std::deque<Answer<T>>& queue, T& value)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "a dialog opened that the test did not expect";
            return 2;
        }
        const Answer<T> a = queue.front();
        queue.pop_front();
        value = a.value;
        return a.result;
    }

    TMOUSEPROFILEINFO& profile() { return dm->FCurrentProfileInfo(); }
    TBUTTONFUNCINFO element(int i) { return profile().ConfigInfo.ButtonFuncInfo[i]; }
    SkinButton* entry(int i) { return host.findChild<SkinButton*>(QStringLiteral("BtnSet%1").arg(i + 1)); }
    SkinButton* wheel(int i)
    {
        return host.findChild<SkinButton*>(i == 0 ? QStringLiteral("BtnSet8") : QStringLiteral("Btnset9"));
    }
    // The profile as its store holds it, to check that a change was written back.
    QByteArray stored() { return dm->FProfileGroup(dm->FProfileIndex())->stream().left(sizeof(TMOUSEPROFILEINFO)); }
    QByteArray current() { return QByteArray(reinterpret_cast<const char*>(&profile()), sizeof(TMOUSEPROFILEINFO)); }

    void addMacro(const QString& name)
    {
        TMACROKEYINFOLIST& list = profile().MacroKeyInfoList;
        TMACROKEYINFO m;
        std::memset(&m, 0, sizeof m);
        setMacroName(m, name);
        m.nMacroIndex = list.nMacroInfoCount;
        m.Version = 259;
        list.MacroInfos[list.nMacroInfoCount] = m;
        list.nMacroInfoCount = std::uint16_t(list.nMacroInfoCount + 1);
    }

    static void mouse(QWidget* w, QEvent::Type type, const QPoint& pos)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }
    static QPoint rowCentre(const MenuPopup* p, int row) { return p->rows()[std::size_t(row)]->geometry().center(); }

    // The menu that the entry opens (the two wheel entries are 7 and 8).
    TuiMenuEx& menuOf(int entryIndex)
    {
        if (entryIndex >= 7)
            return panel->uiMenuEx2();
        return entryIndex < 2 ? panel->uiMenuExLRBUTTON() : panel->uiMenuEx1();
    }
    QAbstractButton* entryButton(int entryIndex) { return entryIndex >= 7 ? wheel(entryIndex - 7) : entry(entryIndex); }

    // Clicks the entry; the open lists of its menu.
    std::vector<MenuPopup*> open(int entryIndex)
    {
        entryButton(entryIndex)->click();
        return menuOf(entryIndex).openPopups();
    }

    // Clicks the entry, then the item `id` (opening its sub-menu first).
    void choose(int entryIndex, int id)
    {
        std::vector<MenuPopup*> popups = open(entryIndex);
        ASSERT_FALSE(popups.empty()) << "the menu opened";
        MenuPopup* list = popups[0];
        int row = id - 1;
        if (id > 100) {
            mouse(list, QEvent::MouseMove, rowCentre(list, id / 100 - 1));
            popups = menuOf(entryIndex).openPopups();
            ASSERT_EQ(popups.size(), 2u) << "the sub-menu opened";
            list = popups[1];
            row = id % 100 - 1;
        }
        ASSERT_LT(row, int(list->rows().size()));
        ASSERT_EQ(list->rows()[std::size_t(row)]->itemId(), std::uint32_t(id));
        mouse(list, QEvent::MouseMove, rowCentre(list, row));
        mouse(list, QEvent::MouseButtonPress, rowCentre(list, row));
        mouse(list, QEvent::MouseButtonRelease, rowCentre(list, row));
        EXPECT_FALSE(menuOf(entryIndex).GetIsMenuOpened()) << "a choice closes the menu";
    }

    QString hintOf(int entryIndex)
    {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(entry(entryIndex), &enter);
        return entry(entryIndex)->toolTip();
    }

    struct ManagerAnswer {
        int result;
        TMACROKEYINFOLIST list;
        int current;
    };
    struct ManagerCall {
        int current;
        QString path;
    };

    TestEnvironment env;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
    QWidget host;
    std::unique_ptr<ButtonAssignmentPanel> panel;
    std::deque<Answer<TSINGLEKEYINFO>> singleKeyAnswers;
    std::deque<Answer<TCOMBOKEYINFO>> comboAnswers;
    std::deque<Answer<TFIREKEYINFO>> fireAnswers;
    std::vector<TFIREKEYINFO> fireInputs;
    std::optional<ManagerAnswer> managerAnswer;
    std::vector<ManagerCall> managerCalls;
    std::vector<Message> messages;
};

TEST_F(ButtonAssignmentPanelTest, EntriesShowTheFactoryFunctions)
{
    const char* expected[] = {"1.Click",   "2.Right Click", "3.Middle Button", "4.Backward",
                              "5.Forward", "6.DPI +",       "7.DPI -"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(entry(i)->text(), QLatin1String(expected[i])) << i;
    EXPECT_EQ(wheel(0)->text(), QStringLiteral("8.Wheel Up"));
    EXPECT_EQ(wheel(1)->text(), QStringLiteral("9.Wheel Down"));
    EXPECT_FALSE(state.SettingsChanged);
}

TEST_F(ButtonAssignmentPanelTest, ThePrimaryButtonsAreNeverBothRightClick)
{
    struct Case {
        int entry;
        int id;
        const char* text0;
        const char* text1;
    };
    // From the factory state (1.Click, 2.Right Click), one choice after another.
    const Case cases[] = {
        {0, kMenuRightClick, "1.Right Click", "2.Click"},
        {1, kMenuRightClick, "1.Click", "2.Right Click"},
        {1, kMenuClick, "1.Click", "2.Click"},
        {0, kMenuClick, "1.Click", "2.Click"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text0 + std::string(" / ") + c.text1);
        state.SettingsChanged = false;
        choose(c.entry, c.id);
        EXPECT_EQ(entry(0)->text(), QLatin1String(c.text0));
        EXPECT_EQ(entry(1)->text(), QLatin1String(c.text1));
        EXPECT_EQ(element(0).MenuID, entry(0)->text().endsWith("Right Click") ? 2 : 1);
        EXPECT_EQ(element(1).MenuID, entry(1)->text().endsWith("Right Click") ? 2 : 1);
        EXPECT_TRUE(state.SettingsChanged);
        EXPECT_EQ(stored(), current()) << "the choice is written back into the profile's store";
    }
    EXPECT_EQ(panel->uiMenuExLRBUTTON().Items().Count(), 2);
}

TEST_F(ButtonAssignmentPanelTest, ACancelledDialogChangesNothingButMarksTheSettingsChanged)
{
    struct Case {
        const char* name;
        int id;
    };
    const Case cases[] = {{"single key", kMenuSingleKey},
                          {"combination", kMenuComboKey},
                          {"fire key", kMenuFireKey},
                          {"macro manager", kMenuMacroManager}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The dialogs hand back a changed value with Cancel: it must not be used.
        singleKeyAnswers = {{2, {0x74, 0}}};
        comboAnswers = {{2, {65, 0, 0, 0, 2}}};
        fireAnswers = {{2, {9, 9}}};
        addMacro(QStringLiteral("Dropped"));
        managerAnswer = ManagerAnswer{2, {}, 0};
        const QByteArray before = current();
        state.SettingsChanged = false;

        choose(3, c.id);

        EXPECT_EQ(entry(3)->text(), QStringLiteral("4.Backward"));
        EXPECT_EQ(current(), before);
        EXPECT_TRUE(state.SettingsChanged);
        EXPECT_TRUE(messages.empty());
        singleKeyAnswers.clear();
        comboAnswers.clear();
        fireAnswers.clear();
        profile().MacroKeyInfoList.nMacroInfoCount = 0;
    }
}

TEST_F(ButtonAssignmentPanelTest, KeyChoicesShowTheirKeysAndTheWholeCombinationAsHint)
{
    struct Case {
        int id;
        TCOMBOKEYINFO combo;
        TSINGLEKEYINFO key;
        const char* text;
        const char* hint;
    };
    const Case cases[] = {
        {kMenuComboKey, {65, 0, 0, 0, 2}, {}, "3.Ctrl+A", "Combo Key: Ctrl+A"},
        {kMenuComboKey, {65, 0, 66, 0, 2}, {}, "3.<Ctrl+A+B>", "Combo Key: <Ctrl+A+B>"},
        // 12 characters stay whole; 13 and more are cut to 9 and "...".
        {kMenuComboKey, {65, 0, 0x79, 0, 2}, {}, "3.<Ctrl+A+F10>", "Combo Key: <Ctrl+A+F10>"},
        {kMenuComboKey, {0x70, 0, 0x79, 0, 2}, {}, "3.<Ctrl+F1+...", "Combo Key: <Ctrl+F1+F10>"},
        {kMenuComboKey, {65, 0, 66, 0, 2 | 4}, {}, "3.<Ctrl+Shi...", "Combo Key: <Ctrl+Shift+A+B>"},
        {kMenuSingleKey, {}, {0x74, 0}, "3.<F5>", "Single Key: <F5>"},
        {kMenuSingleKey, {}, {0x0D, 0}, "3.<ENTER>", "Single Key: <ENTER>"},
        {803, {}, {}, "3.Paste", ""},
        {1005, {}, {}, "3.Volume Up", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.id == kMenuComboKey)
            comboAnswers = {{1, c.combo}};
        if (c.id == kMenuSingleKey)
            singleKeyAnswers = {{1, c.key}};
        choose(2, c.id);
        EXPECT_EQ(element(2).MenuID, c.id);
        EXPECT_EQ(stored(), current());
        EXPECT_EQ(entry(2)->text(), QLatin1String(c.text));
        EXPECT_EQ(hintOf(2), QLatin1String(c.hint));
    }
}

TEST_F(ButtonAssignmentPanelTest, AKeyTheMouseCannotSendIsRefusedWithAWarning)
{
    // The power key has no usage: a mouse button must not switch the computer off.
    singleKeyAnswers = {{1, {255, 1}}};
    const QByteArray before = current();
    choose(3, kMenuSingleKey);
    EXPECT_EQ(current(), before);
    EXPECT_EQ(entry(3)->text(), QStringLiteral("4.Backward"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(messages[0].text, QStringLiteral("The mouse cannot send this key: POWER"));

    // OK with nothing recorded (an empty box) stores nothing either, silently.
    comboAnswers = {{1, {0, 0, 0, 0, 2}}};
    choose(3, kMenuComboKey);
    EXPECT_EQ(current(), before);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ButtonAssignmentPanelTest, TheFireDialogStartsFromTheProfileWhenTheButtonHasNoDelay)
{
    profile().ConfigInfo.FireKeyCount = 7;
    profile().ConfigInfo.FireKeySpeed = 33;
    fireAnswers = {{1, {4, 12}}, {1, {5, 13}}};
    choose(4, kMenuFireKey);
    EXPECT_EQ(entry(4)->text(), QStringLiteral("5.Fire Key..."));
    const TFIREKEYINFO stored1 = element(4).FireKeyInfo;
    EXPECT_EQ(stored1.nLoopCount, 4);
    EXPECT_EQ(stored1.DelyValue, 12);
    choose(4, kMenuFireKey);
    ASSERT_EQ(fireInputs.size(), 2u);
    EXPECT_EQ(fireInputs[0].nLoopCount, 7);
    EXPECT_EQ(fireInputs[0].DelyValue, 33);
    EXPECT_EQ(fireInputs[1].nLoopCount, 4) << "then from the button's own values";
    EXPECT_EQ(fireInputs[1].DelyValue, 12);
}

TEST_F(ButtonAssignmentPanelTest, TheMacroSubMenuListsTheProfilesMacros)
{
    auto macroRows = [this] {
        std::vector<MenuPopup*> popups = open(2);
        mouse(popups[0], QEvent::MouseMove, rowCentre(popups[0], 10));
        popups = panel->uiMenuEx1().openPopups();
        std::vector<std::pair<std::uint32_t, QString>> rows;
        if (popups.size() == 2) {
            for (const MenuRow* row : popups[1]->rows())
                rows.emplace_back(row->itemId(), row->text());
        }
        panel->uiMenuEx1().CloseMenu();
        return rows;
    };
    using Rows = std::vector<std::pair<std::uint32_t, QString>>;
    EXPECT_EQ(macroRows(), (Rows{{1101, "Macro Manager"}}));
    for (const char* name : {"Reload", "Jump", "Crouch"})
        addMacro(QString::fromLatin1(name));
    panel->RefreshButtonTexts();
    EXPECT_EQ(macroRows(), (Rows{{1101, "Macro Manager"}, {1102, "Macro<Reload>"}, {1103, "Macro<Jump>"},
                                 {1104, "Macro<Crouch>"}}));
}

// A macro's name may have 50 characters: the Macro sub-menu stays narrow
// and shows the whole item as a tip.
TEST_F(ButtonAssignmentPanelTest, ALongMacroNameKeepsTheMacroSubMenuNarrow)
{
    const QString name(50, QLatin1Char('W'));
    addMacro(name);
    panel->RefreshButtonTexts();
    std::vector<MenuPopup*> popups = open(2);
    mouse(popups[0], QEvent::MouseMove, rowCentre(popups[0], 10));
    popups = panel->uiMenuEx1().openPopups();
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_LE(popups[1]->width(), kMacroMenuMaxItemWidth + 8);
    ASSERT_EQ(popups[1]->rows().size(), 2u);
    EXPECT_EQ(popups[1]->rows()[1]->toolTip(), QStringLiteral("Macro<") + name + QLatin1Char('>'));
    panel->uiMenuEx1().CloseMenu();
}

TEST_F(ButtonAssignmentPanelTest, TheSameMacroCountsOnceAndASixthIsRefused)
{
    for (int k = 0; k < 6; ++k)
        addMacro(QStringLiteral("M%1").arg(k));
    panel->RefreshButtonTexts();
    // Elements 7 and 8 have no entry on screen but count towards the limit.
    for (int i : {7, 8}) {
        TBUTTONFUNCINFO e = element(i);
        e.FunctionClass = kFunctionClassMacro;
        e.FunctionIndex = kRowMacro;
        e.MacroKeyInfo = profile().MacroKeyInfoList.MacroInfos[i - 4];
        e.MacroKeyInfo.nMacroIndex = std::uint16_t(i - 4);
        profile().ConfigInfo.ButtonFuncInfo[i] = e;
    }
    for (int entryIndex : {2, 3, 4})
        choose(entryIndex, 1102);   // M0 three times
    choose(5, 1103);                 // M1
    choose(6, 1104);                 // M2: with M3 and M4 five distinct macros
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(entry(4)->text(), QStringLiteral("5.Macro<M0>"));
    EXPECT_EQ(element(4).MacroKeyInfo.nMacroIndex, 0);
    EXPECT_EQ(panel->FCurrentMacro, 2);

    const QByteArray before = current();
    state.SettingsChanged = false;
    choose(2, 1107);   // M5 on entry 3: M0 stays on entries 4 and 5, a sixth
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(messages[0].text, QStringLiteral("You can assign macros to buttons shall not exceed 5 ."));
    EXPECT_EQ(current(), before) << "the button keeps its macro";
    EXPECT_EQ(entry(2)->text(), QStringLiteral("3.Macro<M0>"));
    EXPECT_TRUE(state.SettingsChanged);
}

TEST_F(ButtonAssignmentPanelTest, AWheelChoiceIsStoredButChangesNothingTheMouseGets)
{
    const ButtonBlock before = EncodeButtonBlock(profile());
    choose(7, 3);   // "Volume +" on the upper wheel entry
    EXPECT_EQ(wheel(0)->text(), QStringLiteral("8.Volume +"));
    EXPECT_EQ(wheel(1)->text(), QStringLiteral("9.Wheel Down"));
    const TBUTTONFUNCINFO up = profile().ConfigInfo.VWheelButtonFuncInfo[0];
    EXPECT_EQ(up.MenuID, 3);
    EXPECT_EQ(up.FunctionIndex, 2);
    EXPECT_EQ(up.FunctionClass, kFunctionClassMouse);
    EXPECT_EQ(stored(), current());
    EXPECT_FALSE(state.SettingsChanged) << "the wheel menu does not mark the settings changed";
    EXPECT_EQ(EncodeButtonBlock(profile()), before);

    choose(8, 6);
    EXPECT_EQ(wheel(1)->text(), QStringLiteral("9.Forward"));
    EXPECT_EQ(panel->uiMenuEx2().Items().Count(), 6);
}

TEST_F(ButtonAssignmentPanelTest, AMenuOpensWithTheEntrysChoiceMarked)
{
    auto selected = [](const MenuPopup* p) {
        std::vector<int> rows;
        for (int i = 0; i < int(p->rows().size()); ++i) {
            if (p->rows()[std::size_t(i)]->isSelected())
                rows.push_back(i);
        }
        return rows;
    };
    choose(2, 804);   // Select All, inside "Basic"
    std::vector<MenuPopup*> popups = open(2);
    EXPECT_EQ(selected(popups[0]), std::vector<int>{}) << "nothing at the top level";
    mouse(popups[0], QEvent::MouseMove, rowCentre(popups[0], 7));
    popups = panel->uiMenuEx1().openPopups();
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(selected(popups[1]), std::vector<int>{3});
    panel->uiMenuEx1().CloseMenu();

    popups = open(5);   // factory DPI + (13)
    EXPECT_EQ(selected(popups[0]), std::vector<int>{12});
    panel->uiMenuEx1().CloseMenu();
    popups = open(1);   // Right Click
    EXPECT_EQ(selected(popups[0]), std::vector<int>{1});
    panel->uiMenuExLRBUTTON().CloseMenu();
    popups = open(8);   // Wheel Down
    EXPECT_EQ(selected(popups[0]), std::vector<int>{1});
}

TEST_F(ButtonAssignmentPanelTest, AfterTheMacroManagerButtonsFollowTheirMacrosByName)
{
    for (const char* name : {"A", "B", "C"})
        addMacro(QString::fromLatin1(name));
    panel->RefreshButtonTexts();
    choose(2, 1102);   // A
    choose(3, 1103);   // B
    choose(4, 1104);   // C

    // The manager deletes B and moves C to the front; entry 3 keeps A selected.
    ManagerAnswer answer{1, profile().MacroKeyInfoList, 1};
    answer.list.MacroInfos[0] = profile().MacroKeyInfoList.MacroInfos[2];
    answer.list.MacroInfos[1] = profile().MacroKeyInfoList.MacroInfos[0];
    answer.list.nMacroInfoCount = 2;
    managerAnswer = answer;
    choose(2, kMenuMacroManager);

    ASSERT_EQ(managerCalls.size(), 1u);
    EXPECT_EQ(managerCalls[0].current, 0) << "the manager opens on the entry's macro";
    const TProfileSetting setting = dm->FProfileSettingGroup().ProfileSettingList[dm->FProfileIndex()];
    EXPECT_EQ(managerCalls[0].path, setting.MacroPath.toString());
    EXPECT_EQ(entry(2)->text(), QStringLiteral("3.Macro<A>"));
    EXPECT_EQ(element(2).MenuID, 1103);
    EXPECT_EQ(element(2).MacroKeyInfo.nMacroIndex, 1);
    EXPECT_EQ(entry(3)->text(), QStringLiteral("4.Disable")) << "its macro was deleted";
    EXPECT_EQ(element(3).MenuID, 0);
    EXPECT_EQ(element(3).FunctionIndex, kRowDisable);
    EXPECT_EQ(element(3).DeviceCode, 0x0E);
    EXPECT_EQ(entry(4)->text(), QStringLiteral("5.Macro<C>"));
    EXPECT_EQ(element(4).MenuID, 1102) << "the MenuID follows the macro's new place";
    EXPECT_EQ(element(4).MacroKeyInfo.nMacroIndex, 0);
    EXPECT_EQ(stored(), current());
    EXPECT_EQ(panel->uiMenuEx1().Items()[10].SubItems().Count(), 3);

    // Leaving the manager with no macro selected makes the entry Disable.
    managerAnswer = ManagerAnswer{1, profile().MacroKeyInfoList, -1};
    choose(4, kMenuMacroManager);
    EXPECT_EQ(managerCalls.back().current, 0) << "C is first now";
    EXPECT_EQ(entry(4)->text(), QStringLiteral("5.Disable"));
    EXPECT_EQ(entry(2)->text(), QStringLiteral("3.Macro<A>"));
}

TEST_F(ButtonAssignmentPanelTest, AMacroListAcceptedWithOkIsKeptEvenWhenTheEntrysMacroIsRefused)
{
    for (int k = 0; k < 6; ++k)
        addMacro(QStringLiteral("M%1").arg(k));
    panel->RefreshButtonTexts();
    for (int entryIndex = 2; entryIndex < 7; ++entryIndex)
        choose(entryIndex, 1102 + entryIndex - 2);   // M0 ... M4
    // M0 also on element 7, which has no entry: entry 3 giving it up still leaves five.
    profile().ConfigInfo.ButtonFuncInfo[7] = element(2);
    // The manager renames M4 and closes with M5 selected for entry 3: a sixth macro.
    ManagerAnswer answer{1, profile().MacroKeyInfoList, 5};
    setMacroName(answer.list.MacroInfos[4], QStringLiteral("Renamed"));
    managerAnswer = answer;
    choose(2, kMenuMacroManager);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(entry(2)->text(), QStringLiteral("3.Macro<M0>")) << "the entry keeps its macro";
    EXPECT_EQ(macroNameOf(profile().MacroKeyInfoList.MacroInfos[4]), QStringLiteral("Renamed"));
    EXPECT_EQ(entry(6)->text(), QStringLiteral("7.Disable")) << "M4 is gone from the list";
    EXPECT_EQ(stored(), current()) << "the accepted list is written back";
}

} // namespace

TEST_F(ButtonAssignmentPanelTest, TheMenusFontAndCaptionsArePreparedAheadInSteps)
{
    // Top-level captions and sub-items of all three menus, as shown.
    const QFont font = panel->uiMenuEx1().Parameters.ItemFont;
    const QString texts[] = {QStringLiteral("Right Click"), QStringLiteral("Macro Manager"),
                             QStringLiteral("Wheel Up")};
    for (const QString& text : texts)
        EXPECT_FALSE(GlyphWarmer::prepared(font, text)) << text.toStdString() << " before";
    panel->prepareMenus();
    ASSERT_TRUE(test::runEventsUntil([&] {
        return std::all_of(std::begin(texts), std::end(texts),
                           [&](const QString& text) { return GlyphWarmer::prepared(font, text); });
    })) << "in steps from the event loop";
}
