#pragma once
// Reading fontconfig's configuration and its font caches is the largest part
// of the first text a program lays out: about a fifth of what the window
// does before its first frame. startFontSetup() begins it on a thread of its
// own before the toolkit starts, so that it runs while the toolkit connects
// to the display and the profiles load; waitForFontSetup() waits for it.
// Wait before the first font is used: the toolkit would otherwise do the
// whole work again beside the thread (fontconfig keeps the first result and
// drops the other).

namespace k4812 {

void startFontSetup();
// Returns at once when no set-up was started or it has ended already.
void waitForFontSetup();

} // namespace k4812
