#!/usr/bin/env bash
# A mouse set up elsewhere, met by a first start: k4812ctl sets Mode 1's
# profile to 1000 Hz and applies it under one home folder; the window, started
# under a fresh home folder on Xvfb, asks whether to keep what the mouse holds;
# Return answers OK, and the fresh home's stored profile is what the mouse held.
# Usage: first_start_e2e.sh BIN_DIR
set -uo pipefail
bin=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e-lib.sh"
e2e_setup
e2e_start_xvfb

elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
HOME=$elsewhere XDG_CONFIG_HOME=$elsewhere/.config XDG_DATA_HOME=$elsewhere/.local/share \
  XDG_DOCUMENTS_DIR=$elsewhere/Documents "$bin/k4812ctl" set --apply rate 1000 >"$work/ctl.log" 2>&1 ||
  fail "k4812ctl could not set up the mouse: $(cat "$work/ctl.log")"

rate() { "$bin/k4812ctl" profile show 1 --json 2>/dev/null | jq -r '.reportRate // empty' | head -n 1; }

e2e_start_config
find_main_window
asking() { [ "$ww" -lt 850 ]; }
wait_for 100 other_window asking || fail "no question about the mouse's settings: $(cat "$work/config.log")"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1
xdotool key Return
answered() { ! other_window asking; }
wait_for 100 answered || fail "the question did not close on Return"
stored() { [ "$(rate)" = 1000 ]; }
wait_for 50 stored || fail "the fresh home's profile 1 has $(rate) Hz, not the mouse's 1000 Hz"
echo "PASS: the first start kept the mouse's settings"
