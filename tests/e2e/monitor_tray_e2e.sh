#!/usr/bin/env bash
# The monitor's tray icon over D-Bus, as a desktop's panel sees it, on an X
# server and a session bus of the test's own, against the mouse emulator:
#  - with a StatusNotifierWatcher on the bus (the test's tray host,
#    k4812-e2e-sni-host, which is also the notification service), REvo2's
#    icon registers as a StatusNotifierItem: its title, tooltip (the profile
#    of each mode, the mouse connected), icon (the colour of Mode 1) and menu
#    (com.canonical.dbusmenu) show the mouse's state;
#  - "Mode 2" chosen in the menu (the Event "clicked") switches the emulated
#    mouse, the open k4812-config shows Mode 2 pressed (AT-SPI), the tooltip,
#    the icon and the menu follow, and a notification tells of the switch;
#  - a switch chosen while the window applies never comes between the
#    apply's exchanges (one trace of both programs' feature reports): with no
#    wait allowed it is refused, and the notification and `k4812ctl monitor
#    status` name the window as the holder; allowed to wait, it is made after
#    the apply, and the window then shows its mode;
#  - "Quit" ends the monitor and takes its icon off the bus;
#  - "Open settings" brings the open (minimised) window forward through the
#    window manager (openbox) instead of starting a second one.
# The window is held inside its apply by stopping it (SIGSTOP) once the
# apply's first report is in the trace and while it holds the mouse's lock,
# so that the switch meets the apply every time. Usage: monitor_tray_e2e.sh BIN_DIR SNI_HOST_PROGRAM. Needs xvfb,
# xdotool, openbox, dbus-daemon, at-spi2-core and python3-pyatspi; exits with 77
# (skipped) when one of the last three is missing.
set -uo pipefail

bin=$(cd "${1:?usage: monitor_tray_e2e.sh BIN_DIR SNI_HOST_PROGRAM}" && pwd -P)
sni=${2:?usage: monitor_tray_e2e.sh BIN_DIR SNI_HOST_PROGRAM}
here=$(cd "$(dirname "$0")" && pwd -P)
source "$here/e2e-lib.sh"
e2e_require_atspi
e2e_setup
e2e_start_xvfb
e2e_start_session_bus "$launcher"
# A window manager (EWMH), which brings windows forward when asked.
e2e_start_openbox
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

trace=$work/trace.txt
: >"$trace"
host=$work/host.out
log=$work/monitor.out
fail() {
  echo "FAIL: $*" >&2
  for f in "$host" "$log" "$work/config.log"; do echo "--- $f:" >&2; cat "$f" >&2 2>/dev/null; done
  echo "--- the trace (the first bytes of each report):" >&2; cut -c1-60 "$trace" >&2
  [ -n "${config:-}" ] && kill -CONT "$config" 2>/dev/null
  exit 1
}

"$sni" watch >"$host" 2>&1 &
pids+=($!)
watching() { grep -q '^watching$' "$host"; }
wait_for 100 watching || fail "the tray host did not start"

# Starts REvo2 (its wait for the mouse: $1 ms) and sets `item` to its icon's bus name.
start_monitor() {
  local before
  before=$(grep -c '^registered ' "$host")
  K4812_DEVICE_WAIT_MS=$1 "$bin/REvo2" --verbose --stay --trace="$trace" >"$log" 2>&1 &
  monitor=$!
  pids+=($monitor)
  registered() { [ "$(grep -c '^registered ' "$host")" -gt "$before" ]; }
  wait_for 100 registered || fail "the monitor's icon did not register with the watcher"
  item=$(sed -n 's/^registered //p' "$host" | tail -1)
}
show() { "$sni" show "$item"; }
menu() { "$sni" menu "$item"; }
choose() { "$sni" click "$item" "$1" || fail "cannot choose \"$1\" in the tray menu"; }
active_bank() { "$bin/k4812ctl" emulator show | sed -n 's/^active bank: \([01]\).*/\1/p'; }
in_bank() { [ "$(active_bank)" = "$1" ]; }
lines() { wc -l <"$trace"; }
atspi() { "$python" "$here/atspi-client.py" "$config" "$@"; }

start_monitor 0
props=$(show)
grep -qx 'Title: REvo2' <<<"$props" || fail "the item's title: $props"
grep -qx 'Status: Active' <<<"$props" || fail "the item is not active: $props"
grep -q '^ToolTip: Gaming Mouse Driver | Mode 1: profile 1 \* | Mode 2: profile 2 | Mouse: connected' <<<"$props" ||
  fail "the tooltip does not show the modes and the mouse: $props"
grep -qx 'Icon: 64x64 #1e6fd9' <<<"$props" || fail "the icon is not that of Mode 1: $props"
items=$(menu)
for expected in '|Mode 1|1|1' '|Mode 2|0|1' '|PROFILE1|1|1' '|PROFILE5|0|1' '|Start with the desktop|0|1' \
  '|Open settings|-1|1' '|Quit|-1|1'; do
  grep -q -- "$expected\$" <<<"$items" || fail "the menu lacks \"$expected\": $items"
done

"$bin/k4812-config" --trace="$trace" >"$work/config.log" 2>&1 &
config=$!
pids+=($config)
wait_for 200 window_mapped || fail "no window K4812_CONFIG"
atspi find "push button" "Mode 1" checked || fail "the window does not show Mode 1 pressed"

# Mode 2 from the tray: the mouse, the window, the tray and a bubble follow.
before=$(lines)
choose "Mode 2"
wait_for 100 in_bank 1 || fail "the mouse did not switch to Mode 2"
atspi find "push button" "Mode 2" checked || fail "the window does not show Mode 2 pressed after the tray's switch"
props=$(show)
grep -q '^ToolTip: .*Mode 1: profile 1 | Mode 2: profile 2 \*' <<<"$props" || fail "the tooltip stayed: $props"
grep -qx 'Icon: 64x64 #d94a1e' <<<"$props" || fail "the icon is not that of Mode 2: $props"
grep -q '|Mode 2|1|1$' <<<"$(menu)" || fail "the menu does not check Mode 2: $(menu)"
told() { grep -q "^notification $1" "$host"; }
wait_for 100 told 'Switched to Mode 2 | Mode 2: profile 2' || fail "no notification of the switch"
# The switch's own exchanges: the update marks every sequence begins and ends with.
switch=$(tail -n +$((before + 1)) "$trace")
begin=$(head -1 <<<"$switch")
end=$(tail -1 <<<"$switch")
[ -n "$begin" ] && [ "$begin" != "$end" ] || fail "the switch's exchanges are not in the trace: $switch"

# The mouse's lock files (held by whichever program runs a sequence on it).
mouse_held() {
  local f
  for f in "$XDG_RUNTIME_DIR"/k4812/mouse-*.lock; do
    [ -e "$f" ] || continue
    flock -n "$f" true || return 0
  done
  return 1
}
mouse_free() { ! mouse_held; }

# Presses Apply and stops the window inside its apply (its first report
# traced, the mouse still held by it); an apply that was over first is let
# finish and pressed again. Sets apply_start to the trace's length before it.
apply_and_hold() {
  local try
  for try in 1 2 3 4 5; do
    apply_start=$(lines)
    atspi do "push button" "Apply" Press >/dev/null 2>&1 &
    began() { [ "$(lines)" -gt "$apply_start" ]; }
    wait_for 100 began || fail "Apply sent nothing to the mouse"
    kill -STOP "$config"
    mouse_held && return 0
    kill -CONT "$config"
    wait_for 100 mouse_free || fail "the window kept the mouse after its apply"
  done
  fail "every apply was over before the window could be held inside it"
}

# No wait allowed: refused at once, with the window named; nothing written meanwhile.
apply_and_hold
held_at=$(lines)
choose "Mode 1"
refused() { grep -q '^no switch: the mouse is in use by k4812-config' "$log"; }
wait_for 100 refused || fail "the switch during the apply was not refused"
[ "$(lines)" = "$held_at" ] || fail "the monitor wrote to the mouse during the window's apply"
wait_for 100 told "Gaming Mouse Driver | Mode not switched: the mouse is in use by k4812-config (process $config)" ||
  fail "no notification of the refusal naming the window"
"$bin/k4812ctl" monitor status | grep -q "^Last switch: the mouse is in use by k4812-config (process $config)" ||
  fail "the status does not tell why: $("$bin/k4812ctl" monitor status)"
kill -CONT "$config"
wait_for 100 mouse_free || fail "the apply did not end"
# The apply's exchanges, whole: the reference for the next one.
apply=$(tail -n +$((apply_start + 1)) "$trace")
in_bank 1 || fail "the refused switch changed the mouse's mode"

# "Quit" ends the monitor and its icon goes.
choose "Quit"
monitor_ended() { ! kill -0 "$monitor" 2>/dev/null; }
wait_for 100 monitor_ended || fail "Quit did not end the monitor"
grep -q "^unregistered $item\$" "$host" || fail "the icon stayed on the bus after Quit"

# Allowed to wait: the switch is made after the apply, never inside it.
start_monitor 60000
apply_and_hold
held_at=$(lines)
choose "Mode 1"
waiting() { grep -q '^switching to Mode 1' "$log"; }
wait_for 100 waiting || fail "the monitor did not take up the switch"
[ "$(lines)" = "$held_at" ] || fail "the monitor wrote to the mouse during the window's apply"
kill -CONT "$config"
switched() { grep -q '^switched to Mode 1' "$log"; }
wait_for 100 switched || fail "the switch was not made after the apply"
in_bank 0 || fail "the mouse is not in Mode 1 after the waiting switch"
# The apply as before, whole, then the monitor's switch: its update marks
# around the selection byte and the activation.
after=$(tail -n +$((apply_start + 1)) "$trace")
[ "$(head -n -4 <<<"$after")" = "$apply" ] || fail "the apply's exchanges did not come whole before the switch"
[ "$(tail -4 <<<"$after" | head -1)" = "$begin" ] && [ "$(tail -1 <<<"$after")" = "$end" ] ||
  fail "the trace does not end with the monitor's switch"
atspi find "push button" "Mode 1" checked || fail "the window does not show Mode 1 pressed after the tray's switch"
# "Open settings" with the window open (and minimised): that window comes
# forward; no second one is started.
find_main_window
xdotool windowminimize --sync "$main"
# The window manager moves the focus on after the window is unmapped.
not_active() { [ "$(xdotool getactivewindow 2>/dev/null)" != "$main" ]; }
wait_for 100 not_active || fail "the window is still active after minimising it"
choose "Open settings"
forward() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
wait_for 100 forward || fail "\"Open settings\" did not bring the open window forward"
grep -q "^brought the configuration window (process $config) forward" "$log" ||
  fail "the monitor did not bring the running window forward"
[ "$(run_pids "$bin/k4812-config" | wc -l)" = 1 ] || fail "a second k4812-config runs"
echo "PASS: the tray's menu over D-Bus switched the mouse, the window followed, no switch came inside an apply," \
  "and \"Open settings\" brought the open window forward"
