#!/usr/bin/env bash
# End-to-end test of k4812-config as a native Wayland client (QT_QPA_PLATFORM=wayland)
# on a headless sway of the test's own, against the mouse emulator:
#  - with no pointer device (a headless sway has none), applying a profile
#    through sway's back end (chosen by SWAYSOCK) says that the pointer
#    settings could not be set, rather than that they were;
#  - with a virtual pointer (VIRTUAL_POINTER, built by the tests): the wheel
#    lines reach sway (its scroll_factor, read back from get_inputs), and the
#    acceleration and pointer speed, which sway keeps for libinput devices
#    only, are reported as not set;
#  - the window maps as an xdg-shell window with the menu entry's name as its
#    app id (K4812_APP_ID, io.github.k4812.config unless set) and a title that
#    begins with "K4812_CONFIG";
#  - a screenshot of it (grim) is kept in ARTIFACT_DIR (default BIN_DIR/../e2e-artifacts)
#    for a person to look at;
#  - over AT-SPI (when at-spi2-core and pyatspi are there), with the virtual
#    pointer and keys typed by wtype:
#    - a click on entry 4 opens its menu as a popup right beside the entry and
#      centred on it, hovering "Macro" opens the sub-menu beside the menu,
#      level with the item (both found in grim screenshots; a screenshot of
#      the open menus is kept); Escape closes the sub-menu, a click elsewhere
#      the menu; the preset menu opens beside PRESET, the macro manager's
#      action tools menu right of the pointer on the action's row (found in
#      screenshots too), Escape closing each;
#    - the System Setting page's scroll speed reaches sway;
#    - "Single Key" + F5, Escape, Space or Enter + OK, and "Combo Key" + Ctrl+F5
#      (typed with wtype's modifiers) + OK, then Apply, put the keys into the
#      emulated mouse's button block, and the warning after it names
#      the acceleration and the pointer speed, which the virtual pointer
#      cannot take, with sway's reason (OK dismisses it);
#    - the help, message, fire and create-macro dialogs and the macro manager
#      open as focused windows centred where the main window is (screenshots kept);
#    - dragging the top bar moves the window (sway's tree), and its close
#      button ends the program;
#    without the pointer, entry 4's press action opens its menu and "Macro"
#    its sub-menu.
# Usage: wayland_e2e.sh BIN_DIR [ARTIFACT_DIR [VIRTUAL_POINTER]]. Needs sway, grim, wtype, jq,
# k4812ctl and Qt's Wayland platform plugin (qt6-wayland); exits with 77 (skipped) when sway is missing.
set -uo pipefail

bin=$(cd "${1:?usage: wayland_e2e.sh BIN_DIR [ARTIFACT_DIR [VIRTUAL_POINTER]]}" && pwd -P)
here=$(cd "$(dirname "$0")" && pwd -P)
artifacts=${2:-$bin/../e2e-artifacts}
virtual_pointer=${3:-}
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

# A pointer device: its actions are answered once sway has taken them.
if [ -n "$virtual_pointer" ]; then
  read -r out_w out_h < <(swaymsg -t get_outputs | jq -r '.[0].rect | "\(.width) \(.height)"')
  coproc pointer { "$virtual_pointer" "$out_w" "$out_h" 2>&1; }
  pids+=("$pointer_PID")
  read -r -t 20 -u "${pointer[0]}" reply && [ "$reply" = ready ] || fail "no virtual pointer: $reply"
  pointer() {
    echo "$*" >&"${pointer[1]}"
    read -r -t 20 -u "${pointer[0]}" reply && [ "$reply" = ok ] || fail "the virtual pointer did not $*: $reply"
  }

  # Wheel lines become sway's scroll factor on every pointer (lines / 3); sway
  # keeps the acceleration and pointer speed for libinput devices only, and the
  # virtual one is none: those two are named as not taken, the wheel lines not.
  status=0
  out=$(K4812_POINTER_SETTINGS=auto "$bin/k4812ctl" set --apply wheel-lines 6 2>&1) || status=$?
  factor=$(swaymsg -r -t get_inputs | jq -r 'first(.[] | select(.type == "pointer")) | .scroll_factor')
  [ "$factor" = 2 ] || fail "sway's scroll factor is $factor after 6 wheel lines, not 2: $out"
  [ "$status" -ne 0 ] && grep -qx 'The desktop did not take: acceleration, pointer speed.' <<<"$out" ||
    fail "on the virtual pointer (no libinput), not exactly acceleration and pointer speed were named (exit $status): $out"
fi

# A keyboard that stays: wtype's own exists only while it types, and a
# program binds a new keyboard only when sway announces it, by when wtype may
# have pressed its key already (the press is lost, the release arrives). With
# this one present from the start, the program's keyboard is there, and wtype's
# keys reach it in order, with wtype's keymap sent ahead of them.
wtype -s 3600000 &
pids+=($!)
has_keyboard() { swaymsg -r -t get_inputs | jq -e 'any(.[]; .type == "keyboard")' >/dev/null; }
wait_for 100 has_keyboard || fail "sway shows no keyboard for wtype"

# The window acts on sway too (chosen by SWAYSOCK).
export K4812_POINTER_SETTINGS=auto
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

[ -n "$atspi_ok" ] || { echo "PASS (without AT-SPI)"; exit 0; }
atspi() { "$python" "$here/atspi-client.py" "$config" "$@"; }
wait_for 100 atspi find "push button" '4\..*' || fail "entry 4 is not on the accessibility bus: $(cat "$work/config.log")"

if [ -z "$virtual_pointer" ]; then
  atspi do "push button" '4\..*' Press --announces "menu item" Backward >/dev/null ||
    fail "entry 4's press action opened no menu"
  atspi do "menu item" Macro Press --announces "popup menu" Macro >/dev/null || fail "\"Macro\" opened no sub-menu"
  atspi find "menu item" "Macro Manager" || fail "the sub-menu of \"Macro\" has no \"Macro Manager\""
  grim "$artifacts/wayland-menu.png" || fail "grim could not take the menu's screenshot"
  echo "screenshot: $(readlink -f "$artifacts/wayland-menu.png")"
  echo "PASS (without a pointer)"
  exit 0
fi

# Only sway knows where the window is; the program knows where its controls
# are inside it, and the screenshots show where its popups went.
read -r win_x win_y < <(jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"' <<<"$node")
read -r ex ey ew eh < <(atspi extents "push button" '4\..*') || fail "entry 4 has no extents"
ex=$((win_x + ex)) ey=$((win_y + ey))
# Polls (bounded) until a popup of $1 x $2 is in a new screenshot that was not in $3; sets popup_x, popup_y.
find_popup() {
  local shot=$work/shot-$RANDOM.ppm
  found_popup() {
    grim -t ppm "$shot" && read -r popup_x popup_y < <("$python" "$here/find-popup.py" "$3" "$shot" "$1" "$2")
  }
  popup_x= popup_y=
  wait_for 50 found_popup "$@" && [ -n "$popup_x" ] || fail "no popup of $1x$2 appeared on the screen"
  last_shot=$shot
}

grim -t ppm "$work/before.ppm" || fail "grim could not take a screenshot"
pointer move $((ex + ew / 2)) $((ey + eh / 2))
pointer click
atspi find "menu item" "Single Key" || fail "a click on entry 4 opened no menu"
read -r _ _ menu_w menu_h < <(atspi extents "popup menu" "Button Assignment") || fail "the menu has no extents"
read -r menu_qx menu_qy _ _ < <(atspi extents "popup menu" "Button Assignment")
find_popup "$menu_w" "$menu_h" "$work/before.ppm"
menu_x=$popup_x menu_y=$popup_y menu_shot=$last_shot
[ "$menu_x" -eq $((ex + ew)) ] ||
  fail "the menu opened at x $menu_x, not right beside entry 4 (its right edge is at $((ex + ew)))"
centre_gap=$(( (menu_y + menu_h / 2) - (ey + eh / 2) ))
[ "${centre_gap#-}" -le 2 ] || fail "the menu (y $menu_y, height $menu_h) is not centred on entry 4 (y $ey, height $eh)"

# The item's place in its list, from the program; the list's place, from the screen.
read -r rx ry rw rh < <(atspi extents "menu item" Macro) || fail "\"Macro\" has no extents"
row_x=$((menu_x + rx - menu_qx)) row_y=$((menu_y + ry - menu_qy))
# Entering a surface is no motion yet: a real pointer moves on over the item.
pointer move $((row_x + rw / 2 - 1)) $((row_y + rh / 2))
pointer move $((row_x + rw / 2)) $((row_y + rh / 2))
atspi find "menu item" "Macro Manager" || fail "hovering \"Macro\" opened no sub-menu"
read -r _ _ sub_w sub_h < <(atspi extents "popup menu" Macro) || fail "the sub-menu has no extents"
find_popup "$sub_w" "$sub_h" "$menu_shot"
[ "$popup_x" -eq $((menu_x + menu_w)) ] ||
  fail "the sub-menu opened at x $popup_x, not beside the menu (its right edge is at $((menu_x + menu_w)))"
[ "$popup_y" -le "$row_y" ] && [ "$popup_y" -ge $((row_y - 10)) ] ||
  fail "the sub-menu's top ($popup_y) is not level with \"Macro\" (y $row_y)"
grim "$artifacts/wayland-menu.png" || fail "grim could not take the menu's screenshot"
echo "screenshot: $(readlink -f "$artifacts/wayland-menu.png")"

# Escape closes the innermost list, and a click elsewhere in the window the rest.
wtype -k Escape || fail "wtype could not type Escape"
atspi gone "menu item" "Macro Manager" || fail "Escape did not close the sub-menu"
atspi find "menu item" "Single Key" || fail "Escape closed more than the sub-menu"
pointer move $((win_x + 20)) $((win_y + 620))
pointer click
atspi gone "menu item" "Single Key" || fail "a click outside did not close the menu"

# The preset menu opens beside the PRESET button, over its height, and Escape closes it.
read -r px py pw ph < <(atspi extents "push button" PRESET) || fail "no PRESET button"
px=$((win_x + px)) py=$((win_y + py))
grim -t ppm "$work/no-preset-menu.ppm" || fail "grim could not take a screenshot"
pointer move $((px + pw / 2 - 1)) $((py + ph / 2))
pointer move $((px + pw / 2)) $((py + ph / 2))
pointer click
atspi find "popup menu" PRESET || fail "a click on PRESET opened no menu"
read -r _ _ pm_w pm_h < <(atspi extents "popup menu" PRESET) || fail "the preset menu has no extents"
find_popup "$pm_w" "$pm_h" "$work/no-preset-menu.ppm"
[ "$popup_x" -eq $((px + pw)) ] && [ "$popup_y" -le "$py" ] && [ $((popup_y + pm_h)) -ge $((py + ph)) ] ||
  fail "the preset menu (at $popup_x,$popup_y, ${pm_w}x$pm_h) is not beside PRESET (at $px,$py, ${pw}x$ph)"
grim "$artifacts/wayland-preset-menu.png" || fail "grim could not take the preset menu's screenshot"
echo "screenshot: $(readlink -f "$artifacts/wayland-preset-menu.png")"
wtype -k Escape || fail "wtype could not type Escape"
atspi gone "popup menu" PRESET || fail "Escape did not close the preset menu"

# The System Setting page reaches sway: the scroll speed (9 lines a notch) as
# its scroll factor (3), once the page's short wait after a change is over.
# The pointer speed, which the virtual pointer cannot take, is named in the
# warning after Apply (below).
read -r tx ty tw th < <(atspi extents "page tab" "System Setting") || fail "no System Setting tab"
pointer move $((win_x + tx + tw / 2)) $((win_y + ty + th / 2))
pointer click
atspi find "radio button" "Scroll Speed" || fail "the System Setting page did not open"
read -r tx ty tw th < <(atspi extents "radio button" "Scroll Speed")
pointer move $((win_x + tx + tw / 2)) $((win_y + ty + th / 2))
pointer click
atspi find "radio button" "Scroll Speed" checked || fail "a click on \"Scroll Speed\" did not choose it"
atspi set slider "Scroll Speed" 9 || fail "the scroll speed could not be set"
scroll_factor_is() { [ "$(swaymsg -r -t get_inputs | jq -r 'first(.[] | select(.type == "pointer")) | .scroll_factor')" = "$1" ]; }
wait_for 50 scroll_factor_is 3 || fail "9 lines on the System Setting page did not become sway's scroll factor 3"
# 12: the profile keeps 15 from k4812ctl above, and an unchanged value does nothing.
atspi set slider "Pointer Speed" 12 || fail "the pointer speed could not be set"

# Key capture: "Single Key" from an entry's menu opens the key dialog, which
# sway focuses; keys typed with wtype (a virtual keyboard of its own keymap)
# are recorded, Escape, Enter and Space as keys too; OK, then Apply, writes
# them to the mouse's button block as on X11 (code 0x10, the key's usage).
button_record() {
  "$bin/k4812ctl" --device="$K4812_DEVICE" emulator show --json 2>/dev/null |
    jq -c --argjson n "$1" '.banks[0].buttons[] | select(.windowButton == $n) | [.code] + .parameters'
}
record_is() { [ "$(button_record "$1")" = "$2" ]; }
# The key dialog's node in sway's tree (its title begins with $key_title), once it is there and has the focus.
key_title="Edit Single Key"
key_dialog() {
  swaymsg -t get_tree | jq -c --arg t "$key_title" 'first(.. | objects | select(.name? // "" | startswith($t)))'
}
key_dialog_focused() { dialog=$(key_dialog); [ "$(jq -r .focused <<<"$dialog")" = true ]; }
no_key_dialog() { [ "$(key_dialog)" = null ] || [ -z "$(key_dialog)" ]; }
# Clicks on $1 $2 (role, name) of the window whose top-left corner sway has at
# $3 $4 and the program at $5 $6, inside the program's object $7 $8 when given.
# The main window's menus stand where the program put them (checked above).
click_control() {
  local scope=() x y w h
  [ $# -gt 6 ] && scope=(--in "$7" "$8")
  read -r x y w h < <(atspi "${scope[@]}" extents "$1" "$2") || fail "no $1 \"$2\" to click"
  pointer move $(($3 + x - $5 + w / 2 - 1)) $(($4 + y - $6 + h / 2))
  pointer move $(($3 + x - $5 + w / 2)) $(($4 + y - $6 + h / 2))
  pointer click
}
# Entry $1's menu item $2 ("Single Key" or "Combo Key"), wtype's arguments
# after them typed into its dialog, then OK.
set_key() {
  local entry=$1 item=$2 dx dy qx qy
  shift 2
  key_title="Edit $item"
  click_control "push button" "$entry\\..*" "$win_x" "$win_y" 0 0
  atspi find "menu item" "$item" || fail "a click on entry $entry opened no menu"
  click_control "menu item" "$item" "$win_x" "$win_y" 0 0
  wait_for 100 key_dialog_focused || fail "\"$item\" of entry $entry opened no focused key dialog: $(key_dialog)"
  wtype "$@" || fail "wtype could not type $*"
  ! no_key_dialog || fail "$* closed the key dialog instead of being recorded"
  read -r dx dy < <(jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"' <<<"$dialog")
  read -r qx qy _ _ < <(atspi extents dialog "$key_title.*") || fail "the key dialog is not on the accessibility bus"
  click_control "push button" OK "$dx" "$dy" "$qx" "$qy" dialog "$key_title.*"
  wait_for 100 no_key_dialog || fail "OK did not close the key dialog"
}
set_single_key() { set_key "$1" "Single Key" -k "$2"; }
set_single_key 4 F5
set_single_key 5 Escape
set_single_key 3 space
set_single_key 6 Return
# A combination: Ctrl held (wtype's modifier) while F5 goes down and up. wtype
# puts every key on the Escape key's code with a keymap of its own; a letter
# there is recorded as Escape (a printing key keeps its place), so the test
# combines a named key.
set_key 7 "Combo Key" -M ctrl -k F5 -m ctrl
click_control "push button" Apply "$win_x" "$win_y" 0 0
wait_for 100 record_is 4 '[16,0,62,0]' || fail "button 4 holds $(button_record 4), not the single key F5 [16,0,62,0]"
record_is 5 '[16,0,41,0]' || fail "button 5 holds $(button_record 5), not the single key Escape [16,0,41,0]"
record_is 3 '[16,0,44,0]' || fail "button 3 holds $(button_record 3), not the single key Space [16,0,44,0]"
record_is 6 '[16,0,40,0]' || fail "button 6 holds $(button_record 6), not the single key Enter [16,0,40,0]"
# Combination: code 0x0F, HID modifier Ctrl (1), usage of F5 (0x3E), no second key.
record_is 7 '[15,1,62,0]' || fail "button 7 holds $(button_record 7), not the combination Ctrl+F5 [15,1,62,0]"

# The desktop's part of that Apply: sway keeps the acceleration and the
# pointer speed for libinput devices only, so the window names both in its
# warning, with sway's reason, once the apply has ended; OK dismisses it.
notice="The desktop did not take these pointer settings: acceleration, pointer speed\\."
atspi --in dialog Warning find label "$notice" ||
  fail "after Apply, no warning named the acceleration and the pointer speed: $(cat "$work/config.log")"
atspi --in dialog Warning find label "(?s).*pointer speed: no pointer device reports its accel_speed.*" ||
  fail "the warning does not give sway's reason for the pointer speed"
warning_mapped() {
  warning=$(swaymsg -t get_tree | jq -c 'first(.. | objects | select((.name? // "") | startswith("Warning")))')
  [ -n "$warning" ] && [ "$warning" != null ]
}
wait_for 100 warning_mapped || fail "sway shows no window \"Warning\""
sway_shot "$warning" "$artifacts/wayland-dialog-pointer-settings.png"
echo "screenshot: $(readlink -f "$artifacts/wayland-dialog-pointer-settings.png")"
atspi --in dialog Warning do "push button" OK Press || fail "the pointer settings warning has no OK"
atspi gone dialog Warning || fail "OK did not close the pointer settings warning"

# Dialogs: each is a window of its own, transient for the window that opened
# it (xdg_toplevel.set_parent, which sway's tree does not show), and sway
# focuses it. sway places floating windows centred on the output, as the
# program placed its main window, so each dialog stands centred on it there
# (a desktop that places dialogs over their parent does the same wherever the
# window is). A screenshot of each is kept; Escape closes each.
node_titled() {
  swaymsg -t get_tree | jq -c --arg t "$1" 'first(.. | objects | select((.name? // "") | startswith($t)))'
}
titled_focused() { opened=$(node_titled "$1"); [ "$(jq -r .focused <<<"$opened")" = true ]; }
titled_gone() { [ "$(node_titled "$1")" = null ] || [ -z "$(node_titled "$1")" ]; }
read -r main_cx main_cy < <(jq -r '.rect | "\(.x * 2 + .width) \(.y * 2 + .height)"' <<<"$node")
# $1: the title's start, $2: the screenshot's name; sets `opened` to its node.
check_dialog() {
  local cx cy
  wait_for 100 titled_focused "$1" || fail "no focused window \"$1\" opened: $(node_titled "$1")"
  read -r cx cy < <(jq -r '.rect | "\(.x * 2 + .width) \(.y * 2 + .height)"' <<<"$opened")
  gap_x=$((cx - main_cx)) gap_y=$((cy - main_cy))
  [ "${gap_x#-}" -le 2 ] && [ "${gap_y#-}" -le 2 ] || fail "\"$1\" is not centred on the main window: $opened"
  sway_shot "$opened" "$artifacts/wayland-dialog-$2.png"
  echo "screenshot: $(readlink -f "$artifacts/wayland-dialog-$2.png")"
}
close_with_escape() {
  wtype -k Escape || fail "wtype could not type Escape"
  wait_for 100 titled_gone "$1" || fail "Escape did not close \"$1\""
}
click_control "push button" Help "$win_x" "$win_y" 0 0
check_dialog "INFO" help
close_with_escape "INFO"
click_control "push button" "Reset All" "$win_x" "$win_y" 0 0
check_dialog "Reset This Profile" message
close_with_escape "Reset This Profile"
click_control "push button" "7\\..*" "$win_x" "$win_y" 0 0
click_control "menu item" "Fire Key.*" "$win_x" "$win_y" 0 0
check_dialog "Fire Settings" fire
close_with_escape "Fire Settings"
click_control "push button" "7\\..*" "$win_x" "$win_y" 0 0
click_control "menu item" "Macro" "$win_x" "$win_y" 0 0
atspi find "menu item" "Macro Manager" || fail "\"Macro\" of entry 7 opened no sub-menu"
click_control "menu item" "Macro Manager" "$win_x" "$win_y" 0 0
check_dialog "Macro Manager" macro-manager
read -r mm_x mm_y < <(jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"' <<<"$opened")
read -r mm_qx mm_qy _ _ < <(atspi extents dialog "Macro Manager.*") || fail "the macro manager is not on the accessibility bus"
click_control "push button" New "$mm_x" "$mm_y" "$mm_qx" "$mm_qy" dialog "Macro Manager.*"
check_dialog "Create macro" create-macro
close_with_escape "Create macro"
wait_for 100 titled_focused "Macro Manager" || fail "the macro manager did not get the focus back"
# The macro manager's action tools menu: a macro "m1" with a recorded key
# (F5 down and up), a click on its first action and a right click there open the
# menu as a popup right of the pointer, its top on the action's row.
in_manager=(dialog "Macro Manager.*")
click_control "push button" New "$mm_x" "$mm_y" "$mm_qx" "$mm_qy" "${in_manager[@]}"
wait_for 100 titled_focused "Create macro" || fail "\"New\" opened no focused dialog"
wtype m1 || fail "wtype could not type the macro's name"
read -r cdx cdy < <(jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"' <<<"$opened")
read -r cqx cqy _ _ < <(atspi extents dialog "Create macro.*") || fail "the create-macro dialog is not on the accessibility bus"
click_control "push button" OK "$cdx" "$cdy" "$cqx" "$cqy" dialog "Create macro.*"
wait_for 100 titled_gone "Create macro" || fail "OK did not close the create-macro dialog"
atspi --in "${in_manager[@]}" find "list item" m1 || fail "the macro m1 is not in the manager's list"
click_control "push button" "Start recording" "$mm_x" "$mm_y" "$mm_qx" "$mm_qy" "${in_manager[@]}"
atspi --in "${in_manager[@]}" find "push button" "Stop recording" enabled || fail "the recording did not start"
wtype -k F5 || fail "wtype could not type F5"
atspi --in list "Macro Action Editor:" find "list item" ".*F5.*" || fail "the recording did not take F5"
click_control "push button" "Stop recording" "$mm_x" "$mm_y" "$mm_qx" "$mm_qy" "${in_manager[@]}"
atspi --in "${in_manager[@]}" find "push button" "Start recording" enabled || fail "the recording did not stop"
read -r lx ly _ _ < <(atspi --in "${in_manager[@]}" extents list "Macro Action Editor:") || fail "no action list"
click_x=$((mm_x + lx - mm_qx + 40)) click_y=$((mm_y + ly - mm_qy + 10))
grim -t ppm "$work/no-action-menu.ppm" || fail "grim could not take a screenshot"
pointer move "$click_x" "$click_y"
pointer click
pointer rclick
atspi find "menu item" "Insert Actions" || fail "a right click on an action opened no action tools menu"
# The pointer, drawn into the screenshots, leaves the menu's left edge.
pointer move $((click_x - 60)) "$click_y"
read -r _ _ am_w am_h < <(atspi extents "popup menu" "Macro Action Editor:") || fail "the action tools menu has no extents"
find_popup "$am_w" "$am_h" "$work/no-action-menu.ppm"
[ "$popup_x" -eq $((click_x + 1)) ] && [ "$popup_y" -le "$click_y" ] && [ "$popup_y" -gt $((click_y - 30)) ] ||
  fail "the action tools menu opened at $popup_x,$popup_y, not right of the pointer at $click_x,$click_y on its row"
grim "$artifacts/wayland-action-menu.png" || fail "grim could not take the action menu's screenshot"
echo "screenshot: $(readlink -f "$artifacts/wayland-action-menu.png")"
wtype -k Escape || fail "wtype could not type Escape"
atspi gone "menu item" "Insert Actions" || fail "Escape did not close the action tools menu"
# The macro manager keeps Escape for its recordings; its close button closes it.
click_control "push button" Close "$mm_x" "$mm_y" "$mm_qx" "$mm_qy" "${in_manager[@]}"
wait_for 100 titled_gone "Macro Manager" || fail "the macro manager's close button did not close it"

# Dragging the top bar moves the window: the program hands the drag to sway
# (an interactive move) on the first motion, and sway moves the window with
# the pointer from where the pointer was then. The program answers events in
# its own time, so the pointer creeps right until the window follows, then
# goes 50 down: the window must end exactly 50 lower, and right by the
# distance the pointer went after the hand-over.
read -r rect_x rect_y < <(sway_window "$app_id" | jq -r '"\(.rect.x) \(.rect.y)"')
window_at() { read -r now_x now_y < <(sway_window "$app_id" | jq -r '"\(.rect.x) \(.rect.y)"'); }
pointer move $((win_x + 200)) $((win_y + 40))
pointer press
step=0
drag_follows() {
  step=$((step + 1))
  pointer move $((win_x + 200 + step)) $((win_y + 40))
  window_at
  [ "$now_x" -ne "$rect_x" ]
}
wait_for 50 drag_follows || fail "dragging the top bar did not move the window"
pointer move $((win_x + 300)) $((win_y + 90))
pointer release
window_at
[ "$now_y" -eq $((rect_y + 50)) ] && [ "$now_x" -le $((rect_x + 100)) ] && [ "$now_x" -ge $((rect_x + 100 - step)) ] ||
  fail "dragging the top bar by 100,50 moved the window from $rect_x,$rect_y to $now_x,$now_y"

# The top bar's close button ends the program (sway has no minimised state
# to check: it ignores the request).
read -r cx cy cw ch < <(atspi extents "push button" Close) || fail "the close button has no extents"
pointer move $((now_x + cx + cw / 2)) $((now_y + cy + ch / 2))
pointer click
wait_for 100 config_ended || fail "the close button did not end the program"
echo "PASS"
