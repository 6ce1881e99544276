#pragma once
// Linux key events to the Windows low-level key record.
//
// Keys are recorded and stored as Windows virtual-key codes with an extended
// flag, so a key event of the desktop is turned into what Windows would have
// reported for the same key: the virtual key (left and right modifiers apart),
// the PC scan code, the extended flag on the keys Windows marks extended (the
// navigation block, right Ctrl and Alt, keypad Enter and divide, Num Lock,
// Print Screen, the Windows and menu keys, the media keys), the released flag
// and the time.
//
// As on Windows, letters and digits follow the active layout (the key that
// types "a" on a French keyboard is VK_A, wherever it sits), and every other
// key comes from its physical position, unless the keymap names it another
// function, navigation or editing key (a remapped Caps Lock, a virtual
// keyboard with a keymap of its own): then it is that key. The keypad
// follows Num Lock: its digit keys are VK_NUMPAD0..9 with Num Lock on and the
// keypad forms of the navigation keys (VK_HOME, VK_CLEAR, ..., not extended)
// with Num Lock off.
//
// The physical key is the evdev key code, which X11 and Wayland hand over as
// the keycode plus 8 (QKeyEvent::nativeScanCode). Where the platform gives no
// keycode (0), the key is found by its Qt key instead, left modifiers assumed.

#include "macros/HookRecords.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <unordered_map>

namespace k4812 {

// How a key's virtual key is chosen.
enum class KeyRole : std::uint8_t {
    Fixed,    // always the row's virtual key
    Typing,   // a letter or digit of the layout overrides the row's virtual key
    Keypad,   // Num Lock decides between the row's virtual key and navVk
};

// One physical key. qtKey is what the key gives on a US layout (keypad:
// with Num Lock on); navVk and navQtKey are a keypad key's Num Lock off form.
struct PhysicalKey {
    std::uint16_t evdev;
    std::uint8_t vk;
    std::uint8_t scanCode;
    bool extended;
    KeyRole role;
    int qtKey;
    std::uint8_t navVk = 0;
    int navQtKey = 0;
};

// Every physical key the mapping knows: the 105 keys of a PC keyboard,
// F13-F24 and the media, browser and launch keys.
std::span<const PhysicalKey> physicalKeys();

// A key as Windows names it.
struct WindowsKey {
    std::uint8_t vk = 0;
    std::uint8_t scanCode = 0;
    bool extended = false;

    bool operator==(const WindowsKey&) const = default;
};

// What a key event says about its key, as Qt hands it over.
struct LinuxKey {
    std::uint32_t nativeScanCode = 0;   // evdev code + 8; 0 = none given
    int qtKey = 0;                      // Qt::Key of the event; 0 = none
    bool keypad = false;                // Qt::KeypadModifier
};

// What tells one physical key from another: its keycode, or, where the
// platform gives none, its Qt key and keypad flag.
std::uint64_t keyIdentity(const LinuxKey& key);

// The Windows key of one event; nothing for a key Windows has no virtual key
// for (or that the key code table could not name).
std::optional<WindowsKey> windowsKeyOf(const LinuxKey& key);

// One key event of the desktop.
struct LinuxKeyEvent {
    LinuxKey key;
    bool released = false;
    bool autoRepeat = false;
    std::uint32_t time = 0;   // milliseconds; 0 = not given, the clock is read
};

// Turns a stream of key events into Windows low-level records. A key keeps
// the virtual key it went down with until it goes up, so a press and its
// release always agree even when a modifier changed what the key types in
// between. Auto-repeat arrives as repeated presses without releases, as on
// Windows (X11 repeats a held key as release-press pairs).
class KeyEventTranslator {
public:
    using Clock = std::function<std::uint32_t()>;

    // `clock` (milliseconds) stamps events that carry no time of their own;
    // without one, a steady clock is read.
    explicit KeyEventTranslator(Clock clock = {});

    // The record of an event, or nothing when the event is dropped (an
    // auto-repeat release, an unknown key).
    std::optional<TKBDLLHOOKSTRUCT> translate(const LinuxKeyEvent& event);

    // Forgets which keys are held (when the hook is enabled anew).
    void reset() { m_held.clear(); }

private:
    Clock m_clock;
    std::unordered_map<std::uint64_t, WindowsKey> m_held;
};

} // namespace k4812
