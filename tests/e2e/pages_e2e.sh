#!/usr/bin/env bash
# End-to-end test of the window's pages on an X server of its own (Xvfb),
# against the mouse emulator: real clicks at window coordinates select CPI
# level 1 and drag its X value to the track bar's right end (Sensitivity),
# choose 1000 Hz and the fourth colour (Advanced), then Apply; the emulated
# mouse's memory, read by `k4812ctl emulator show` from the same state file,
# must hold what was clicked.
# Usage: pages_e2e.sh BIN_DIR. Needs xvfb and xdotool (scripts/install-deps.sh).
set -uo pipefail

bin=$(cd "${1:?usage: pages_e2e.sh BIN_DIR}" && pwd -P)
source "$(dirname "$0")/e2e-lib.sh"

e2e_setup
export QT_SCALE_FACTOR=1
e2e_start_xvfb

show() { "$bin/k4812ctl" --device="emulator:$work/mouse.state" emulator show 2>&1; }

e2e_start_config
find_main_window
wid=$main
sleep 0.5 # the first paint

# A click at (x, y) of the window, as the user's mouse would.
click() {
  # The pointer arrives first, as a hand would move it, then presses.
  xdotool mousemove --window "$wid" "$1" "$2" || fail "move to $1,$2"
  sleep 0.2
  xdotool click 1 || fail "click at $1,$2"
  sleep 0.3
}

# The pages sit in the tab control at (512, 92); a page's own (0, 0) is at (512, 120).
click 659 237   # Sensitivity: the X box of level 1 (X1) selects that level
click 822 405   # the X track bar's right end: 3500
click 659 106   # the "Advanced" tab
click 766 172   # "1000Hz"
click 694 412   # the fourth colour (C4), shown on the mouse at once
wait_for 50 eval 'show | grep -q "light preview shown: R 3 G 97 B 96"' || fail "no light preview: $(show | head -n 6)"
show | grep -q "report rate: bank 0 500 Hz" || fail "the report rate reached the mouse before Apply"
click 451 628   # "Apply"

applied() { show | grep -q "report rate: bank 0 1000 Hz"; }
wait_for 100 applied || fail "the report rate did not reach the mouse: $(show | head -n 20)"
state=$(show)
echo "$state" | grep -q "level 0: 3400 " || fail "CPI level 1 not 3400 (3500 as the mouse takes it): $(echo "$state" | grep 'level ')"
echo "$state" | sed -n '/^bank 0/,/^bank 1/p' | grep -q "light: R 3 G 97 B 96" || fail "the colour was not applied: $(echo "$state" | grep 'light:')"
echo "PASS"
