#include "macros/TuiHook.h"

#include "FakeHookLibrary.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace k4812 {
namespace {

using test::FakeHookLibrary;

constexpr std::uint32_t VK_A = 'A', VK_B = 'B', VK_C = 'C', VK_LCTRL = 0xA2, VK_RCTRL = 0xA3, VK_LSHIFT = 0xA0,
                        VK_RSHIFT = 0xA1, VK_LMENU = 0xA4, VK_RWIN = 0x5C, VK_HOME = 0x24;

class TuiHookTest : public testing::Test {
protected:
    void SetUp() override { FakeHookLibrary::reset(); }
    void TearDown() override { FakeHookLibrary::reset(); }

    std::unique_ptr<TuiHook> makeHook(TuiHook::KeyHeld keyHeld = {})
    {
        TuiHook::Environment env;
        env.loadLibrary = &FakeHookLibrary::load;
        env.showError = [this](const QString& caption, const QString& text) { messages.push_back(caption + ": " + text); };
        env.keyHeld = std::move(keyHeld);
        return std::make_unique<TuiHook>(std::move(env));
    }

    std::vector<QString> messages;
};

// --- Combination recording

struct ComboEvent {
    TCOMBOKEY keys;
    QString text;
    bool operator==(const ComboEvent& o) const
    {
        return keys.nKeyValue1 == o.keys.nKeyValue1 && keys.nKeyValue1Extended == o.keys.nKeyValue1Extended
            && keys.nKeyValue2 == o.keys.nKeyValue2 && keys.nKeyValue2Extended == o.keys.nKeyValue2Extended
            && keys.nModifier == o.keys.nModifier && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& os, const ComboEvent& e)
{
    return os << e.keys.nKeyValue1 << '/' << e.keys.nKeyValue1Extended << ' ' << e.keys.nKeyValue2 << '/'
              << e.keys.nKeyValue2Extended << " mod " << e.keys.nModifier << " \"" << e.text.toStdString() << '"';
}

struct Step {
    std::uint32_t vk;
    bool released;
    std::uint32_t time;
    bool extended = false;
};

struct ComboStepResult {
    bool blocked;
    std::optional<ComboEvent> event;
};

struct ComboCase {
    const char* what;
    std::vector<Step> steps;
    std::vector<ComboStepResult> expected;
};

ComboEvent combo(std::uint16_t k1, std::uint16_t e1, std::uint16_t k2, std::uint16_t e2, std::uint16_t mod,
                 const char* text)
{
    return ComboEvent{TCOMBOKEY{k1, e1, k2, e2, mod}, QString::fromUtf8(text)};
}

const ComboStepResult passes{false, std::nullopt};

class TuiHookComboTest : public TuiHookTest, public testing::WithParamInterface<ComboCase> {};

TEST_P(TuiHookComboTest, RecordsCombinations)
{
    const ComboCase& c = GetParam();
    auto hook = makeHook();
    std::optional<ComboEvent> raised;
    hook->OnRecordKeyboardComboKey = [&](int k1, int e1, int k2, int e2, int mod, const QString& text) {
        raised = ComboEvent{TCOMBOKEY{std::uint16_t(k1), std::uint16_t(e1), std::uint16_t(k2), std::uint16_t(e2),
                                      std::uint16_t(mod)},
                            text};
    };
    hook->RecordKeyboardComboKey();
    ASSERT_EQ(c.steps.size(), c.expected.size());
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        SCOPED_TRACE(testing::Message() << c.what << ", step " << i);
        raised.reset();
        const Step& s = c.steps[i];
        EXPECT_EQ(FakeHookLibrary::deliver(s.vk, s.released, s.time, s.extended), c.expected[i].blocked);
        EXPECT_EQ(raised, c.expected[i].event);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TuiHookComboTest,
    testing::Values(
        ComboCase{"Ctrl alone is no combination and is not swallowed",
                  {{VK_LCTRL, false, 1000}, {VK_LCTRL, true, 1100}},
                  {passes, passes}},
        ComboCase{"Ctrl held, then C",
                  {{VK_LCTRL, false, 1000}, {VK_C, false, 1500}, {VK_C, true, 1600}, {VK_LCTRL, true, 1700}},
                  {passes, {true, combo(VK_C, 0, 0, 0, 2, "Ctrl+C")}, passes, passes}},
        ComboCase{"right Ctrl counts as Ctrl; releasing it ends the modifier",
                  {{VK_RCTRL, false, 1000, true}, {VK_A, false, 1200}, {VK_RCTRL, true, 1300, true},
                   {VK_A, false, 1500}},
                  {passes, {true, combo(VK_A, 0, 0, 0, 2, "Ctrl+A")}, passes, {true, combo(VK_A, 0, 0, 0, 0, "A")}}},
        ComboCase{"A held (repeating) and B within 100 ms of the last repeat; B's repeat starts over",
                  {{VK_A, false, 1000}, {VK_A, false, 1030}, {VK_B, false, 1060}, {VK_B, false, 1090}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")},
                   {true, combo(VK_A, 0, 0, 0, 0, "A")},
                   {true, combo(VK_A, 0, VK_B, 0, 0, "A+B")},
                   {true, combo(VK_B, 0, 0, 0, 0, "B")}}},
        ComboCase{"the same key twice within 100 ms stays one key",
                  {{VK_A, false, 1000}, {VK_A, false, 1050}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")}, {true, combo(VK_A, 0, 0, 0, 0, "A")}}},
        ComboCase{"exactly 100 ms still pairs, 101 ms does not",
                  {{VK_A, false, 1000}, {VK_B, false, 1100}, {VK_C, false, 1201}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")},
                   {true, combo(VK_A, 0, VK_B, 0, 0, "A+B")},
                   {true, combo(VK_C, 0, 0, 0, 0, "C")}}},
        ComboCase{"keys apart by more than 100 ms give the second alone",
                  {{VK_A, false, 1000}, {VK_B, false, 1200}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")}, {true, combo(VK_B, 0, 0, 0, 0, "B")}}},
        ComboCase{"pairing across the wrap of the millisecond clock",
                  {{VK_A, false, 0xFFFFFFF0u}, {VK_B, false, 0x20}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")}, {true, combo(VK_A, 0, VK_B, 0, 0, "A+B")}}},
        ComboCase{"a first press near time zero is a new combination",
                  {{VK_A, false, 40}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")}}},
        ComboCase{"extended keys keep their flag and name; an empty second key drops its flag",
                  {{VK_A, false, 1000}, {VK_HOME, false, 1050, true}, {VK_C, false, 1500}},
                  {{true, combo(VK_A, 0, 0, 0, 0, "A")},
                   {true, combo(VK_A, 0, VK_HOME, 1, 0, "A+HOME")},
                   {true, combo(VK_C, 0, 0, 0, 0, "C")}}},
        ComboCase{"releases are neither recorded nor swallowed",
                  {{VK_A, true, 1000}},
                  {passes}}));

TEST_F(TuiHookTest, ComboModifiersAreWrittenCtrlAltWinShift)
{
    const std::set<int> held = {VK_RSHIFT, VK_LCTRL, VK_RWIN, VK_LMENU};
    auto hook = makeHook([&held](int vk) { return held.count(vk) != 0; });
    QString text;
    int modifier = -1;
    hook->OnRecordKeyboardComboKey = [&](int, int, int, int, int mod, const QString& t) {
        modifier = mod;
        text = t;
    };
    hook->RecordKeyboardComboKey();
    FakeHookLibrary::press(VK_A, 1000);
    EXPECT_EQ(modifier, 0x0F);
    EXPECT_EQ(text, QStringLiteral("Ctrl+Alt+Win+Shift+A"));
}

TEST_F(TuiHookTest, ComboWithoutHandlerNeitherRecordsNorSwallows)
{
    auto hook = makeHook();
    hook->RecordKeyboardComboKey();
    EXPECT_FALSE(FakeHookLibrary::press(VK_A, 1000));
}

TEST_F(TuiHookTest, ANewComboRecordingDoesNotPairWithTheLastOne)
{
    auto hook = makeHook();
    std::vector<QString> texts;
    hook->OnRecordKeyboardComboKey = [&](int, int, int, int, int, const QString& t) { texts.push_back(t); };
    hook->RecordKeyboardComboKey();
    FakeHookLibrary::press(VK_A, 1000);
    hook->StopRecordKeyboardComboKey();
    hook->RecordKeyboardComboKey();
    FakeHookLibrary::press(VK_B, 1050);
    EXPECT_EQ(texts, (std::vector<QString>{"A", "B"}));
}

// --- Macro recording

struct MacroEvent {
    int key;
    int state;
    int extended;
    double time;
    std::uint32_t totalTime;
    QString name;
    QString stateName;
    bool operator==(const MacroEvent&) const = default;
};

TMACROKEYHOOK pause(std::uint16_t ms)
{
    TMACROKEYHOOK e;
    e.nKeyType = kMacroHookPause;
    e.nKeyValue = ms;
    return e;
}

TMACROKEYHOOK key(std::uint16_t vk, std::uint16_t state, std::uint16_t extended = 0)
{
    TMACROKEYHOOK e;
    e.nKeyType = kMacroHookKey;
    e.nKeyState = state;
    e.nKeyValue = vk;
    e.nKeyValueExtended = extended;
    return e;
}

std::string describe(const std::vector<TMACROKEYHOOK>& entries)
{
    std::string out;
    for (const TMACROKEYHOOK& e : entries) {
        out += e.nKeyType == kMacroHookPause ? "pause " + std::to_string(e.nKeyValue)
                                             : "key " + std::to_string(e.nKeyValue) + (e.nKeyState ? " down" : " up")
                + (e.nKeyValueExtended ? " ext" : "");
        out += "; ";
    }
    return out;
}

struct MacroCase {
    const char* what;
    std::vector<Step> steps;
    std::vector<TMACROKEYHOOK> expected;
};

class TuiHookMacroTest : public TuiHookTest, public testing::WithParamInterface<MacroCase> {};

TEST_P(TuiHookMacroTest, RecordsKeysAndPauses)
{
    const MacroCase& c = GetParam();
    auto hook = makeHook();
    hook->OnRecordKeyboardMacroKeyEx = [](int, int, int, int, double, std::uint32_t, const QString&, const QString&,
                                          const std::vector<TMACROKEYHOOK>&) {};
    std::vector<TMACROKEYHOOK> stopped;
    hook->OnStopRecordKeyboardMacroKey = [&](const std::vector<TMACROKEYHOOK>& list) { stopped = list; };
    hook->RecordKeyboardMacroKeyEx();
    for (const Step& s : c.steps)
        EXPECT_TRUE(FakeHookLibrary::deliver(s.vk, s.released, s.time, s.extended)) << c.what;
    hook->StopRecordKeyboardMacroKeyEx();
    EXPECT_EQ(describe(stopped), describe(c.expected)) << c.what;
    EXPECT_TRUE(hook->macroKeyList().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TuiHookMacroTest,
    testing::Values(
        MacroCase{"the first event has no pause before it", {{VK_A, false, 5000}}, {key(VK_A, 1)}},
        MacroCase{"an earlier event, then A 250 ms later held 400 ms with auto-repeat",
                  {{VK_B, true, 1000}, {VK_A, false, 1250}, {VK_A, false, 1500}, {VK_A, false, 1530},
                   {VK_A, false, 1560}, {VK_A, true, 1650}},
                  {key(VK_B, 0), pause(250), key(VK_A, 1), pause(400), key(VK_A, 0)}},
        MacroCase{"a pause longer than 65535 ms is 65535",
                  {{VK_A, false, 1000}, {VK_A, true, 1000 + 100000}},
                  {key(VK_A, 1), pause(65535), key(VK_A, 0)}},
        MacroCase{"B while A is held and repeating: the pause counts from A's first press",
                  {{VK_A, false, 1000}, {VK_A, false, 1500}, {VK_A, false, 1530}, {VK_B, false, 1560}},
                  {key(VK_A, 1), pause(560), key(VK_B, 1)}},
        MacroCase{"no pause entry between events of the same millisecond",
                  {{VK_A, false, 1000}, {VK_B, false, 1000}},
                  {key(VK_A, 1), key(VK_B, 1)}},
        MacroCase{"a key held before the recording started is recorded by its release",
                  {{VK_A, true, 1000}, {VK_B, false, 1010}},
                  {key(VK_A, 0), pause(10), key(VK_B, 1)}},
        MacroCase{"extended keys keep their flag; the pause wraps with the clock",
                  {{VK_HOME, false, 0xFFFFFF00u, true}, {VK_HOME, true, 0x100, true}},
                  {key(VK_HOME, 1, 1), pause(512), key(VK_HOME, 0, 1)}}));

TEST_F(TuiHookTest, MacroEventsAnnounceEachKeyWithItsPause)
{
    auto hook = makeHook();
    std::vector<MacroEvent> events;
    std::vector<std::size_t> listSizes;
    hook->OnRecordKeyboardMacroKeyEx = [&](int type, int vk, int state, int ext, double time, std::uint32_t total,
                                           const QString& name, const QString& stateName,
                                           const std::vector<TMACROKEYHOOK>& list) {
        EXPECT_EQ(type, 1);
        events.push_back(MacroEvent{vk, state, ext, time, total, name, stateName});
        listSizes.push_back(list.size());
    };
    hook->RecordKeyboardMacroKeyEx();
    FakeHookLibrary::press(VK_LCTRL, 2000);
    FakeHookLibrary::press(VK_LCTRL, 2300);   // repeat: no event
    FakeHookLibrary::release(VK_LCTRL, 2400);
    const std::vector<MacroEvent> expected = {
        {int(VK_LCTRL), 1, 0, 2000.0, 0, "L CTRL", "Down"},
        {int(VK_LCTRL), 0, 0, 2400.0, 400, "L CTRL", "Up"},
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(listSizes, (std::vector<std::size_t>{1, 3}));
}

TEST_F(TuiHookTest, MacroRecordingStopsGrowingPast500Entries)
{
    auto hook = makeHook();
    hook->OnRecordKeyboardMacroKeyEx = [](int, int, int, int, double, std::uint32_t, const QString&, const QString&,
                                          const std::vector<TMACROKEYHOOK>&) {};
    hook->RecordKeyboardMacroKeyEx();
    // Events of one millisecond add one entry each.
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(FakeHookLibrary::deliver(VK_A, i % 2 == 1, 1000));
    ASSERT_EQ(hook->macroKeyList().size(), 500u);
    EXPECT_TRUE(FakeHookLibrary::press(VK_A, 1000));   // 500 entries: still taken
    EXPECT_EQ(hook->macroKeyList().size(), 501u);
    EXPECT_FALSE(FakeHookLibrary::release(VK_A, 1000));   // past 500: passes through, not recorded
    EXPECT_FALSE(FakeHookLibrary::press(VK_B, 1200));
    EXPECT_EQ(hook->macroKeyList().size(), 501u);
}

TEST_F(TuiHookTest, MacroRecorderIgnoresEventsItCannotHold)
{
    auto hook = makeHook();
    int raised = 0;
    hook->OnRecordKeyboardMacroKeyEx = [&](int, int, int, int, double, std::uint32_t, const QString&, const QString&,
                                           const std::vector<TMACROKEYHOOK>&) { ++raised; };
    hook->RecordKeyboardMacroKeyEx();
    EXPECT_FALSE(FakeHookLibrary::press(0, 1000));
    EXPECT_FALSE(FakeHookLibrary::press(300, 1000));
    EXPECT_TRUE(FakeHookLibrary::press(VK_A, 1000));
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(hook->macroKeyList().size(), 1u);
}

TEST_F(TuiHookTest, ANewMacroRecordingStartsEmpty)
{
    auto hook = makeHook();
    hook->OnRecordKeyboardMacroKeyEx = [](int, int, int, int, double, std::uint32_t, const QString&, const QString&,
                                          const std::vector<TMACROKEYHOOK>&) {};
    hook->RecordKeyboardMacroKeyEx();
    FakeHookLibrary::press(VK_A, 1000);
    hook->RecordKeyboardMacroKeyEx();
    FakeHookLibrary::release(VK_A, 3000);   // the first event again: no pause, A no longer held
    EXPECT_EQ(describe(hook->macroKeyList()), describe({key(VK_A, 0)}));
}

// --- Single-key recording

TEST_F(TuiHookTest, SingleKeyReportsPressAndReleaseWithoutSwallowing)
{
    auto hook = makeHook();
    struct Seen {
        int key;
        std::uint32_t scan;
        int state;
        int extended;
        QString name;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    hook->OnRecordKeyboardSingleKey = [&](int k, std::uint32_t scan, int state, int ext, const QString& name,
                                          bool&) { seen.push_back({k, scan, state, ext, name}); };
    hook->RecordKeyboardSingleKey();
    EXPECT_FALSE(FakeHookLibrary::deliver(VK_RSHIFT, false, 10, false, 0x36));
    EXPECT_FALSE(FakeHookLibrary::deliver(VK_RSHIFT, true, 20, false, 0x36));
    EXPECT_FALSE(FakeHookLibrary::deliver(VK_HOME, false, 30, true, 0x47));
    const std::vector<Seen> expected = {
        {int(VK_RSHIFT), 0x36, 1, 0, "R SHIFT"}, {int(VK_RSHIFT), 0x36, 0, 0, "R SHIFT"}, {int(VK_HOME), 0x47, 1, 1, "HOME"}};
    EXPECT_EQ(seen, expected);
}

TEST_F(TuiHookTest, SingleKeyHandlerMayBlock)
{
    auto hook = makeHook();
    hook->OnRecordKeyboardSingleKey = [](int, std::uint32_t, int, int, const QString&, bool& blocked) {
        blocked = true;
    };
    hook->RecordKeyboardSingleKey();
    EXPECT_TRUE(FakeHookLibrary::press(VK_A, 10));
    hook->OnRecordKeyboardSingleKey = nullptr;
    EXPECT_FALSE(FakeHookLibrary::press(VK_A, 20));
}

// --- The library: loading, enabling, sharing

TEST_F(TuiHookTest, RecordingEnablesTheHookAfterDisablingAndStopDisablesIt)
{
    auto hook = makeHook();
    EXPECT_TRUE(hook->DLLLoaded());
    hook->RecordKeyboardSingleKey();
    EXPECT_EQ(FakeHookLibrary::userData, hook.get());
    hook->StopRecordKeyboardSingleKey();
    EXPECT_EQ(FakeHookLibrary::callback, nullptr);
    EXPECT_EQ(FakeHookLibrary::calls, (std::vector<const char*>{"disable", "enable", "disable"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(TuiHookTest, DestroyingARecordingComponentStopsItsHookAndUnloadsTheLibrary)
{
    auto hook = makeHook();
    hook->RecordKeyboardMacroKeyEx();
    hook.reset();
    EXPECT_EQ(FakeHookLibrary::callback, nullptr);
    EXPECT_EQ(FakeHookLibrary::calls, (std::vector<const char*>{"disable", "enable", "disable", "unload"}));
}

TEST_F(TuiHookTest, ComponentsShareTheLibraryUntilTheLastOneGoes)
{
    auto first = makeHook();
    auto second = makeHook();
    EXPECT_EQ(FakeHookLibrary::loads, 1);
    second->RecordKeyboardComboKey();
    first.reset();   // not the recording one: the recording goes on, the library stays
    EXPECT_EQ(FakeHookLibrary::userData, second.get());
    EXPECT_TRUE(second->DLLLoaded());
    FakeHookLibrary::calls.clear();
    second.reset();
    EXPECT_EQ(FakeHookLibrary::calls, (std::vector<const char*>{"disable", "unload"}));
}

TEST_F(TuiHookTest, StoppingAReplacedRecordingLeavesTheNewOneRunning)
{
    auto first = makeHook();
    auto second = makeHook();
    first->RecordKeyboardSingleKey();
    second->RecordKeyboardMacroKeyEx();
    first->StopRecordKeyboardSingleKey();
    EXPECT_EQ(FakeHookLibrary::userData, second.get());
}

HookLibraryLoad missingFile()
{
    HookLibraryLoad load;
    load.status = HookLibraryLoad::Status::CannotLoad;
    load.fileName = QStringLiteral("libuiHook.so");
    return load;
}

HookLibraryLoad missingFunction()
{
    HookLibraryLoad load;
    load.status = HookLibraryLoad::Status::FunctionMissing;
    load.fileName = QStringLiteral("libuiHook.so");
    return load;
}

TEST_F(TuiHookTest, WithoutTheLibraryEveryCreationSaysSoAndRecordersStaySilent)
{
    TuiHook::Environment env;
    env.loadLibrary = &missingFile;
    env.showError = [this](const QString& caption, const QString& text) { messages.push_back(caption + ": " + text); };
    auto hook = std::make_unique<TuiHook>(env);
    auto again = std::make_unique<TuiHook>(env);
    EXPECT_EQ(messages, (std::vector<QString>{"Error: libuiHook.so can not be found!",
                                              "Error: libuiHook.so can not be found!"}));
    EXPECT_FALSE(hook->DLLLoaded());

    int stops = 0;
    std::size_t stoppedSize = 99;
    hook->OnStopRecordKeyboardMacroKey = [&](const std::vector<TMACROKEYHOOK>& list) {
        ++stops;
        stoppedSize = list.size();
    };
    hook->RecordKeyboardMacroKeyEx();
    hook->RecordKeyboardComboKey();
    hook->StopRecordKeyboardComboKey();
    hook->StopRecordKeyboardMacroKeyEx();
    EXPECT_EQ(FakeHookLibrary::callback, nullptr);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(stoppedSize, 0u);
}

TEST_F(TuiHookTest, ALibraryWithoutItsFunctionsIsNotLoadedAndSaysNothing)
{
    TuiHook::Environment env;
    env.loadLibrary = &missingFunction;
    env.showError = [this](const QString& caption, const QString& text) { messages.push_back(caption + ": " + text); };
    TuiHook hook(env);
    EXPECT_FALSE(hook.DLLLoaded());
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace k4812
