#!/usr/bin/env bash
# The monitor (REvo2) follows the focus on X11 under a real window manager
# (openbox): three windows with their own WM_CLASS, the focus moved with
# xdotool, and the emulated mouse's active bank must follow the rules: a
# switch for a rule's mode, none when nothing changes, never two in one second.
# Usage: monitor_focus_e2e.sh BIN_DIR CLASS_WINDOW_PROGRAM
set -uo pipefail
bin=$1
classwin=$2
. "$(dirname "$0")/e2e-lib.sh"
. "$(dirname "$0")/monitor-rules-lib.sh"
e2e_setup
e2e_start_xvfb
e2e_start_openbox

ctl() { "$bin/k4812ctl" "$@"; }
ctl monitor rules add GameA 2 >/dev/null || fail "cannot add a rule"
ctl monitor rules add EditorB 1 >/dev/null || fail "cannot add a rule"

for class in GameA EditorB Plain; do
  "$classwin" "$class" &
  pids+=($!)
done
window_of() { x_search --onlyvisible --class "^$1\$" | head -1; }
has_window() { [ -n "$(window_of "$1")" ]; }
for class in GameA EditorB Plain; do
  wait_for 100 has_window "$class" || fail "no window of class $class"
done

# What the monitor saw and did (its standard error, with the messages).
log=$work/monitor.out
# Every failure shows it.
fail() { echo "FAIL: $*" >&2; echo "--- monitor log:" >&2; cat "$log" >&2 2>/dev/null; exit 1; }
"$bin/REvo2" --verbose >"$log" 2>&1 &
pids+=($!)
following() { grep -q "following the focus through X11" "$log" 2>/dev/null; }
wait_for 100 following ||
  fail "the monitor does not follow the focus"

active_bank() { ctl emulator show | sed -n 's/^active bank: \([01]\).*/\1/p'; }
switch_count() { grep -c '^switched to' "$log" || true; }
focus_count() { grep -c '^focus: ' "$log" || true; }
last_focus() { grep '^focus: ' "$log" | tail -1; }
# Moves the focus to the window of class $1 and waits until the monitor has
# dealt with that change (and made any switch it causes).
focus_on() {
  local before want=$1
  before=$(focus_count)
  # Already there (the first focus the monitor found): no change to see.
  if [ "$(last_focus)" = "focus: $want" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$(window_of "$want")" ]; then
    return 0
  fi
  xdotool windowactivate --sync "$(window_of "$want")"
  handled() { [ "$(focus_count)" -gt "$before" ] && [ "$(last_focus)" = "focus: $want" ]; }
  wait_for 100 handled || fail "the monitor did not see the focus move to $want"
}

# Whatever window had the focus first: from EditorB on, the mouse is in Mode 1.
focus_on EditorB
check_switching_by_rules X11
echo "PASS: the monitor switched the mode by the focused application's rule"
