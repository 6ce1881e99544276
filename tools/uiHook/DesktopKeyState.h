#pragma once
// The desktop's modifier keys, for TuiHook::Environment::keyHeld (QtGui only;
// header-only, for the window code).
//
// Without it, the combination recorder knows the modifiers from the key
// events of its own recording, which misses a modifier held down before the
// recording started. This asks the display server instead; left and right
// cannot be told apart, which the recorder does not need.
//
//     k4812::TuiHook::Environment env;
//     env.keyHeld = k4812::desktopModifierHeld;
//     env.showError = [this](const QString& caption, const QString& text) { /* message dialog */ };

#include <QGuiApplication>

namespace k4812 {

// Whether the virtual key's modifier is among the given ones.
inline bool modifierHeld(Qt::KeyboardModifiers held, int virtualKey)
{
    switch (virtualKey) {
    case 0xA0: case 0xA1: return held.testFlag(Qt::ShiftModifier);
    case 0xA2: case 0xA3: return held.testFlag(Qt::ControlModifier);
    case 0xA4: case 0xA5: return held.testFlag(Qt::AltModifier);
    case 0x5B: case 0x5C: return held.testFlag(Qt::MetaModifier);
    default: return false;
    }
}

inline bool desktopModifierHeld(int virtualKey)
{
    return modifierHeld(QGuiApplication::queryKeyboardModifiers(), virtualKey);
}

} // namespace k4812
