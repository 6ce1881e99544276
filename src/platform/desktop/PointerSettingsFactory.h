#pragma once
// Chooses the pointer-settings back end.
//
// K4812_POINTER_SETTINGS selects one:
//   journal:FILE  append each setting to FILE, change nothing (tests, demos)
//   gnome         GNOME settings keys through gsettings
//   kde           KDE Plasma's settings (kwriteconfig6/5) and KWin's input devices
//   sway          sway's input settings through swaymsg
//   x11           the X server's pointer control
//   none          change nothing, report every setting as not supported
//   auto or unset sway when SWAYSOCK names sway's socket; KDE when the
//                 desktop is KDE (Plasma 5 or 6, X11 or Wayland); GNOME when
//                 the desktop is GNOME and gsettings is installed; otherwise
//                 X11 on an X11 session with a DISPLAY; otherwise none
// An unknown value is logged and gives "none": the settings of a user who
// asked for something else are never changed by a guess.

#include "platform/desktop/PointerSettings.h"

#include <QString>

#include <memory>

namespace k4812 {

inline constexpr const char* kPointerSettingsVariable = "K4812_POINTER_SETTINGS";

enum class PointerSettingsKind { Gnome, Kde, Sway, X11, Journal, None };

// What "auto" looks at.
struct DesktopFacts {
    QString currentDesktop;    // XDG_CURRENT_DESKTOP, a colon-separated list
    QString sessionType;       // XDG_SESSION_TYPE
    bool waylandDisplay = false;
    bool x11Display = false;   // DISPLAY is set
    bool gsettingsInstalled = false;
    bool swaySocket = false;   // SWAYSOCK is set

    static DesktopFacts fromEnvironment();
    // WAYLAND_DISPLAY is set or the session type says Wayland.
    bool wayland() const;
};

struct PointerSettingsSelection {
    PointerSettingsKind kind = PointerSettingsKind::None;
    bool wayland = false; // the session, for back ends that act differently there
    QString journalFile;
    QString error; // set when the text was not understood
};

// The pure choice from the variable's text and the desktop's facts.
PointerSettingsSelection selectPointerSettings(const QString& text, const DesktopFacts& facts);

std::shared_ptr<PointerSettings> createPointerSettings(const PointerSettingsSelection& selection);

// From K4812_POINTER_SETTINGS and the environment; an error is logged.
std::shared_ptr<PointerSettings> createPointerSettings();

} // namespace k4812
