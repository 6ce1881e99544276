#!/usr/bin/env bash
# The monitor (REvo2) follows the focus on a headless sway through sway's IPC:
# three Wayland windows with their own app id, the focus moved with swaymsg,
# and the emulated mouse's active bank must follow the rules: a switch for a
# rule's mode, none when nothing changes, never two in one second. Then the
# tray's "Open settings" (its menu driven over D-Bus through the test's tray
# host) brings the open k4812-config forward through sway's IPC.
# Usage: sway_monitor_focus_e2e.sh BIN_DIR APPID_WINDOW_PROGRAM SNI_HOST_PROGRAM
# Needs sway, jq and Qt's Wayland platform plugin; exits with 77 (skipped) when sway is missing.
set -uo pipefail
usage="usage: sway_monitor_focus_e2e.sh BIN_DIR APPID_WINDOW_PROGRAM SNI_HOST_PROGRAM"
bin=$(cd "${1:?$usage}" && pwd -P)
appwin=${2:?$usage}
sni=${3:?$usage}
here=$(cd "$(dirname "$0")" && pwd -P)
skip() { echo "SKIP: $*"; exit 77; }
command -v sway >/dev/null || skip "no sway"

source "$here/e2e-lib.sh"
source "$here/sway-lib.sh"
source "$here/monitor-rules-lib.sh"
e2e_setup
sway_start
export QT_QPA_PLATFORM=wayland
unset DISPLAY
app_id=${K4812_APP_ID:-io.github.k4812.config}
# A session bus with a tray host on it, for the monitor's tray.
address=$(dbus-daemon --session --fork --print-address=1) || fail "the session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$address
"$sni" watch >"$work/host.out" 2>&1 &
pids+=($!)
watching() { grep -q '^watching$' "$work/host.out"; }
wait_for 100 watching || fail "the tray host did not start"

ctl() { "$bin/k4812ctl" "$@"; }
ctl monitor rules add GameA 2 >/dev/null || fail "cannot add a rule"
ctl monitor rules add EditorB 1 >/dev/null || fail "cannot add a rule"

for app in GameA EditorB Plain; do
  "$appwin" "$app" >"$work/window-$app.log" 2>&1 &
  pids+=($!)
done
has_window() { [ -n "$(sway_window "$1")" ]; }
for app in GameA EditorB Plain; do
  wait_for 100 has_window "$app" || fail "no window with app id $app: $(cat "$work/window-$app.log")"
done

# What the monitor saw and did (its standard error, with the messages).
log=$work/monitor.out
fail() { echo "FAIL: $*" >&2; echo "--- monitor log:" >&2; cat "$log" >&2 2>/dev/null; exit 1; }
"$bin/REvo2" --verbose >"$log" 2>&1 &
pids+=($!)
following() { grep -q "following the focus through sway" "$log" 2>/dev/null; }
wait_for 100 following || fail "the monitor does not follow the focus"

active_bank() { ctl emulator show | sed -n 's/^active bank: \([01]\).*/\1/p'; }
switch_count() { grep -c '^switched to' "$log" || true; }
focus_count() { grep -c '^focus: ' "$log" || true; }
last_focus() { grep '^focus: ' "$log" | tail -1; }
focused_app() {
  swaymsg -t get_tree 2>/dev/null | jq -r 'first(.. | objects | select(.focused? == true)) | .app_id // empty'
}
# Moves the focus to the window of app id $1 and waits until the monitor has
# dealt with that change (and made any switch it causes).
focus_on() {
  local before want=$1
  before=$(focus_count)
  # sway tells nothing when the focus stays where it is.
  if [ "$(last_focus)" = "focus: $want" ] && [ "$(focused_app)" = "$want" ]; then
    return 0
  fi
  swaymsg "[app_id=\"^$want\$\"] focus" >/dev/null || fail "sway could not focus $want"
  handled() { [ "$(focus_count)" -gt "$before" ] && [ "$(last_focus)" = "focus: $want" ]; }
  wait_for 100 handled || fail "the monitor did not see the focus move to $want"
}

# sway tells the monitor only of changes: the first one puts the mouse into Mode 1.
[ "$(focused_app)" = EditorB ] && focus_on Plain
focus_on EditorB
check_switching_by_rules sway

# "Open settings" with the configuration window open: sway focuses it.
"$bin/k4812-config" >"$work/config.log" 2>&1 &
pids+=($!)
config_mapped() { [ -n "$(sway_window "$app_id")" ]; }
wait_for 200 config_mapped || fail "no window with app id $app_id: $(cat "$work/config.log")"
focus_on Plain
item=$(sed -n 's/^registered //p' "$work/host.out" | tail -1)
[ -n "$item" ] || fail "the monitor's tray icon did not register: $(cat "$work/host.out")"
"$sni" click "$item" "Open settings" || fail "no \"Open settings\" in the tray menu"
config_focused() { [ "$(focused_app)" = "$app_id" ]; }
wait_for 100 config_focused || fail "\"Open settings\" did not bring the window forward (focused: $(focused_app))"
grep -q '^brought the configuration window (process [0-9]*) forward' "$log" ||
  fail "the monitor did not say it brought the window forward"
echo "PASS: the monitor switched the mode by the focused Wayland application's rule; \"Open settings\" focused the window"
