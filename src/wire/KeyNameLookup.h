#pragma once
// Keys by name: the key code table read from a name to a key, for choosing a
// key in text (the command line's "key F5" and "combo ctrl+shift+a").

#include <QString>

#include <optional>

namespace k4812 {

// A key as the key dialogs record it: a Windows virtual-key code and the
// extended flag (0 or 1).
struct NamedKey {
    int virtualKey = 0;
    int extended = 0;

    bool operator==(const NamedKey&) const = default;
};

// The key whose name (its description in the key table, "F5", "PAGE UP",
// "L CTRL") or virtual-key name ("VK_F5", or "F5" without "VK_") is `name`.
// Case does not matter, nor do blanks, "-" and "_" in a name with letters or
// digits ("page-up", "pageup"). Keys without a name ("Undefined") are not
// found. When several keys share the name, a key the mouse can send wins,
// then the one with the lowest HID usage: "PAGE UP" is the dedicated key
// (extended), not keypad 9, and "ENTER" the main Enter, not keypad Enter.
std::optional<NamedKey> KeyOfName(const QString& name);

} // namespace k4812
