#!/usr/bin/env bash
# End-to-end test of the configuration window on an X server of its own
# (Xvfb, on a display number it picks itself), against the mouse emulator:
#  - k4812-config maps its window "K4812_CONFIG", with the desktop entry's
#    StartupWMClass as WM_CLASS instance and an icon (_NET_WM_ICON);
#  - a second copy ends with status 0 and maps no window;
#  - the monitor stand-in (REvo2) is started exactly once;
#  - the stand-in's close message (REvo2 --send close) ends the window.
# Usage: window_e2e.sh BIN_DIR. Needs xvfb, xdotool, x11-utils (scripts/install-deps.sh).
set -uo pipefail

bin=$(cd "${1:?usage: window_e2e.sh BIN_DIR}" && pwd -P)
source "$(dirname "$0")/e2e-lib.sh"

monitor_runs() { [ -n "$(monitor_pids)" ]; }

e2e_setup
e2e_start_xvfb
e2e_start_config
[ "$(config_windows)" -eq 1 ] || fail "more than one K4812_CONFIG window"
find_main_window
[ "$main_w"x"$main_h" = 850x655 ] || fail "window size: ${main_w}x$main_h"

# The window belongs to its menu entry: its WM_CLASS instance is the entry's
# StartupWMClass, and it carries an icon for docks and Alt+Tab.
desktop_entry=$(dirname "$0")/../../resources/k4812-config.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
classes=$(xprop -id "$main" WM_CLASS)
echo "$classes" | grep -q "= \"$wm_class\"," || fail "WM_CLASS does not name the desktop entry's $wm_class: $classes"
icon=$(xprop -id "$main" _NET_WM_ICON | head -n 2)
echo "$icon" | grep -q 'Icon (' || fail "the window has no _NET_WM_ICON: $icon"

# The second copy: status 0 at once, no second window.
timeout 20 "$bin/k4812-config" >"$work/second.log" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with status $status: $(cat "$work/second.log")"
[ "$(config_windows)" -eq 1 ] || fail "the second copy mapped a window"

# The monitor: started once, by the first copy only.
wait_for 100 monitor_runs || fail "the monitor stand-in was not started"
wait_for 100 "$bin/REvo2" --send language >/dev/null 2>&1 || fail "the window does not take messages"
count=$(monitor_pids | wc -l)
[ "$count" -eq 1 ] || fail "$count copies of the monitor stand-in run"

# The monitor's close message ends the window and the program.
"$bin/REvo2" --send close >/dev/null || fail "REvo2 --send close failed"
wait_for 100 config_ended || fail "the window did not end on the close message"
wait "$config"
status=$?
[ "$status" -eq 0 ] || fail "k4812-config ended with status $status"
[ "$(config_windows)" -eq 0 ] || fail "a window K4812_CONFIG is left"

# With nothing to do, the monitor follows the window out.
no_monitor() { [ -z "$(monitor_pids)" ]; }
wait_for 150 no_monitor || fail "the monitor stand-in stayed behind the window"
echo "PASS"
