#pragma once
// XKB detectable auto-repeat on the application's X11 connection, while the
// hook is on: the server then repeats a held key as presses alone and sends
// its release once, at the end, as Windows does. Without it a held key
// repeats as release-press pairs (KeyRepeatPairing is the fallback for
// servers without XKB).
//
// The setting belongs to the connection, which Qt shares with the whole
// application, so it is put back as it was when the hook goes off. libX11 is
// opened at run time (Qt's X11 platform has loaded it already); elsewhere
// (Wayland, offscreen) nothing happens. K4812_NO_XKB_DETECTABLE_REPEAT=1
// leaves the server's repeat as it is (to try the fallback).

namespace k4812 {

class X11DetectableRepeat {
public:
    X11DetectableRepeat() = default;
    ~X11DetectableRepeat() { restore(); }
    X11DetectableRepeat(const X11DetectableRepeat&) = delete;
    X11DetectableRepeat& operator=(const X11DetectableRepeat&) = delete;

    // Turns it on where possible; true when the server now repeats with presses alone.
    bool enable();
    // Puts back the setting found by enable().
    void restore();

private:
    bool m_changed = false;
};

} // namespace k4812
