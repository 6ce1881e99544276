#pragma once
// The busy cursor, made ahead on X11. The toolkit loads a cursor shape from
// the desktop's cursor theme the first time a window shows it, on the
// window's thread; the theme's busy cursor is a large animated file (4 MB in
// Adwaita), and when it is no longer in memory and other programs keep the
// disk busy, that first read held a language switch for 30-60 ms.
// prepareBusyCursor() reads the file on a worker the way the toolkit will,
// then has the toolkit make the cursor from the now cached file on the
// window's thread (a few milliseconds), where it stays for every later use.
// Elsewhere (Wayland loads a theme's cursors all at once) it does nothing.

namespace k4812 {

// False when there is nothing to prepare: not X11, or the toolkit has not
// loaded libXcursor.
bool prepareBusyCursor();

} // namespace k4812
