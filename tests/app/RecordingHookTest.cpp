// Where the recording windows take the hook library from, and what they show
// when it is missing: the key dialogs and the macro manager alike.

#include "app/dialogs/TFrmCombo.h"
#include "app/dialogs/TFrmSingleKey.h"
#include "app/macro/MacroManagerSession.h"
#include "app/macro/TFrmMacro.h"
#include "ui/dialogs/ErrorBox.h"
#include "ui/dialogs/MessagePrompter.h"
#include "ui/controls/StorageInputHold.h"
#include "ui/controls/TextBox.h"

#include "../macros/MacroTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QWindow>

#include <functional>
#include <vector>

namespace k4812 {
namespace {

struct CapturedErrorBoxes : ErrorBoxSink {
    std::vector<QString> shown;
    void show(const QString& caption, const QString& text, QWidget*) override
    {
        shown.push_back(caption + QLatin1Char('|') + text);
    }
};

TEST(RecordingHook, EveryRecordingWindowLoadsTheLibraryFromTheProgramFolderOrShowsTheErrorBox)
{
    test::TestEnvironment env;
    QStringList messages;   // message dialogs of the macro manager: none expected
    const QString macroFolder = env.path(QStringLiteral("Macros"));
    auto macroList = test::makeMacroList({test::makeMacro(QStringLiteral("Reload"))});

    // Each opens its window with the program's own hook set-up and says whether the library loaded.
    struct Window {
        const char* name;
        std::function<bool()> open;
    };
    const Window windows[] = {
        {"single key", [] { return TFrmSingleKey().hook().DLLLoaded(); }},
        {"combo key", [] { return TFrmCombo().hook().DLLLoaded(); }},
        {"macro manager",
         [&] {
             int index = 0;
             QString error;
             auto session = MacroManagerSession::open(*macroList, index, macroFolder, error);
             MacroManagerEnvironment environment;
             environment.message = [&](const QString& title, const QString& text, const QString&) {
                 messages << title + QLatin1Char('|') + text;
                 return 2;
             };
             TFrmMacro window(*session, *macroList, index, environment);
             return window.hook().DLLLoaded();
         }},
    };
    // The test program lies in another folder than the program's: only
    // K4812_PROGRAM_DIR leads to the library.
    const QString empty = env.path(QStringLiteral("empty"));
    QDir().mkpath(empty);
    for (const bool withLibrary : {true, false}) {
        env.set("K4812_PROGRAM_DIR", withLibrary ? QStringLiteral(K4812_BIN_DIR) : empty);
        for (const Window& w : windows) {
            SCOPED_TRACE(std::string(w.name) + (withLibrary ? ", library there" : ", library missing"));
            CapturedErrorBoxes boxes;
            ScopedErrorBoxSink sink(boxes);
            QueuedMessagePrompter prompter;
            ScopedMessagePrompter prompts(prompter);
            messages.clear();
            EXPECT_EQ(w.open(), withLibrary);
            const std::vector<QString> expected =
                withLibrary ? std::vector<QString>{} : std::vector<QString>{QStringLiteral("Error|libuiHook.so can not be found!")};
            EXPECT_EQ(boxes.shown, expected);
            EXPECT_TRUE(prompter.asked().isEmpty()) << "a message dialog instead of the error box";
            EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char(';')).toStdString();
        }
    }
}

// A key event can reach the recorder after the desktop's Ctrl is up again:
// it waited in the display's queue (Wayland hands over the modifier state
// apart from the keys), or a store kept it. The combination is still
// recorded with the modifiers that were down when its key was pressed.
TEST(RecordingHook, ACombinationKeepsTheModifiersItWasTypedWith)
{
    test::TestEnvironment env;
    env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));
    // The desktop as it is when the kept keys arrive: Ctrl is up.
    TuiHook::Environment desktopNow;
    desktopNow.keyHeld = [](int) { return false; };
    TFrmCombo combo(nullptr, desktopNow);
    ASSERT_TRUE(combo.hook().DLLLoaded());
    combo.show();
    QWindow* window = combo.windowHandle();
    ASSERT_NE(window, nullptr);
    {
        StorageInputHold hold;
        QTest::keyPress(window, Qt::Key_Control);
        QTest::keyPress(window, Qt::Key_F5, Qt::ControlModifier);
        QTest::keyRelease(window, Qt::Key_F5, Qt::ControlModifier);
        QTest::keyRelease(window, Qt::Key_Control);
        EXPECT_TRUE(combo.keyBox()->text().isEmpty()) << "a key was taken during the store";
    }
    for (int turn = 0; turn < 10 && combo.keyBox()->text().isEmpty(); ++turn)
        QCoreApplication::sendPostedEvents();
    EXPECT_EQ(combo.keyBox()->text(), QStringLiteral("Ctrl+F5"));
    EXPECT_EQ(int(combo.FComboKey.nModifier), 0x02);
    combo.done(0);
}

} // namespace
} // namespace k4812
