// The built hook library in a GUI application: key events sent to a window
// reach the callback as Windows key records, Blocked swallows them, and
// Disable stops everything.

#include "macros/HookLibrary.h"
#include "macros/TuiHook.h"
#include "uiHook/ScopedKeyboardGrab.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace k4812 {
namespace {

constexpr std::uint32_t kXkb = 8;   // X11/Wayland keycode = evdev code + 8

// A window that notes the key events that reach it.
class KeyWindow : public QWindow {
public:
    std::vector<int> pressed;
    std::vector<int> released;

protected:
    void keyPressEvent(QKeyEvent* e) override { pressed.push_back(e->key()); }
    void keyReleaseEvent(QKeyEvent* e) override { released.push_back(e->key()); }
};

struct Delivery {
    TKBDLLHOOKSTRUCT record;
    int message;
    void* userData;
};

// The callback the tests enable; forwards to the current test's function.
std::function<void(const Delivery&, bool& blocked)> g_onKey;

void hookCallback(void* userData, int code, int message, TKBDLLHOOKSTRUCT* event, bool* blocked)
{
    EXPECT_EQ(code, 0);
    if (g_onKey)
        g_onKey(Delivery{*event, message, userData}, *blocked);
}

int g_secondCalls = 0;
void secondCallback(void*, int, int, TKBDLLHOOKSTRUCT*, bool*)
{
    ++g_secondCalls;
}

bool sendKey(QObject* receiver, QEvent::Type type, int qtKey, std::uint32_t evdev, ulong timestamp = 1000,
             bool autoRepeat = false, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(type, qtKey, modifiers, evdev == 0 ? 0 : evdev + kXkb, 0, 0, QString(), autoRepeat);
    event.setTimestamp(timestamp);
    return QCoreApplication::sendEvent(receiver, &event);
}

class UiHookLibrary : public testing::Test {
protected:
    void SetUp() override
    {
        m_load = loadHookLibrary(QStringLiteral(K4812_BIN_DIR));
        ASSERT_EQ(m_load.status, HookLibraryLoad::Status::Loaded) << m_load.detail.toStdString();
        f = m_load.entryPoints;
        window = std::make_unique<KeyWindow>();
        g_onKey = [this](const Delivery& d, bool& blocked) {
            deliveries.push_back(d);
            blocked = blockAll;
        };
        g_secondCalls = 0;
    }

    void TearDown() override
    {
        if (f.DisableKeyboardHook)
            f.DisableKeyboardHook();
        g_onKey = nullptr;
        window.reset();
        if (m_load.unload)
            m_load.unload();
    }

    HookLibraryLoad m_load;
    HookEntryPoints f;
    std::unique_ptr<KeyWindow> window;
    std::vector<Delivery> deliveries;
    bool blockAll = false;
};

TEST_F(UiHookLibrary, DeliversEachKeyEventAsAWindowsRecord)
{
    int userData = 0;
    ASSERT_EQ(f.EnableKeyboardHook(&hookCallback, &userData, 0), 1);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_Return, 28, 5000);
    sendKey(window.get(), QEvent::KeyRelease, Qt::Key_Return, 28, 5090);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_Home, 102, 6000);
    ASSERT_EQ(deliveries.size(), 3u);
    EXPECT_EQ(deliveries[0].userData, &userData);
    EXPECT_EQ(deliveries[0].record.vkCode, 0x0Du);
    EXPECT_EQ(deliveries[0].record.scanCode, 0x1Cu);
    EXPECT_EQ(deliveries[0].record.flags, 0u);
    EXPECT_EQ(deliveries[0].record.time, 5000u);
    EXPECT_EQ(deliveries[0].message, 0x100);
    EXPECT_EQ(deliveries[1].record.flags, kKeyFlagReleased);
    EXPECT_EQ(deliveries[1].record.time, 5090u);
    EXPECT_EQ(deliveries[1].message, 0x101);
    EXPECT_EQ(deliveries[2].record.vkCode, 0x24u);
    EXPECT_EQ(deliveries[2].record.flags, kKeyFlagExtended);
    // Not blocked: the window had them too.
    EXPECT_EQ(window->pressed, (std::vector<int>{Qt::Key_Return, Qt::Key_Home}));
}

TEST_F(UiHookLibrary, BlockedSwallowsTheEvent)
{
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    blockAll = true;
    EXPECT_TRUE(sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30));
    sendKey(window.get(), QEvent::KeyRelease, Qt::Key_A, 30);
    EXPECT_EQ(deliveries.size(), 2u);
    EXPECT_TRUE(window->pressed.empty());
    EXPECT_TRUE(window->released.empty());
}

TEST_F(UiHookLibrary, OnlyTheWindowsDeliveryCounts)
{
    // Qt passes a key event on from the window to its widgets; those later
    // deliveries are the same key and must not be reported again.
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    QObject widgetLike;
    sendKey(&widgetLike, QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_TRUE(deliveries.empty());
}

TEST_F(UiHookLibrary, AutoRepeatReleasesAndUnknownKeysAreNotReported)
{
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    blockAll = true;
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30, 100);
    sendKey(window.get(), QEvent::KeyRelease, Qt::Key_A, 30, 600, true);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30, 600, true);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_unknown, 240, 700);
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[1].record.flags, 0u);   // a repeated press
    EXPECT_EQ(deliveries[1].record.time, 600u);
    // What the hook does not report, it does not swallow.
    EXPECT_EQ(window->released, (std::vector<int>{Qt::Key_A}));
    EXPECT_EQ(window->pressed, (std::vector<int>{Qt::Key_unknown}));
}

TEST_F(UiHookLibrary, ShortcutsAreHeldBackOnlyWhileEnabled)
{
    const auto shortcutOverrideAccepted = [this] {
        QKeyEvent event(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier);
        event.ignore();
        QCoreApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    };
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    EXPECT_TRUE(shortcutOverrideAccepted());
    f.DisableKeyboardHook();
    EXPECT_FALSE(shortcutOverrideAccepted());
}

TEST_F(UiHookLibrary, DisableStopsEverything)
{
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    blockAll = true;
    f.DisableKeyboardHook();
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_TRUE(deliveries.empty());
    EXPECT_EQ(window->pressed, (std::vector<int>{Qt::Key_A}));
    EXPECT_EQ(f.DisableKeyboardHook(), 1);   // twice is harmless
}

TEST_F(UiHookLibrary, DisablingFromInsideTheCallbackIsSafe)
{
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    g_onKey = [this](const Delivery& d, bool& blocked) {
        deliveries.push_back(d);
        f.DisableKeyboardHook();   // a dialog closing on the key it recorded
        blocked = true;
    };
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_B, 48);
    EXPECT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(window->pressed, (std::vector<int>{Qt::Key_B}));
}

TEST_F(UiHookLibrary, EnablingAgainReplacesTheCallback)
{
    f.EnableKeyboardHook(&hookCallback, nullptr, 0);
    f.EnableKeyboardHook(&secondCallback, nullptr, 0);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_TRUE(deliveries.empty());
    EXPECT_EQ(g_secondCalls, 1);
}

// The modifiers as the event carries them, asked from inside the callback;
// unknown outside it and for keys that are no modifiers.
TEST_F(UiHookLibrary, KeyStateIsTheHandedOverEventsModifiers)
{
    ASSERT_NE(f.GetHookKeyState, nullptr);
    std::vector<std::vector<int>> seen;   // left Ctrl, right Alt, left Shift, A
    g_onKey = [&](const Delivery&, bool&) {
        seen.push_back({f.GetHookKeyState(0xA2), f.GetHookKeyState(0xA5), f.GetHookKeyState(0xA0),
                        f.GetHookKeyState(0x41)});
    };
    ASSERT_EQ(f.EnableKeyboardHook(&hookCallback, this, 0), 1);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_F5, 63, 1000, false, Qt::ControlModifier | Qt::AltModifier);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_F6, 64, 1100);
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{1, 1, 0, -1}, {0, 0, 0, -1}}));
    EXPECT_EQ(f.GetHookKeyState(0xA2), -1);
}

TEST_F(UiHookLibrary, OnlyTheGuiThreadCanEnable)
{
    int result = -1;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = f.EnableKeyboardHook(&hookCallback, nullptr, 0); }));
    thread->start();
    thread->wait();
    EXPECT_EQ(result, 0);
    sendKey(window.get(), QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_TRUE(deliveries.empty());
}

// --- TuiHook over the real library: the recordings the dialogs rely on.

TuiHook::Environment realLibrary()
{
    TuiHook::Environment env;
    env.loadLibrary = [] { return loadHookLibrary(QStringLiteral(K4812_BIN_DIR)); };
    env.showError = [](const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); };
    return env;
}

TEST(UiHookRecording, SingleKeyF5)
{
    KeyWindow window;
    TuiHook hook(realLibrary());
    ASSERT_TRUE(hook.DLLLoaded());
    std::vector<std::pair<int, int>> keys;   // key, extended
    QString name;
    hook.OnRecordKeyboardSingleKey = [&](int key, std::uint32_t, int, int ext, const QString& n, bool&) {
        keys.emplace_back(key, ext);
        name = n;
    };
    hook.RecordKeyboardSingleKey();
    sendKey(&window, QEvent::KeyPress, Qt::Key_F5, 63);
    sendKey(&window, QEvent::KeyRelease, Qt::Key_F5, 63);
    hook.StopRecordKeyboardSingleKey();
    sendKey(&window, QEvent::KeyPress, Qt::Key_F6, 64);
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{0x74, 0}, {0x74, 0}}));
    EXPECT_EQ(name, QStringLiteral("F5"));
    EXPECT_EQ(window.pressed, (std::vector<int>{Qt::Key_F5, Qt::Key_F6}));
}

TEST(UiHookRecording, CtrlHeldThenC)
{
    KeyWindow window;
    TuiHook hook(realLibrary());
    std::vector<std::vector<int>> combos;
    QString text;
    hook.OnRecordKeyboardComboKey = [&](int k1, int e1, int k2, int e2, int mod, const QString& t) {
        combos.push_back({k1, e1, k2, e2, mod});
        text = t;
    };
    hook.RecordKeyboardComboKey();
    sendKey(&window, QEvent::KeyPress, Qt::Key_Control, 29, 1000);
    sendKey(&window, QEvent::KeyPress, Qt::Key_C, 46, 1400, false, Qt::ControlModifier);
    sendKey(&window, QEvent::KeyRelease, Qt::Key_C, 46, 1500, false, Qt::ControlModifier);
    sendKey(&window, QEvent::KeyRelease, Qt::Key_Control, 29, 1600);
    hook.StopRecordKeyboardComboKey();
    EXPECT_EQ(combos, (std::vector<std::vector<int>>{{0x43, 0, 0, 0, 2}}));
    EXPECT_EQ(text, QStringLiteral("Ctrl+C"));
    // The combination's key was swallowed, the modifier was not.
    EXPECT_EQ(window.pressed, (std::vector<int>{Qt::Key_Control}));
}

TEST(UiHookRecording, MacroOfAKeyHeldWithAutoRepeat)
{
    KeyWindow window;
    TuiHook hook(realLibrary());
    hook.OnRecordKeyboardMacroKeyEx = [](int, int, int, int, double, std::uint32_t, const QString&, const QString&,
                                         const std::vector<TMACROKEYHOOK>&) {};
    std::vector<TMACROKEYHOOK> recorded;
    hook.OnStopRecordKeyboardMacroKey = [&](const std::vector<TMACROKEYHOOK>& list) { recorded = list; };
    hook.RecordKeyboardMacroKeyEx();
    sendKey(&window, QEvent::KeyPress, Qt::Key_A, 30, 1000);
    sendKey(&window, QEvent::KeyRelease, Qt::Key_A, 30, 1500, true);
    sendKey(&window, QEvent::KeyPress, Qt::Key_A, 30, 1500, true);
    sendKey(&window, QEvent::KeyRelease, Qt::Key_A, 30, 1700);
    hook.StopRecordKeyboardMacroKeyEx();
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].nKeyValue, 'A');
    EXPECT_EQ(recorded[0].nKeyState, 1);
    EXPECT_EQ(recorded[1].nKeyType, kMacroHookPause);
    EXPECT_EQ(recorded[1].nKeyValue, 700);
    EXPECT_EQ(recorded[2].nKeyState, 0);
    EXPECT_TRUE(window.pressed.empty());
}

// --- The keyboard grab helper

TEST(ScopedKeyboardGrab, OutlivingItsWindowIsHarmless)
{
    auto window = std::make_unique<KeyWindow>();
    ScopedKeyboardGrab grab(window.get());
    window->show();   // the offscreen platform cannot grab; X11 would
    window.reset();
    grab.release();
    EXPECT_FALSE(grab.grabbed());
}

TEST(ScopedKeyboardGrab, NoWindowNoGrab)
{
    ScopedKeyboardGrab grab(nullptr);
    EXPECT_FALSE(grab.grabbed());
}

} // namespace
} // namespace k4812
