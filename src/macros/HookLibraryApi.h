#pragma once
// The binary interface of the hook library (libuiHook.so), shared by the
// library and the component that loads it. Plain C: the two sides are built
// separately and meet only through these functions, looked up by name: four
// that every library has, and GetHookKeyState, which a library may lack.
//
// EnableKeyboardHook(callback, userData, 0) makes the library call `callback`
// for every key event from then on, on the thread that enabled it (the GUI
// thread), and wait for it to return. The callback gets userData, two
// integers the keyboard recorders do not read (0 and the Windows message,
// 0x100 key down / 0x101 key up), the event, and a Blocked flag: set to true,
// the event is swallowed and reaches no window. DisableKeyboardHook stops
// every further callback. Enabling again replaces the callback. The mouse pair
// exists for completeness; nothing calls it and it delivers no events.
//
// GetHookKeyState(virtualKey), asked from inside the callback, tells whether
// that modifier key (left/right Ctrl, Alt, Shift, Win) was down when the event
// being handed over was made: 1 or 0, and -1 outside a callback or for any
// other key. The desktop's own state may have moved on by then (a key event
// waits in a queue while the modifier is released), so a recorder asks this
// first.

#include "macros/HookRecords.h"

extern "C" {

typedef void (*K4812KeyboardHookCallback)(void* userData, int code, int message,
                                          k4812::TKBDLLHOOKSTRUCT* event, bool* blocked);
typedef void (*K4812MouseHookCallback)(void* userData, int code, int message, void* event, bool* blocked);

typedef int (*K4812EnableKeyboardHook)(K4812KeyboardHookCallback callback, void* userData, int reserved);
typedef int (*K4812DisableKeyboardHook)(void);
typedef int (*K4812EnableMouseHook)(K4812MouseHookCallback callback, void* userData, int reserved);
typedef int (*K4812DisableMouseHook)(void);
typedef int (*K4812GetHookKeyState)(int virtualKey);

} // extern "C"

namespace k4812 {

// The library's file name in the program folder.
inline constexpr char kHookLibraryFileName[] = "libuiHook.so";

inline constexpr int kHookMessageKeyDown = 0x100;
inline constexpr int kHookMessageKeyUp = 0x101;

} // namespace k4812
