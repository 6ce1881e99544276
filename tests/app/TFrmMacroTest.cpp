// The macro manager driven by its controls' object names, with a stand-in
// hook library feeding key events and the dialogs answered from queues.

#include "app/DialogSkins.h"
#include "app/buttons/ButtonAssignmentPanel.h"
#include "app/macro/ShowMacroManager.h"
#include "app/macro/TFrmMacro.h"
#include "sequences/MainWindowState.h"
#include "i18n/Translation.h"
#include "macros/MacroAction.h"
#include "profiles/ProfileManager.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/skin/ImageDataBase.h"

#include "../macros/FakeHookLibrary.h"
#include "../macros/MacroTestSupport.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace k4812 {
namespace {

using test::FakeHookLibrary;
using test::keyDown;
using test::keyUp;
using test::makeMacro;
using test::makeMacroList;

class TFrmMacroTest : public ::testing::Test {
protected:
    TFrmMacroTest()
    {
        FakeHookLibrary::reset();
        // The texts are compared in English, whatever an earlier test switched to.
        clearActiveTranslation();
        setTranslationReverting(false);
    }
    ~TFrmMacroTest() override
    {
        window.reset();
        EXPECT_TRUE(answers.empty()) << "answers left for questions never asked";
    }

    MacroManagerEnvironment environment()
    {
        MacroManagerEnvironment e;
        e.hook.loadLibrary = &FakeHookLibrary::load;
        e.message = [this](const QString& title, const QString& text, const QString&) {
            asked.push_back(title + QLatin1Char('|') + text);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question " << asked.back().toStdString();
                return 2;
            }
            const int a = answers.front();
            answers.pop_front();
            return a;
        };
        e.createMacro = [this](const QString&, QString& name, const QStringList&) {
            ++createDialogs;
            name = createName;
            return 1;
        };
        return e;
    }

    TFrmMacro& open(const TMACROKEYINFOLIST& macros, int select = 0)
    {
        *list = macros;
        index = select;
        QString error;
        session = MacroManagerSession::open(*list, index, env.path(QStringLiteral("Macros")), error);
        EXPECT_TRUE(session) << error.toStdString();
        window = std::make_unique<TFrmMacro>(*session, *list, index, environment());
        return *window;
    }

    template <typename T>
    T* control(const char* name)
    {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    // Presses or releases an option as the user does (a click), when it is not so already.
    void setOption(const char* name, bool pressed)
    {
        if (control<QAbstractButton>(name)->isChecked() != pressed)
            click(name);
    }
    ListBox* actionList() { return control<ListBox>("ListBoxAction"); }
    QStringList actionTexts()
    {
        QStringList texts;
        for (int i = 0; i < actionList()->count(); ++i)
            texts << actionList()->item(i)->text().trimmed();
        return texts;
    }
    const TMACROKEYINFO& selected() { return *session->macros().CurrentMacroKeyInfo(); }
    std::vector<TMACROKEY> storedActions()
    {
        return {selected().MacroList, selected().MacroList + selected().MacroListCount};
    }

    test::TestEnvironment env;
    std::unique_ptr<TMACROKEYINFOLIST> list = makeMacroList({});
    int index = 0;
    std::unique_ptr<MacroManagerSession> session;
    std::unique_ptr<TFrmMacro> window;
    std::deque<int> answers;
    QStringList asked;
    int createDialogs = 0;
    QString createName;
};

void expectActions(const std::vector<TMACROKEY>& actual, const std::vector<TMACROKEY>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(test::sameAction(actual[i], expected[i])) << "action " << i;
}

TEST_F(TFrmMacroTest, NewOnTwentyMacrosWarnsAndOpensNoDialog)
{
    auto macros = makeMacroList({});
    for (int i = 0; i < 20; ++i)
        macros->MacroInfos[i] = makeMacro(QStringLiteral("M%1").arg(i));
    macros->nMacroInfoCount = 20;
    open(*macros);
    answers = {1};
    click("BTNNEW");
    EXPECT_EQ(asked, QStringList{QStringLiteral("Warning|You can create macros shall not exceed 20 .")});
    EXPECT_EQ(createDialogs, 0);
    EXPECT_EQ(control<ListBox>("ListBoxMacro")->count(), 20);
}

TEST_F(TFrmMacroTest, NewWithAnExistingOrEmptyNameAddsNothing)
{
    open(*makeMacroList({makeMacro("Reload"), makeMacro("Jump")}));
    auto* macros = control<ListBox>("ListBoxMacro");
    createName = QStringLiteral("Jump");
    click("BTNNEW");
    EXPECT_EQ(macros->count(), 2);
    EXPECT_EQ(macros->currentRow(), 1);
    EXPECT_EQ(session->macros().MacroListIndex(), 1);
    createName.clear();
    click("BTNNEW");
    EXPECT_EQ(macros->count(), 2);
    createName = QStringLiteral("Fire");
    click("BTNNEW");
    ASSERT_EQ(macros->count(), 3);
    EXPECT_EQ(macros->currentRow(), 2);
    EXPECT_EQ(macros->item(2)->text(), QStringLiteral("Fire"));
    EXPECT_EQ(createDialogs, 3);
}

TEST_F(TFrmMacroTest, A130KeyRecordingStopsAt127RowsAndActions)
{
    open(*makeMacroList({makeMacro("Long")}));
    click("BTNSTARTRECORD");
    ASSERT_TRUE(window->recording());
    EXPECT_FALSE(control<QAbstractButton>("BTNOK")->isEnabled());
    EXPECT_TRUE(control<QAbstractButton>("BTNSTOPRECORD")->isEnabled());
    auto* reachedMax = control<SkinLabel>("LabelReachedMax");
    for (int i = 0; i < 130; ++i) {
        const std::uint32_t vk = 0x41 + std::uint32_t(i / 2 % 26);
        // All at one time stamp: no pauses, one row per key event.
        (i % 2 == 0 ? FakeHookLibrary::press : FakeHookLibrary::release)(vk, 1000, false);
        EXPECT_EQ(reachedMax->isHidden(), i < 127) << i;
    }
    EXPECT_EQ(actionList()->count(), 127);
    EXPECT_EQ(control<SkinLabel>("LabelTotalActions")->text(), QStringLiteral("127"));
    click("BTNSTOPRECORD");
    EXPECT_FALSE(window->recording());
    EXPECT_EQ(selected().MacroListCount, 127);
    EXPECT_TRUE(control<QAbstractButton>("BTNOK")->isEnabled());
}

TEST_F(TFrmMacroTest, WithoutDelaysOnlyKeysAreStoredAndShown)
{
    auto macros = makeMacroList({makeMacro("R"), makeMacro("Other")});
    macros->MacroInfos[0].nAutoAddDelay = 1;   // recorded with delays before
    open(*macros);
    EXPECT_TRUE(control<CheckBox>("OptionRecordDelay")->isChecked());
    click("OptionRecordDelay");
    click("BTNSTARTRECORD");
    FakeHookLibrary::press('R', 1000);
    FakeHookLibrary::release('R', 1300);
    click("BTNSTOPRECORD");
    expectActions(storedActions(), {keyDown('R'), keyUp('R')});
    EXPECT_EQ(selected().nAutoAddDelay, 0);

    // Selecting the macro again shows no delay rows and leaves the option released.
    control<ListBox>("ListBoxMacro")->setCurrentRow(1);
    control<CheckBox>("OptionRecordDelay")->setChecked(true);
    control<ListBox>("ListBoxMacro")->setCurrentRow(0);
    EXPECT_EQ(actionTexts(), (QStringList{"R", "R"}));
    EXPECT_FALSE(control<CheckBox>("OptionRecordDelay")->isChecked());
}

TEST_F(TFrmMacroTest, PausesAreStoredAsDelaysOfAtLeastTenMs)
{
    open(*makeMacroList({makeMacro("R")}));
    // A macro never recorded with delays shows the option released.
    EXPECT_FALSE(control<CheckBox>("OptionRecordDelay")->isChecked());
    setOption("OptionRecordDelay", true);
    click("BTNSTARTRECORD");
    FakeHookLibrary::press('R', 1000);
    FakeHookLibrary::release('R', 1005);
    FakeHookLibrary::press('T', 13005);   // 12 s: not shown while recording
    EXPECT_EQ(actionTexts(), (QStringList{"R", "10", "R", "T"}));
    FakeHookLibrary::release('T', 13100);
    click("BTNSTOPRECORD");
    expectActions(storedActions(), {keyDown('R'), makeDelayAction(10), keyUp('R'), makeDelayAction(12000),
                                    keyDown('T'), makeDelayAction(95), keyUp('T')});
    EXPECT_EQ(actionTexts(), (QStringList{"R", "10", "R", "12000", "T", "95", "T"}));
    EXPECT_EQ(control<SkinLabel>("LabelTotalTime")->text(), QStringLiteral("12105"));
}

TEST_F(TFrmMacroTest, DefaultDelayReplacesEveryPause)
{
    open(*makeMacroList({makeMacro("R")}));
    click("OptionRecordDelay");          // released ...
    click("OptionDefaultDelay");         // ... and pressed again with the default delay
    EXPECT_TRUE(control<CheckBox>("OptionRecordDelay")->isChecked());
    auto* box = control<NumberBox>("NumBoxDefaultDelay");
    EXPECT_TRUE(box->isEnabled());
    box->setValue(250);
    click("BTNSTARTRECORD");
    FakeHookLibrary::press('R', 1000);
    FakeHookLibrary::release('R', 1005);
    FakeHookLibrary::press('R', 1700);
    FakeHookLibrary::release('R', 1701);
    click("BTNSTOPRECORD");
    expectActions(storedActions(), {keyDown('R'), makeDelayAction(250), keyUp('R'), makeDelayAction(250),
                                    keyDown('R'), makeDelayAction(250), keyUp('R')});
}

TEST_F(TFrmMacroTest, LoopOptionStoresAtOnce)
{
    open(*makeMacroList({makeMacro("R", {keyDown('R'), keyUp('R')})}));
    auto* loop = control<NumberBox>("NumBoxLoop");
    EXPECT_FALSE(loop->isEnabled());
    click("OptionLoop");
    EXPECT_EQ(selected().nLoopCount, 1);
    EXPECT_TRUE(loop->isEnabled());
    loop->stepBy(4);   // the user's step
    EXPECT_EQ(selected().nLoopCount, 5);
    click("OptionLoop");
    EXPECT_EQ(selected().nLoopCount, 0);
    EXPECT_EQ(loop->value(), 0);
    EXPECT_FALSE(loop->isEnabled());
}

TEST_F(TFrmMacroTest, ActionToolsWorkOnTheSelectedRowsAction)
{
    // Recorded without delays, but holding one: the rows skip it, and the
    // second row still stands for the third action.
    auto macro = makeMacro("R", {keyDown('A'), makeDelayAction(40), keyUp('A'), keyDown('B'), keyUp('B')});
    open(*makeMacroList({macro}));
    EXPECT_EQ(actionTexts(), (QStringList{"A", "A", "B", "B"}));
    actionList()->setCurrentRow(1);
    window->ActionToolsClick(TFrmMacro::kDeleteAction);
    expectActions(storedActions(), {keyDown('A'), makeDelayAction(40), keyDown('B'), keyUp('B')});
    EXPECT_EQ(selected().HaveErrors, 1);   // A is never released now
    EXPECT_TRUE(control<ListBox>("ListBoxMacro")->item(0)->data(Qt::UserRole + 2).toBool());

    actionList()->setCurrentRow(1);
    window->ActionToolsClick(TFrmMacro::kMoveActionUp);
    expectActions(storedActions(), {keyDown('A'), keyDown('B'), makeDelayAction(40), keyUp('B')});
}

TEST_F(TFrmMacroTest, InsertActionsRecordsAfterTheSelectedAction)
{
    open(*makeMacroList({makeMacro("R", {keyDown('A'), keyUp('A')})}));
    setOption("OptionRecordDelay", false);
    actionList()->setCurrentRow(0);
    window->ActionToolsClick(TFrmMacro::kInsertActions);
    ASSERT_TRUE(window->recording());
    EXPECT_TRUE(control<QAbstractButton>("BTNSTARTRECORD")->isChecked());
    FakeHookLibrary::press('X', 10);
    FakeHookLibrary::release('X', 20);
    EXPECT_EQ(actionTexts(), (QStringList{"A", "X", "X", "A"}));
    click("BTNSTOPRECORD");
    expectActions(storedActions(), {keyDown('A'), keyDown('X'), keyUp('X'), keyUp('A')});
}

TEST_F(TFrmMacroTest, InlineDelayEditorStoresOnEnterClampedAndDiscardsOnFocusLoss)
{
    open(*makeMacroList({makeMacro("R", {keyDown('A'), makeDelayAction(40), keyUp('A')})}));
    // Recorded with delays.
    session->macros().CurrentMacroAction()->SetDelayValue(1, 40);
    TMACROKEYINFO m = selected();
    m.nAutoAddDelay = 1;
    QString error;
    session->macros().CurrentMacroAction()->SetMacroKeyInfo(m, error);
    window->ShowMacroActions();
    auto* editor = control<NumberBox>("DELAYEDIT");

    struct Case {
        const char* typed;
        int stored;
    };
    for (const Case c : {Case{"5", 10}, Case{"70000", 65535}, Case{"300", 300}}) {
        emit actionList()->itemDoubleClicked(actionList()->item(1));
        ASSERT_FALSE(editor->isHidden());
        editor->findChild<QLineEdit*>()->setText(QString::fromLatin1(c.typed));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &release);
        EXPECT_TRUE(editor->isHidden());
        EXPECT_EQ(session->macros().CurrentMacroAction()->GetDelayValue(1), c.stored) << c.typed;
    }

    emit actionList()->itemDoubleClicked(actionList()->item(1));
    editor->setValue(999);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(editor, &out);
    EXPECT_TRUE(editor->isHidden());
    EXPECT_EQ(session->macros().CurrentMacroAction()->GetDelayValue(1), 300);

    // Only delay rows have an editor.
    emit actionList()->itemDoubleClicked(actionList()->item(0));
    EXPECT_TRUE(editor->isHidden());
}

// Runs `drive` on the manager once it is open.
void whenOpen(std::function<void(TFrmMacro&)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* window = qobject_cast<TFrmMacro*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr) << "the macro manager is open";
        drive(*window);
    });
}

TEST_F(TFrmMacroTest, CancelAfterCreatingAndDeletingLeavesTheCallersList)
{
    auto macros = makeMacroList({makeMacro("Reload"), makeMacro("Jump")});
    const TMACROKEYINFOLIST before = *macros;
    int current = 1;
    createName = QStringLiteral("Fire");
    answers = {1, 1};   // delete: yes; leave without saving: yes
    whenOpen([](TFrmMacro& w) {
        w.findChild<QAbstractButton*>(QStringLiteral("BTNNEW"))->click();
        w.findChild<ListBox*>(QStringLiteral("ListBoxMacro"))->setCurrentRow(0);
        w.findChild<QAbstractButton*>(QStringLiteral("BTNDELETE"))->click();
        w.findChild<QAbstractButton*>(QStringLiteral("BTNCANCEL"))->click();
    });
    EXPECT_EQ(ShowMacroManager(*macros, current, env.path(QStringLiteral("Macros")), nullptr, environment()), 2);
    EXPECT_EQ(std::memcmp(macros.get(), &before, sizeof before), 0);
    EXPECT_EQ(asked, (QStringList{"Delete|Are your sure you want to delete this macro?",
                                  "Warning|Do you want to leave macro manager without saving?"}));
}

TEST_F(TFrmMacroTest, CancelAnsweredNoStaysOpenAndCloseLeavesWithoutAsking)
{
    auto macros = makeMacroList({makeMacro("Reload")});
    int current = 0;
    answers = {2};
    whenOpen([](TFrmMacro& w) {
        w.findChild<QAbstractButton*>(QStringLiteral("BTNCANCEL"))->click();
        EXPECT_TRUE(w.isVisible());
        w.findChild<QAbstractButton*>(QStringLiteral("BTNCLOSE"))->click();
    });
    EXPECT_EQ(ShowMacroManager(*macros, current, env.path(QStringLiteral("Macros")), nullptr, environment()), 2);
}

TEST_F(TFrmMacroTest, NoKeyWorksTheWindowWhileRecordingAndEscapeAsksAsCancel)
{
    auto macros = makeMacroList({makeMacro("Reload")});
    const TMACROKEYINFOLIST before = *macros;
    int current = 0;
    answers = {2, 1};   // the first Escape after the recording: stay; the second: leave
    whenOpen([this](TFrmMacro& w) {
        w.findChild<QAbstractButton*>(QStringLiteral("BTNSTARTRECORD"))->click();
        ASSERT_TRUE(w.recording());
        // Keys the recorder lets through (past its limit) reach the window and
        // its focused control: none of them may work it.
        auto* stop = w.findChild<QAbstractButton*>(QStringLiteral("BTNSTOPRECORD"));
        for (QWidget* target : {static_cast<QWidget*>(&w), static_cast<QWidget*>(stop)}) {
            for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space})
                QTest::keyClick(target, key);
        }
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.recording());
        EXPECT_TRUE(asked.isEmpty());
        w.close();   // the window system's close is refused too
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.recording());

        stop->click();
        EXPECT_FALSE(w.recording());
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible()) << "answered no: the manager stays";
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(ShowMacroManager(*macros, current, env.path(QStringLiteral("Macros")), nullptr, environment()), 2);
    EXPECT_EQ(std::memcmp(macros.get(), &before, sizeof before), 0);
    EXPECT_EQ(asked, (QStringList{"Warning|Do you want to leave macro manager without saving?",
                                  "Warning|Do you want to leave macro manager without saving?"}));
}

TEST_F(TFrmMacroTest, OkWritesTheListAndEveryMacroFile)
{
    auto macros = makeMacroList({makeMacro("Reload"), makeMacro("Jump")});
    int current = 0;
    const QString folder = env.path(QStringLiteral("Macros"));
    whenOpen([](TFrmMacro& w) {
        w.findChild<ListBox*>(QStringLiteral("ListBoxMacro"))->setCurrentRow(1);
        w.findChild<QAbstractButton*>(QStringLiteral("BTNSTARTRECORD"))->click();
        FakeHookLibrary::press('J', 100);
        FakeHookLibrary::release('J', 200);
        // OK, like every button but stop, waits for the recording to end.
        EXPECT_FALSE(w.findChild<QAbstractButton*>(QStringLiteral("BTNOK"))->isEnabled());
        w.findChild<QAbstractButton*>(QStringLiteral("BTNSTOPRECORD"))->click();
        w.findChild<QAbstractButton*>(QStringLiteral("BTNOK"))->click();
    });
    EXPECT_EQ(ShowMacroManager(*macros, current, folder, nullptr, environment()), 1);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(macros->MacroInfos[1].MacroListCount, 2);   // J down, J up: Jump was never recorded with delays
    EXPECT_EQ(test::readFile(folder + QStringLiteral("/Jump.macro")).size(), 892);
    EXPECT_EQ(test::readFile(folder + QStringLiteral("/Reload.macro")).size(), 892);
}

TEST_F(TFrmMacroTest, AFailedWriteKeepsTheWindowOpenAndTheCallersList)
{
    auto macros = makeMacroList({makeMacro("Reload")});
    const TMACROKEYINFOLIST before = *macros;
    int current = 0;
    answers = {1, 1};   // the error; leave without saving
    whenOpen([](TFrmMacro& w) {
        w.findChild<QAbstractButton*>(QStringLiteral("OptionLoop"))->click();
        w.findChild<QAbstractButton*>(QStringLiteral("BTNOK"))->click();
        EXPECT_TRUE(w.isVisible());
        w.findChild<QAbstractButton*>(QStringLiteral("BTNCANCEL"))->click();
    });
    EXPECT_EQ(ShowMacroManager(*macros, current, env.path(QStringLiteral("no/such/parent")), nullptr, environment()),
              2);
    EXPECT_EQ(std::memcmp(macros.get(), &before, sizeof before), 0);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Error|")));
}

// After the manager's OK the buttons follow their macros by name.
TEST_F(TFrmMacroTest, ButtonsFollowTheirMacrosAfterOk)
{
    TDM::Options options;
    options.languageId = QStringLiteral("0409");
    options.configFile = env.path(QStringLiteral("program/config.ini"));
    TDM dm(options);
    MainWindowState state;
    QWidget host;
    ButtonAssignmentPanel::Entries entries;
    for (int i = 0; i < 7; ++i)
        entries.buttons[std::size_t(i)] = new SkinButton(&host);
    entries.wheels[0] = new SkinButton(&host);
    entries.wheels[1] = new SkinButton(&host);
    ButtonAssignmentPanel::Dialogs dialogs;
    dialogs.macroManager = [this](TMACROKEYINFOLIST& l, int& current, const QString& path) {
        return ShowMacroManager(l, current, path, nullptr, environment());
    };
    dialogs.message = [](const QString&, const QString&) { return 1; };
    ButtonAssignmentPanel panel(dm, state, entries, dialogs, &host);

    TMACROKEYINFOLIST& profileMacros = dm.FCurrentProfileInfo().MacroKeyInfoList;
    *list = *makeMacroList({makeMacro("Reload"), makeMacro("Jump"), makeMacro("Fire")});
    profileMacros = *list;
    panel.AssignButtonFunction(3, 1102);   // button 4: Reload
    panel.AssignButtonFunction(4, 1104);   // button 5: Fire
    ASSERT_EQ(dm.FCurrentProfileInfo().ConfigInfo.ButtonFuncInfo[3].MenuID, 1102);

    // Button 5 opens the manager on Fire; Reload is deleted, Fire moves up.
    answers = {1};
    whenOpen([](TFrmMacro& w) {
        w.findChild<ListBox*>(QStringLiteral("ListBoxMacro"))->setCurrentRow(0);
        w.findChild<QAbstractButton*>(QStringLiteral("BTNDELETE"))->click();
        w.findChild<ListBox*>(QStringLiteral("ListBoxMacro"))->setCurrentRow(1);
        w.findChild<QAbstractButton*>(QStringLiteral("BTNOK"))->click();
    });
    panel.AssignButtonFunction(4, 1101);

    const TBUTTONFUNCINFO reload = dm.FCurrentProfileInfo().ConfigInfo.ButtonFuncInfo[3];
    const TBUTTONFUNCINFO fire = dm.FCurrentProfileInfo().ConfigInfo.ButtonFuncInfo[4];
    EXPECT_EQ(reload.FunctionIndex, 33) << "its macro was deleted: Disable";
    EXPECT_EQ(entries.buttons[3]->text(), QStringLiteral("4.Disable"));
    EXPECT_EQ(fire.FunctionIndex, 28);
    EXPECT_EQ(fire.MenuID, 1103);
    EXPECT_EQ(macroNameOf(fire.MacroKeyInfo), QStringLiteral("Fire"));
    EXPECT_EQ(fire.MacroKeyInfo.nMacroIndex, 1);
    EXPECT_EQ(dm.FCurrentProfileInfo().MacroKeyInfoList.nMacroInfoCount, 2);
}

} // namespace
} // namespace k4812

namespace k4812 {
namespace {

// The window drawn with the built skin; K4812_SCREENSHOT_DIR keeps a picture of it.
TEST_F(TFrmMacroTest, DrawsItsSkin)
{
    env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));
    imageDataBase().SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409/"));
    auto macro = makeMacro("Reload", {keyDown('R'), makeDelayAction(120), keyUp('R')});
    macro.nAutoAddDelay = 1;
    auto broken = makeMacro("Broken", {keyDown('A')});
    broken.HaveErrors = 1;
    TFrmMacro& w = open(*makeMacroList({macro, broken, makeMacro("Jump")}));
    const QImage picture = w.grab().toImage();
    EXPECT_EQ(picture.size(), QSize(TFrmMacro::kWidth, TFrmMacro::kHeight));
    EXPECT_EQ(actionTexts(), (QStringList{"R", "120", "R"}));
    const QString folder = qEnvironmentVariable("K4812_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        picture.save(folder + QStringLiteral("/macro-manager.png"));
}

// Once the window has read the dialogs' images ahead, the message dialog and
// the macro manager open without reading a file on the window's thread,
// which a disk busy with other programs' writes could hold up.
TEST_F(TFrmMacroTest, OpensWithoutReadingAFileOnceTheDialogImagesAreReadAhead)
{
    TImageDataBase& images = imageDataBase();
    images.SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409/")); // nothing cached
    const std::thread::id windowThread = std::this_thread::get_id();
    std::mutex lock;
    QStringList readOnWindowThread;
    images.setLoader([&](const QString& path) {
        if (std::this_thread::get_id() == windowThread) {
            const std::lock_guard<std::mutex> guard(lock);
            readOnWindowThread.append(QFileInfo(path).fileName());
        }
        return TImageDataBase::readFile(path);
    });

    prefetchDialogSkins();
    TFrmMessageDialog message;
    message.setTexts(QStringLiteral("Error"), QStringLiteral("text"), QString());
    message.grab();
    TFrmMacro& w = open(*makeMacroList({makeMacro("Reload", {keyDown('R'), keyUp('R')})}));
    w.grab(); // the list's rows draw their key icons
    EXPECT_FALSE(w.background().isNull());
    EXPECT_FALSE(message.background().isNull());
    images.setLoader(&TImageDataBase::readFile);
    EXPECT_TRUE(readOnWindowThread.isEmpty()) << readOnWindowThread.join(QLatin1Char(' ')).toStdString();
}

} // namespace
} // namespace k4812
