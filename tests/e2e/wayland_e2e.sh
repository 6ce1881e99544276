#!/usr/bin/env bash
# End-to-end test of k4812-config as a native Wayland client (QT_QPA_PLATFORM=wayland)
# on a headless sway of the test's own, against the mouse emulator:
#  - with no pointer device (a headless sway has none), applying a profile
#    through sway's back end (chosen by SWAYSOCK) says that the pointer
#    settings could not be set, rather than that they were;
#  - the window maps as an xdg-shell window with the menu entry's name as its
#    app id (K4812_APP_ID, io.github.k4812.config unless set) and a title that
#    begins with "K4812_CONFIG";
#  - a screenshot of it (grim) is kept in ARTIFACT_DIR (default BIN_DIR/../e2e-artifacts)
#    for a person to look at;
#  - over AT-SPI (when at-spi2-core and pyatspi are there): entry 4's press
#    action opens its menu and "Macro" its sub-menu, as popups the compositor
#    shows (a screenshot of the whole output is kept too).
# Usage: wayland_e2e.sh BIN_DIR [ARTIFACT_DIR]. Needs sway, grim, jq, k4812ctl and Qt's
# Wayland platform plugin (qt6-wayland); exits with 77 (skipped) when sway is missing.
set -uo pipefail

bin=$(cd "${1:?usage: wayland_e2e.sh BIN_DIR [ARTIFACT_DIR]}" && pwd -P)
here=$(cd "$(dirname "$0")" && pwd -P)
artifacts=${2:-$bin/../e2e-artifacts}
skip() { echo "SKIP: $*"; exit 77; }
command -v sway >/dev/null || skip "no sway"

source "$here/e2e-lib.sh"
source "$here/sway-lib.sh"

e2e_setup
sway_start
export QT_QPA_PLATFORM=wayland
unset DISPLAY
app_id=${K4812_APP_ID:-io.github.k4812.config}

status=0
out=$(K4812_POINTER_SETTINGS=auto "$bin/k4812ctl" set --apply pointer-speed 15 2>&1) || status=$?
[ "$status" -ne 0 ] && grep -q 'The desktop did not take: .*pointer speed' <<<"$out" ||
  fail "with no pointer device, k4812ctl did not fail naming the pointer speed (exit $status): $out"
grep -q 'Pointer settings (sway): no pointer device reports its accel_speed, so the pointer speed could not be set' <<<"$out" ||
  fail "with no pointer device, sway's back end did not say the pointer speed could not be set: $out"

python=/usr/bin/python3
launcher=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.a11y.Bus.service 2>/dev/null)
atspi_ok=
if [ -n "$launcher" ] && [ -x "$launcher" ] && "$python" -c 'import pyatspi' 2>/dev/null; then
  atspi_ok=1
  e2e_start_session_bus "$launcher"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  "$bin/k4812-config" >"$work/config.log" 2>&1 &
else
  dbus-run-session -- "$bin/k4812-config" >"$work/config.log" 2>&1 &
fi
config=$!
pids+=($config)
config_mapped() { [ -n "$(sway_window "$app_id")" ]; }
wait_for 200 config_mapped || fail "no window with app id $app_id: $(cat "$work/config.log")"

node=$(sway_window "$app_id")
title=$(jq -r .name <<<"$node")
[[ $title == K4812_CONFIG* ]] || fail "the window's title \"$title\" does not begin with K4812_CONFIG"
[ "$(jq -r .shell <<<"$node")" = "xdg_shell" ] || fail "the window is not a native Wayland one: $node"

mkdir -p "$artifacts"
sway_shot "$node" "$artifacts/wayland-main.png"
echo "screenshot: $(readlink -f "$artifacts/wayland-main.png")"

if [ -n "$atspi_ok" ]; then
  atspi() { "$python" "$here/atspi-client.py" "$config" "$@"; }
  wait_for 100 atspi find "push button" '4\..*' || fail "entry 4 is not on the accessibility bus: $(cat "$work/config.log")"
  atspi do "push button" '4\..*' Press --announces "menu item" Backward >/dev/null ||
    fail "entry 4's press action opened no menu"
  atspi do "menu item" Macro Press --announces "popup menu" Macro >/dev/null || fail "\"Macro\" opened no sub-menu"
  atspi find "menu item" "Macro Manager" || fail "the sub-menu of \"Macro\" has no \"Macro Manager\""
  grim "$artifacts/wayland-menu.png" || fail "grim could not take the menu's screenshot"
  echo "screenshot: $(readlink -f "$artifacts/wayland-menu.png")"
fi
echo "PASS"
