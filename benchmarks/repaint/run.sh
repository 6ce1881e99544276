#!/usr/bin/env bash
# How long k4812-config's window takes to repaint after a pointer move, as a
# user sees it, during idle, an Apply, a profile switch, a mode switch,
# opening the macro manager (20 macros) and a language switch. The window runs
# on an Xvfb server of its own against the mouse emulator, in a home folder of
# its own; k4812-repaint-latency moves the pointer over the minimise button
# every 10 ms and times each move to the button's repaint (XTest + Damage).
# With --busy-disk a writer fills and syncs 64 MiB files in a loop beside the
# home folder, as a game update or a download would.
# Prints p50, p99 and the longest delay per phase.
# Usage: benchmarks/repaint/run.sh [--busy-disk] [BIN_DIR] [ROUNDS]
set -euo pipefail
busy=0
if [ "${1:-}" = "--busy-disk" ]; then busy=1; shift; fi
bin=$(cd "${1:-build/bin}" && pwd)
rounds=${2:-3}
probe=$bin/k4812-repaint-latency
[ -x "$probe" ] || { echo "no $probe (needs libxtst-dev and libxdamage-dev)" >&2; exit 1; }

work=$(mktemp -d)
# The runtime folder (the mouse's sequence lock) on tmpfs, as a desktop
# session's /run/user/UID is.
run=$(mktemp -d -p /dev/shm 2>/dev/null || { mkdir "$work/run" && echo "$work/run"; })
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work" "$run"
}
trap cleanup EXIT

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 20 -u "$fd" display
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$run XDG_DOCUMENTS_DIR=$work/home/Documents
export K4812_DEVICE=emulator:$work/mouse.state K4812_POINTER_SETTINGS=journal:$work/pointer.log
mkdir -p "$HOME" && chmod 0700 "$XDG_RUNTIME_DIR"
ctl() { "$bin/k4812ctl" "$@" >/dev/null; }

# Twenty macros in the current profile: each presses and releases A.
macro_file() {
  local name=$1 file=$2 i
  {
    printf '\x04\x00\x01\x00\x41\x00'        # key down, virtual key A
    printf '\x04\x00\x00\x00\x41\x00'        # key up
    head -c $((126 * 6)) /dev/zero
    printf '\x02\x00\x00\x00'                # two actions
    printf '\x00\x00\x01\x00\x00\x00\x00\x00' # no auto delay, loop 1, index 0, not in use
    for ((i = 0; i < ${#name}; i++)); do printf '%s\x00' "${name:i:1}"; done
    head -c $((100 - 2 * ${#name})) /dev/zero
    printf '\x03\x01\x00\x00'                # version 259
    head -c 8 /dev/zero                      # no errors
  } >"$file"
}
ctl profiles # creates the profile store
for ((m = 1; m <= 20; m++)); do
  macro_file "Macro$m" "$work/Macro$m.macro"
  ctl macro import "$work/Macro$m.macro"
done


if [ "$busy" -eq 1 ]; then
  (
    n=0
    while :; do
      dd if=/dev/zero of="$work/busy.$((n % 2))" bs=1M count=64 conv=fsync status=none
      n=$((n + 1))
    done
  ) &
  pids+=($!)
fi

# Window coordinates (src/app/MainWindowLayout.h): the minimise button is the
# control whose face the moves change; the empty top bar is "away".
target=740,22,35,35 away=600,40
# Entry 6 and its menu's rows (src/app/MainWindowLayout.h, src/app/buttons/ButtonMenus.cpp).
entry_x=24 entry_top=130 entry_pitch=38 entry_w=120 entry_h=33 menu_margin=4 menu_item_h=30 row_macro=10
# Sets sub_x, sub_y, sub_w to the first visible window of the program other
# than the main window and $1 (nothing: any).
find_other() {
  local id X Y WIDTH HEIGHT WINDOW SCREEN
  for id in $(other_windows); do
    [ "$id" = "${1:-}" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    found=$id sub_x=$X sub_y=$Y sub_w=$WIDTH
    return 0
  done
  return 1
}
open_macro_sub_list() {
  local menu i
  xdotool mousemove --sync $((main_x + entry_x + entry_w / 2)) \
    $((main_y + entry_top + 5 * entry_pitch + entry_h / 2)) click 1
  for ((i = 0; i < 50; i++)); do find_other && break; sleep 0.1; done
  menu=${found:-}
  [ -n "$menu" ] || return 1
  xdotool mousemove --sync $((sub_x + sub_w / 2)) $((sub_y + menu_margin + row_macro * menu_item_h + menu_item_h / 2))
  for ((i = 0; i < 50; i++)); do find_other "$menu" && return 0; sleep 0.1; done
  return 1
}
probe() { "$probe" --window "$window" --target "$target" --away "$away" "$@"; }
probe_in() { local w=$1; shift; "$probe" --window "$w" "$@"; }
# The help dialog (src/ui/dialogs/HelpDialog.cpp, 446x446): OK and an empty
# spot; its focus starts on OK, Shift+Tab puts it on the language list.
help_button=717,39 help_ok=326,402,96,30 help_away=223,30
open_help() {
  local i
  help= found=
  xdotool mousemove --sync $((main_x + ${help_button%,*})) $((main_y + ${help_button#*,})) click 1
  for ((i = 0; i < 50; i++)); do find_other && break; sleep 0.1; done
  help=${found:-} help_x=${sub_x:-0} help_y=${sub_y:-0}
  [ -n "$help" ] || return 1
  sleep 0.3
  xdotool key shift+Tab
  sleep 0.2
}
other_windows() { xdotool search --onlyvisible --classname '^k4812-config$' 2>/dev/null | grep -vx "$window" || true; }
# A key sent to a window that the key closes can stay pressed in the X server
# (xdotool sends the focused window's keys through XTest and does not get to
# the release). The server then repeats it for whatever window comes next: a
# stuck Escape closed every dialog and menu of the following rounds at once.
# So each key is also released on its own.
key_to() { # WINDOW KEY
  xdotool key --window "$1" "$2" 2>/dev/null || true
  xdotool keyup "$2" 2>/dev/null || true
}
close_others() {
  local id
  for id in $(other_windows); do key_to "$id" Escape; done
  sleep 0.3
  # The macro manager asks before it closes without saving: OK is Enter.
  for id in $(other_windows); do key_to "$id" Return; done
  sleep 0.3
}

# Each round starts the window afresh, in English, so that every round
# measures the same first uses (the other language's fonts, the macro
# manager's first paint) and what one round left open or focused cannot stop
# the next. Should a dialog or menu still not open, the phase says so.
start_window() {
  local i
  if [ -n "${config:-}" ]; then
    kill "$config" 2>/dev/null || true
    wait "$config" 2>/dev/null || true
  fi
  ctl language set 0 # every round switches from English to Simplified Chinese
  "$bin/k4812-config" >"$work/config.log" 2>&1 &
  config=$!
  pids+=($config)
  window=
  for ((i = 0; i < 200; i++)); do
    window=$(xdotool search --onlyvisible --name '^K4812_CONFIG' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the window did not appear: $(cat "$work/config.log")" >&2; exit 1; }
  sleep 1 # the first paint and the skin
  eval "$(xdotool getwindowgeometry --shell --prefix main_ "$window")"
  main_x=$main_X main_y=$main_Y
}

echo "k4812-config repaint delay after a pointer move ($( [ "$busy" -eq 1 ] && echo "disk busy" || echo "disk idle" ))"
for ((r = 1; r <= rounds; r++)); do
  start_window
  probe --label idle --duration 2000
  probe --label apply --duration 3000 --action 300:click:451,628
  probe --label profile-switch --duration 2500 --action 300:click:217,560
  probe --label mode-switch --duration 2500 --action 300:click:410,494
  probe --label mode-back --duration 2500 --action 300:click:260,494
  # The language as a user switches it: Help, then the next language in the
  # help dialog's list (Simplified Chinese), chosen with the
  # keyboard. The main window is behind the modal dialog, so the moves go
  # over the dialog's OK button, painted by the same thread.
  if open_help; then
    probe_in "$help" --label language --duration 2000 --target $help_ok --away $help_away \
             --action 300:key:Down
    # OK closes it (the focus is on the list, which keeps Escape from the dialog).
    xdotool mousemove --sync $((help_x + 374)) $((help_y + 417)) click 1
    sleep 0.3
  else
    echo "language         (the help dialog did not open)"
  fi
  close_others
  # Entry 6's menu and its "Macro" sub-list are opened first; the phase is
  # the click on "Macro Manager" until the manager's first paint.
  if open_macro_sub_list; then
    probe --label macro-manager --duration 4000 --until-window 760x520 \
          --action 0:click:$((sub_x - main_x + sub_w / 2)),$((sub_y - main_y + menu_margin + menu_item_h / 2))
  else
    echo "macro-manager    (the menu did not open)"
  fi
  close_others
done
