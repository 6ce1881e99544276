#!/usr/bin/env bash
# End-to-end test of k4812-config as a native Wayland client (QT_QPA_PLATFORM=wayland)
# on a headless sway of the test's own, against the mouse emulator:
#  - the window maps as an xdg-shell window with the menu entry's name as its
#    app id (K4812_APP_ID, io.github.k4812.config unless set) and a title that
#    begins with "K4812_CONFIG";
#  - a screenshot of it (grim) is kept in ARTIFACT_DIR (default BIN_DIR/../e2e-artifacts)
#    for a person to look at.
# Usage: wayland_e2e.sh BIN_DIR [ARTIFACT_DIR]. Needs sway, grim, jq and Qt's
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

dbus-run-session -- "$bin/k4812-config" >"$work/config.log" 2>&1 &
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
echo "PASS"
