#!/usr/bin/env bash
# End-to-end test of the configuration window on an X server of its own
# (Xvfb, on a display number it picks itself), against the mouse emulator:
#  - k4812-config maps its window "K4812_CONFIG";
#  - a second copy ends with status 0 and maps no window;
#  - the monitor stand-in (REvo2) is started exactly once;
#  - the stand-in's close message (REvo2 --send close) ends the window.
# Usage: window_e2e.sh BIN_DIR. Needs xvfb, xdotool, x11-utils (scripts/install-deps.sh).
set -uo pipefail

bin=$(cd "${1:?usage: window_e2e.sh BIN_DIR}" && pwd)
work=$(mktemp -d)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  # The monitor this test started (found by this test's folder in its environment).
  for pid in $(monitor_pids); do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

monitor_pids() {
  local pid
  for exe in /proc/[0-9]*/exe; do
    pid=${exe#/proc/}; pid=${pid%/exe}
    [ "$(readlink "$exe" 2>/dev/null)" = "$bin/REvo2" ] || continue
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "K4812_E2E_RUN=$work" && echo "$pid"
  done
}

config_windows() { xdotool search --onlyvisible --name '^K4812_CONFIG' 2>/dev/null | wc -l; }
window_mapped() { [ "$(config_windows)" -ge 1 ]; }
monitor_runs() { [ -n "$(monitor_pids)" ]; }
config_ended() { ! kill -0 "$config" 2>/dev/null; }

# Nothing of the user's: home, XDG folders, runtime folder, pointer settings.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state XDG_CACHE_HOME=$work/home/.cache
export XDG_RUNTIME_DIR=$work/run XDG_DOCUMENTS_DIR=$work/home/Documents
export K4812_DEVICE=emulator:$work/mouse.state K4812_POINTER_SETTINGS=journal:$work/pointer.log
export K4812_E2E_RUN=$work QT_QPA_PLATFORM=xcb
unset K4812_PROGRAM_DIR WAYLAND_DISPLAY
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number to the pipe.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 -u "$fd" display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$display

# A session bus for the accessibility bridge, when dbus is there.
run=()
command -v dbus-run-session >/dev/null && run=(dbus-run-session --)

"${run[@]}" "$bin/k4812-config" >"$work/config.log" 2>&1 &
config=$!
pids+=($config)
wait_for 200 window_mapped || fail "no window K4812_CONFIG: $(cat "$work/config.log")"
[ "$(config_windows)" -eq 1 ] || fail "more than one K4812_CONFIG window"
geometry=$(xdotool search --onlyvisible --name '^K4812_CONFIG' getwindowgeometry 2>/dev/null | grep Geometry)
echo "$geometry" | grep -q '850x655' || fail "window geometry: $geometry"

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
echo "PASS"
