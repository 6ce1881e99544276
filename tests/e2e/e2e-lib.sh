# Shared parts of the end-to-end tests (sourced, not run): a temporary folder
# for everything the programs write, an X server of the test's own (Xvfb, on
# a display number it picks itself), the programs started on it, and waits
# that poll for a condition up to a bound.
# The sourcing script sets `bin` (the program folder) first, then calls
# e2e_setup and e2e_start_xvfb. Needs xvfb, xdotool, x11-utils (scripts/install-deps.sh).

work=$(mktemp -d)
pids=()
# Programs started on demand by a bus of the test's own (full paths), ended with it.
helpers=()

e2e_cleanup() {
  local pid exe
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  # What the programs started in turn (found by this test's folder in their environment).
  for pid in $(run_pids "$bin/k4812-config") $(monitor_pids) $(run_pids "$(readlink -f "$(command -v dbus-daemon)")"); do
    kill "$pid" 2>/dev/null
  done
  for exe in "${helpers[@]}"; do
    for pid in $(run_pids "$exe"); do kill "$pid" 2>/dev/null; done
  done
  wait 2>/dev/null
  rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1 i; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The processes of program $1 (a full path) that this test started.
run_pids() {
  local exe pid
  for exe in /proc/[0-9]*/exe; do
    pid=${exe#/proc/}; pid=${pid%/exe}
    [ -n "$1" ] && [ "$(readlink "$exe" 2>/dev/null)" = "$1" ] || continue
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "K4812_E2E_RUN=$work" && echo "$pid"
  done
}
monitor_pids() { run_pids "$bin/REvo2"; }

# Nothing of the user's: home, XDG folders, runtime folder, pointer settings;
# the mouse is the emulator with its state in $work/mouse.state.
e2e_setup() {
  export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
  export XDG_STATE_HOME=$work/home/.local/state XDG_CACHE_HOME=$work/home/.cache
  export XDG_RUNTIME_DIR=$work/run XDG_DOCUMENTS_DIR=$work/home/Documents
  export K4812_DEVICE=emulator:$work/mouse.state K4812_POINTER_SETTINGS=journal:$work/pointer.log
  export K4812_E2E_RUN=$work QT_QPA_PLATFORM=xcb
  unset K4812_PROGRAM_DIR WAYLAND_DISPLAY
  mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
}

# The AT-SPI pieces the accessibility checks need; exits 77 (skipped) when one
# is missing. Sets $python (Debian's, where pyatspi lives: a python earlier on
# PATH may lack gi) and $launcher (the accessibility bus launcher).
e2e_require_atspi() {
  python=/usr/bin/python3
  launcher=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.a11y.Bus.service 2>/dev/null)
  command -v dbus-daemon >/dev/null || { echo "SKIP: no dbus-daemon"; exit 77; }
  [ -n "$launcher" ] && [ -x "$launcher" ] || { echo "SKIP: no AT-SPI bus launcher (at-spi2-core)"; exit 77; }
  "$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: no pyatspi for $python (python3-pyatspi)"; exit 77; }
}

# Starts Xvfb on a free display (it writes the number to the pipe) and exports DISPLAY.
e2e_start_xvfb() {
  local fd display
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  pids+=($xvfb)
  read -r -t 20 -u "$fd" display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$display
}

# Starts openbox, a window manager that keeps _NET_ACTIVE_WINDOW and brings
# windows forward when asked. It now and then gives up on a display that has
# just come up, so it gets up to three tries.
e2e_start_openbox() {
  local try
  display_up() { xdpyinfo >/dev/null 2>&1; }
  wait_for 100 display_up || fail "the X server does not answer"
  wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  for try in 1 2 3; do
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_for 100 wm_running && return 0
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

# For a failure message: whether the test's X server still runs, and its last words.
x_server_state() {
  [ -n "${xvfb:-}" ] || return 0
  printf '\n(the X server on %s %s; its log ends: %s)' "$DISPLAY" \
    "$(kill -0 "$xvfb" 2>/dev/null && echo "runs" || echo "has ended")" "$(tail -n 3 "$work/xvfb.log" 2>/dev/null)"
}

# `xdotool search "$@"`, asked again when a window ended during its walk: the
# toolkit makes and ends short-lived windows of its own (menus, a cursor's
# probe after the first frame), and xdotool then dies of an X error having
# listed nothing, which would read as "no such window".
x_search() {
  local try out err=$work/x-search.$BASHPID
  for ((try = 0; try < 20; try++)); do
    out=$(xdotool search "$@" 2>"$err")
    if ! grep -q '^X Error' "$err"; then
      rm -f "$err"
      [ -z "$out" ] || echo "$out"
      return 0
    fi
  done
  rm -f "$err"
  return 1
}

config_windows() { x_search --onlyvisible --name '^K4812_CONFIG' | wc -l; }
window_mapped() { [ "$(config_windows)" -ge 1 ]; }
config_ended() { ! kill -0 "$config" 2>/dev/null; }

# A session bus of the test's own, shared by k4812-config and the test's
# assistive-technology client; the accessibility bus launcher (at-spi2-core)
# is started by it when Qt asks for the accessibility bus. $1: the launcher's path.
e2e_start_session_bus() {
  local address
  helpers+=("$1" "$(dirname "$1")/at-spi2-registryd")
  address=$(dbus-daemon --session --fork --print-address=1) || fail "the session bus did not start"
  export DBUS_SESSION_BUS_ADDRESS=$address
  own_bus=1
}

# Starts k4812-config (on a session bus for the accessibility bridge when
# dbus is there), sets `config` to its process and waits for its window.
e2e_start_config() {
  local run=()
  [ -z "${own_bus:-}" ] && command -v dbus-run-session >/dev/null && run=(dbus-run-session --)
  "${run[@]}" "$bin/k4812-config" >"$work/config.log" 2>&1 &
  config=$!
  pids+=($config)
  wait_for 200 window_mapped || fail "no window K4812_CONFIG: $(cat "$work/config.log")$(x_server_state)"
}

# Sets main to k4812-config's window and main_x, main_y, main_w, main_h to its
# place and size, once both can be read.
main_found() {
  local X Y WIDTH HEIGHT WINDOW SCREEN geometry
  main=$(x_search --onlyvisible --name '^K4812_CONFIG' | head -n 1)
  [ -n "$main" ] && geometry=$(xdotool getwindowgeometry --shell "$main" 2>/dev/null) || return 1
  eval "$geometry"
  main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
}
find_main_window() {
  wait_for 100 main_found || fail "k4812-config's window cannot be found: $(cat "$work/config.log")$(x_server_state)"
}

# k4812-config's visible top-level windows other than $main (menus, dialogs):
# sets wid, wx, wy, ww and wh to the first one for which "$@" holds (nothing: any).
other_window() {
  local id X Y WIDTH HEIGHT WINDOW SCREEN
  for id in $(x_search --onlyvisible --classname '^k4812-config$'); do
    [ "$id" = "$main" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    wid=$id wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
    [ $# -eq 0 ] || "$@" || continue
    return 0
  done
  return 1
}
