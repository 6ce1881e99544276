// The key dialogs with a stand-in hook library: the tests play key events
// into the recording as the library would and press the dialogs' buttons.

#include "app/dialogs/KeyDialogs.h"
#include "app/dialogs/TFrmCombo.h"
#include "app/dialogs/TFrmCreat.h"
#include "app/dialogs/TFrmFire.h"
#include "app/dialogs/TFrmSingleKey.h"
#include "wire/KeyCodeTable.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/TextBox.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

#include <functional>
#include <set>
#include <vector>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

// The hook library as the recorders see it: the enabled callback, called
// with the events a test plays.
struct FakeHookLibrary {
    static inline K4812KeyboardHookCallback callback = nullptr;
    static inline void* userData = nullptr;

    static int enable(K4812KeyboardHookCallback cb, void* data, int)
    {
        callback = cb;
        userData = data;
        return 1;
    }
    static int disable()
    {
        callback = nullptr;
        userData = nullptr;
        return 1;
    }
    static int enableMouse(K4812MouseHookCallback, void*, int) { return 1; }
    static int disableMouse() { return 1; }

    static HookLibraryLoad load()
    {
        HookLibraryLoad l;
        l.status = HookLibraryLoad::Status::Loaded;
        l.entryPoints = {&enable, &disable, &enableMouse, &disableMouse};
        l.fileName = QStringLiteral("libuiHook.so");
        l.unload = [] {};
        return l;
    }
};

struct KeyEvent {
    std::uint32_t vk;
    bool down;
    std::uint32_t time;
    bool extended = false;
};

constexpr std::uint32_t kEnter = 0x0D, kA = 0x41, kB = 0x42, kC = 0x43, kF5 = 0x74, kLShift = 0xA0, kLCtrl = 0xA2,
                        kRCtrl = 0xA3;

class KeyDialogsTest : public ::testing::Test {
protected:
    TuiHook::Environment hookEnvironment()
    {
        TuiHook::Environment environment;
        environment.loadLibrary = &FakeHookLibrary::load;
        environment.keyHeld = [this](int vk) { return held.count(vk) > 0; };
        environment.showError = [this](const QString& caption, const QString& text) {
            messages.push_back(caption + QLatin1Char('|') + text);
        };
        return environment;
    }

    // Plays events into the running recording; whether each was swallowed.
    std::vector<bool> play(const std::vector<KeyEvent>& events)
    {
        std::vector<bool> blocked;
        for (const KeyEvent& e : events) {
            if (e.down)
                held.insert(int(e.vk));
            else
                held.erase(int(e.vk));
            TKBDLLHOOKSTRUCT record{e.vk, 0, (e.extended ? kKeyFlagExtended : 0u) | (e.down ? 0u : kKeyFlagReleased),
                                    e.time, 0};
            bool b = false;
            if (FakeHookLibrary::callback)
                FakeHookLibrary::callback(FakeHookLibrary::userData, 0,
                                          e.down ? kHookMessageKeyDown : kHookMessageKeyUp, &record, &b);
            blocked.push_back(b);
        }
        return blocked;
    }

    // Runs `entry` (which shows a modal dialog) and, once the dialog is up,
    // `drive` with it.
    static void whenShown(const std::function<void(QWidget*)>& drive)
    {
        QTimer::singleShot(0, [drive] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) {
                ADD_FAILURE() << "no dialog open";
                return;
            }
            drive(dialog);
            // Whatever happened, the dialog must not stay open.
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->findChild<SkinButton*>(QStringLiteral("BtnCancel"))->click();
            }
        });
    }

    static void press(QWidget* dialog, const char* button)
    {
        dialog->findChild<SkinButton*>(QString::fromLatin1(button))->click();
    }

    static void sendKey(QWidget* target, QEvent::Type type, int key, const QString& text = {})
    {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &event);
    }

    std::set<int> held;
    std::vector<QString> messages;
};

TEST_F(KeyDialogsTest, SingleKeyTakesTheKeyOfTheLastEventAndLetsKeysThrough)
{
    struct Case {
        const char* name;
        TSINGLEKEYINFO input;
        std::vector<KeyEvent> events;
        const char* button;
        int result;
        TSINGLEKEYINFO key;
    };
    const Case cases[] = {
        {"nothing recorded", {kA, 0}, {}, "BtnOK", 1, {kA, 0}},
        {"shift released last", {0, 0}, {{kA, true, 10}, {kLShift, true, 20}, {kLShift, false, 30}}, "BtnOK", 1,
         {kLShift, 0}},
        {"an extended key", {kA, 0}, {{kRCtrl, true, 10, true}}, "BtnOK", 1, {kRCtrl, 1}},
        {"cancelled", {kA, 0}, {{kF5, true, 10}, {kF5, false, 90}}, "BtnCancel", 2, {kF5, 0}},
        // The Enter that chose "Single Key" in a menu went down there.
        {"a release whose press came before", {kF5, 0}, {{kEnter, false, 10}}, "BtnOK", 1, {kF5, 0}},
        {"then a key pressed here", {kF5, 0}, {{kEnter, false, 10}, {kA, true, 20}, {kA, false, 30}}, "BtnOK", 1,
         {kA, 0}},
        {"the release of a key pressed here counts", {0, 0}, {{kA, true, 10}, {kB, true, 20}, {kA, false, 30}},
         "BtnOK", 1, {kA, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSINGLEKEYINFO key = c.input;
        whenShown([&](QWidget* dialog) {
            auto* box = dialog->findChild<TextBox*>(QStringLiteral("TextSingle"));
            EXPECT_EQ(box->text(), KeyNameOf(c.input.nKeyValue1, c.input.nKey1Extended));
            EXPECT_EQ(play(c.events), std::vector<bool>(c.events.size(), false)) << "keys are not swallowed";
            if (!c.events.empty()) {
                EXPECT_EQ(box->text(), KeyNameOf(c.key.nKeyValue1, c.key.nKey1Extended));
            }
            // Escape is a key to record here, not a way out.
            sendKey(box, QEvent::KeyPress, Qt::Key_Escape);
            EXPECT_TRUE(dialog->isVisible());
            press(dialog, c.button);
        });
        EXPECT_EQ(ShowSingleKeyDialog(key, nullptr, hookEnvironment()), c.result);
        EXPECT_EQ(key.nKeyValue1, c.key.nKeyValue1);
        EXPECT_EQ(key.nKey1Extended, c.key.nKey1Extended);
        EXPECT_EQ(FakeHookLibrary::callback, nullptr) << "the recording ends with the dialog";
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(KeyDialogsTest, ComboRecordsKeysWithTheModifiersHeld)
{
    struct Case {
        const char* name;
        TCOMBOKEYINFO input;
        const char* shownFirst;
        std::vector<KeyEvent> events;
        std::vector<bool> blocked;
        const char* shownAfter;
        TCOMBOKEYINFO combo;
    };
    const Case cases[] = {
        {"modifiers alone change nothing", {}, "", {{kLCtrl, true, 10}, {kLShift, true, 20}, {kLShift, false, 30},
                                                    {kLCtrl, false, 40}},
         {false, false, false, false}, "", {}},
        {"ctrl held, C pressed", {}, "", {{kLCtrl, true, 1000}, {kC, true, 1010}, {kC, false, 1100}},
         {false, true, false}, "Ctrl+C", {kC, 0, 0, 0, 2}},
        {"A held, B within 100 ms", {kC, 0, 0, 0, 1 | 2}, "Alt+Ctrl+C", {{kA, true, 1000}, {kB, true, 1050}},
         {true, true}, "A+B", {kA, 0, kB, 0, 0}},
        {"two keys apart: the second alone", {kA, 0, kB, 0, 2}, "Ctrl+A+B", {{kA, true, 1000}, {kB, true, 1200}},
         {true, true}, "B", {kB, 0, 0, 0, 0}},
        {"a release whose press came before", {kC, 0, 0, 0, 2}, "Ctrl+C", {{kEnter, false, 10}}, {false}, "",
         {kC, 0, 0, 0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        held.clear();
        TCOMBOKEYINFO combo = c.input;
        whenShown([&](QWidget* dialog) {
            auto* box = dialog->findChild<TextBox*>(QStringLiteral("TextCombo"));
            EXPECT_EQ(box->text(), QLatin1String(c.shownFirst));
            EXPECT_EQ(play(c.events), c.blocked);
            EXPECT_EQ(box->text(), QLatin1String(*c.shownAfter ? c.shownAfter : c.shownFirst));
            press(dialog, "BtnOK");
        });
        EXPECT_EQ(ShowComboKeyDialog(combo, nullptr, hookEnvironment()), 1);
        EXPECT_EQ(std::memcmp(&combo, &c.combo, sizeof combo), 0)
            << combo.nKeyValue1 << ' ' << combo.nKeyValue2 << ' ' << combo.nModifier;
        EXPECT_EQ(FakeHookLibrary::callback, nullptr);
    }
}

TEST_F(KeyDialogsTest, WithoutTheHookLibraryTheDialogsSayItOnceAndRecordNothing)
{
    TuiHook::Environment environment = hookEnvironment();
    environment.loadLibrary = [] {
        HookLibraryLoad l;
        l.status = HookLibraryLoad::Status::CannotLoad;
        l.fileName = QStringLiteral("libuiHook.so");
        return l;
    };
    TSINGLEKEYINFO key{kA, 0};
    whenShown([&](QWidget* dialog) {
        EXPECT_EQ(FakeHookLibrary::callback, nullptr) << "nothing is recording";
        // The keys work the dialog as usual: Escape cancels.
        sendKey(dialog, QEvent::KeyPress, Qt::Key_Escape);
    });
    EXPECT_EQ(ShowSingleKeyDialog(key, nullptr, environment), 2);
    EXPECT_EQ(key.nKeyValue1, kA);
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Error|libuiHook.so can not be found!")});
}

TEST_F(KeyDialogsTest, FireStartsFromItsInputOrTheDefaultsAndOkTakesWhatIsShown)
{
    struct Case {
        TFIREKEYINFO input;
        int shownFire;
        int shownDelay;
    };
    const Case cases[] = {{{0, 77}, 2, 60}, {{5, 300}, 5, 255}, {{300, 0}, 255, 1}, {{1, 1}, 1, 1}, {{9, 40}, 9, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input.nLoopCount << '/' << c.input.DelyValue);
        TFrmFire dialog;
        dialog.setFireKeyInfo(c.input);
        EXPECT_EQ(dialog.NumBoxFire->value(), c.shownFire);
        EXPECT_EQ(dialog.NumboxDelay->value(), c.shownDelay);
    }

    // OK takes the numbers as shown, also one typed but not committed yet;
    // Cancel hands back the input.
    TFIREKEYINFO fire{0, 0};
    whenShown([](QWidget* dialog) {
        auto* box = dialog->findChild<NumberBox*>(QStringLiteral("NumBoxFire"));
        box->setFocus();
        QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
        QApplication::sendEvent(box, &selectAll);
        sendKey(box, QEvent::KeyPress, Qt::Key_1, QStringLiteral("1"));
        sendKey(box, QEvent::KeyPress, Qt::Key_2, QStringLiteral("2"));
        press(dialog, "BtnOK");
    });
    EXPECT_EQ(ShowFireDialog(fire), 1);
    EXPECT_EQ(fire.nLoopCount, 12);
    EXPECT_EQ(fire.DelyValue, 60);

    whenShown([](QWidget* dialog) {
        dialog->findChild<NumberBox*>(QStringLiteral("NumboxDelay"))->setValue(99);
        press(dialog, "BtnCancel");
    });
    EXPECT_EQ(ShowFireDialog(fire), 2);
    EXPECT_EQ(fire.nLoopCount, 12);
    EXPECT_EQ(fire.DelyValue, 60);
}

class CreateMacroDialogTest : public ::testing::Test {
protected:
    static void sendKeyTo(QWidget* target, QEvent::Type type, int key)
    {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QString folder() const { return env.path("Macros"); }
    QString file(const QString& name) const { return folder() + QLatin1Char('/') + name + QStringLiteral(".macro"); }

    TestEnvironment env;
    std::vector<QString> messages;
};

TEST_F(CreateMacroDialogTest, OkWritesTheFirstFileOfANewMacroOnly)
{
    const QString sixty(60, QLatin1Char('x'));
    const QString fifty(50, QLatin1Char('x'));
    ASSERT_TRUE(test::writeFile(file("Listed"), "in use"));
    ASSERT_TRUE(test::writeFile(file("Stale"), "old"));
    struct Case {
        QString typed;
        int result;              // 0: still open
        QString name;
        QString file;            // the file expected afterwards (empty: none written)
        QByteArray kept;         // its content when it must stay as it was
        bool message;
    };
    const Case cases[] = {
        {sixty, 1, fifty, fifty, {}, false},
        {QStringLiteral("Listed"), 1, QStringLiteral("Listed"), QStringLiteral("Listed"), "in use", false},
        {QStringLiteral("Stale"), 1, QStringLiteral("Stale"), QStringLiteral("Stale"), {}, false},
        {QString(), 1, QString(), QString(), {}, false},
        {QStringLiteral("a/b"), 0, QString(), QString(), {}, true},
        // ".." + ".macro" is an ordinary file name: a usable macro name.
        {QStringLiteral(".."), 1, QStringLiteral(".."), QStringLiteral(".."), {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QStringList before = QDir(folder()).entryList(QDir::Files);
        messages.clear();
        TFrmCreat dialog(folder(), {QStringLiteral("Listed")}, nullptr, [this](const QString& t, const QString& x) {
            messages.push_back(t + QLatin1Char('|') + x);
            return 1;
        });
        dialog.show();
        dialog.TextboxMacroName->setText(c.typed);
        dialog.findChild<SkinButton*>(QStringLiteral("BtnOK"))->click();
        EXPECT_EQ(dialog.isVisible(), c.result == 0);
        if (c.result != 0) {
            EXPECT_EQ(dialog.result(), c.result);
        }
        EXPECT_EQ(dialog.FMacroName, c.name);
        EXPECT_EQ(!messages.empty(), c.message);
        if (c.message) {
            EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error|")));
        }
        if (!c.file.isEmpty()) {
            const QByteArray bytes = test::readFile(file(c.file));
            if (!c.kept.isEmpty()) {
                EXPECT_EQ(bytes, c.kept) << "the file of a listed macro stays";
            } else {
                ASSERT_EQ(bytes.size(), kMacroFileSize);
                TMACROKEYINFO macro;
                std::memcpy(&macro, bytes.constData(), sizeof macro);
                EXPECT_EQ(macroNameOf(macro), c.name);
                EXPECT_EQ(macro.Version, kMacroFileVersion);
            }
        } else {
            EXPECT_EQ(QDir(folder()).entryList(QDir::Files), before) << "no file written";
        }
    }
}

TEST_F(CreateMacroDialogTest, TheNameBoxHasTheFocusAndEnterPressedThereIsOk)
{
    QString name;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TFrmCreat*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->focusWidget(), dialog->TextboxMacroName) << "typing goes into the name box";
        dialog->TextboxMacroName->setText(QStringLiteral("Reload"));
        // The release of an Enter pressed elsewhere (the key that opened the dialog) does nothing.
        sendKeyTo(dialog->TextboxMacroName, QEvent::KeyRelease, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        sendKeyTo(dialog->TextboxMacroName, QEvent::KeyPress, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << "OK comes with the release";
        sendKeyTo(dialog->TextboxMacroName, QEvent::KeyRelease, Qt::Key_Return);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "Enter did not close the dialog";
            dialog->reject();
        }
    });
    EXPECT_EQ(ShowCreateMacroDialog(folder(), name), 1);
    EXPECT_EQ(name, QStringLiteral("Reload"));
    EXPECT_TRUE(QFile::exists(file("Reload")));
}

} // namespace

namespace {

// Renders the four dialogs into K4812_SCREENSHOT_DIR when it is set, to look at them.
TEST(KeyDialogRenders, AreWrittenWhenAsked)
{
    const QString folder = qEnvironmentVariable("K4812_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "K4812_SCREENSHOT_DIR not set";
    qputenv("K4812_PROGRAM_DIR", K4812_BIN_DIR);
    TuiHook::Environment silent;
    silent.loadLibrary = [] { return HookLibraryLoad{}; };
    silent.showError = [](const QString&, const QString&) {};
    TFrmSingleKey single(nullptr, silent);
    single.setSingleKey({0x74, 0});
    TFrmCombo combo(nullptr, silent);
    combo.setComboKey({0x43, 0, 0, 0, 2});
    TFrmFire fire;
    fire.setFireKeyInfo({0, 0});
    TFrmCreat create(folder, {});
    create.TextboxMacroName->setText(QStringLiteral("Reload"));
    for (QWidget* dialog : std::initializer_list<QWidget*>{&single, &combo, &fire, &create}) {
        EXPECT_EQ(dialog->size(), QSize(446, 230));
        dialog->grab().save(folder + QLatin1Char('/') + dialog->objectName() + QStringLiteral(".png"));
    }
}

} // namespace
