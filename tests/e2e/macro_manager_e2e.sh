#!/usr/bin/env bash
# End-to-end test of the macro manager with real input on an X server of the
# test's own (Xvfb), against the mouse emulator: entry 6's menu, "Macro" ->
# "Macro Manager"; New, the name "Reload", OK; record R held down for 1.2 s
# (long enough for the X server to auto-repeat it) and released, stop, OK; entry 6's menu again, "Macro" -> "Macro<Reload>",
# Apply. The mouse's button 6 then holds the macro: its block has R going down
# and up once (usage 0x15), however often the key repeated, and Reload.macro
# lies in the profile's macro folder.
# With K4812_NO_XKB_DETECTABLE_REPEAT=1 the X server sends the repeats as
# release-press pairs, and the hook library's pairing of them is what keeps
# the recording to one press and one release.
# Clicks land where the window's own layout puts its controls (below); the
# result is read back with k4812ctl.
# Usage: macro_manager_e2e.sh BIN_DIR. Needs xvfb, xdotool, x11-utils, jq (scripts/install-deps.sh).
set -uo pipefail

bin=$(cd "${1:?usage: macro_manager_e2e.sh BIN_DIR}" && pwd -P)
source "$(dirname "$0")/e2e-lib.sh"

# Where the controls sit, in window coordinates (src/app/MainWindowLayout.h,
# src/app/buttons/ButtonMenus.cpp, src/app/dialogs/KeyDialogFrame.cpp,
# src/app/macro/TFrmMacro.cpp).
entry_x=24 entry_top=130 entry_pitch=38 entry_w=120 entry_h=33   # entry n at entry_top + (n-1) * pitch
menu_margin=4 menu_item_h=30                                      # menu rows, top-level list and sub-lists
row_macro=10                                                      # "Macro" (an extender) in the button menu
sub_row_manager=0 sub_row_first_macro=1                           # its sub-list: "Macro Manager", then the macros
apply_x=401 apply_y=612 button_w=100 button_h=33                  # "Apply" in the bottom bar
dialog_w=446 dialog_h=230 dialog_ok_x=119 dialog_ok_y=184 dialog_ok_w=96 dialog_ok_h=30
manager_w=760 manager_h=520
new_x=20 new_y=432 new_w=80 new_h=30                              # "New" under the macro list
record_x=450 stop_x=496 record_y=410 record_size=40               # start and stop record buttons
manager_ok_x=642 manager_ok_y=472 manager_ok_w=96 manager_ok_h=30

is_dialog() { [ "$ww" -eq "$dialog_w" ] && [ "$wh" -eq "$dialog_h" ]; }
is_manager() { [ "$ww" -eq "$manager_w" ] && [ "$wh" -eq "$manager_h" ]; }
no_dialog() { ! other_window is_dialog; }
no_manager() { ! other_window is_manager; }
beside_entry() { [ "$wx" -eq $((main_x + entry_x + entry_w)) ]; }
# A sub-list: a menu window other than the top-level one, with no other role.
is_sub_menu() { [ "$wid" != "$menu" ] && ! is_dialog && ! is_manager; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

click_at() { xdotool mousemove --sync "$1" "$2" click 1; }
# Clicks the control at $1,$2 (size $3 x $4) of the window last found.
click_control() { click_at $((wx + $1 + $3 / 2)) $((wy + $2 + $4 / 2)); }

# Opens entry $1's menu, hovers "Macro" and clicks row $2 of its sub-list.
choose_macro_row() {
  local entry=$1 row=$2
  click_at $((main_x + entry_x + entry_w / 2)) \
           $((main_y + entry_top + (entry - 1) * entry_pitch + entry_h / 2))
  wait_for 100 other_window beside_entry || fail "entry $entry opened no menu beside itself"
  menu=$wid
  xdotool mousemove --sync $((wx + ww / 2)) $((wy + menu_margin + row_macro * menu_item_h + menu_item_h / 2))
  wait_for 100 other_window is_sub_menu || fail "hovering \"Macro\" opened no sub-list"
  click_control 0 $((menu_margin + row * menu_item_h)) "$ww" "$menu_item_h"
}

# The emulated mouse's state, bank 0, as JSON.
bank0() { "$bin/k4812ctl" --device="$K4812_DEVICE" emulator show --json 2>/dev/null | jq -c '.banks[0]'; }

e2e_setup
e2e_start_xvfb
e2e_start_config
find_main_window

choose_macro_row 6 "$sub_row_manager"
wait_for 100 other_window is_manager || fail "\"Macro Manager\" opened no manager: $(cat "$work/config.log")"
manager=$wid manager_x=$wx manager_y=$wy

# New: the create dialog takes the name.
click_control "$new_x" "$new_y" "$new_w" "$new_h"
wait_for 100 other_window is_dialog || fail "New opened no create dialog"
wait_for 100 has_focus "$wid" || fail "the create dialog did not take the keyboard focus"
xdotool type Reload
click_control "$dialog_ok_x" "$dialog_ok_y" "$dialog_ok_w" "$dialog_ok_h"
wait_for 100 no_dialog || fail "OK did not close the create dialog"

# Record R held down (the user's hold, past the X server's repeat delay) and
# released; the manager holds the keyboard.
wid=$manager wx=$manager_x wy=$manager_y
wait_for 100 has_focus "$manager" || fail "the manager did not take the keyboard focus back"
click_control "$record_x" "$record_y" "$record_size" "$record_size"
xdotool keydown r sleep 1.2 keyup r
click_control "$stop_x" "$record_y" "$record_size" "$record_size"
click_control "$manager_ok_x" "$manager_ok_y" "$manager_ok_w" "$manager_ok_h"
wait_for 100 no_manager || fail "OK did not close the manager"

# Button 6 gets the new macro; Apply sends it to the mouse.
choose_macro_row 6 "$sub_row_first_macro"
wait_for 100 eval '! other_window' || fail "choosing \"Macro<Reload>\" left a menu open"
wx=$main_x wy=$main_y
click_control "$apply_x" "$apply_y" "$button_w" "$button_h"

# Button 6's macro block: its key actions as [usage, state] pairs, in order.
macro_keys() {
  bank0 | jq -c '(.buttons[] | select(.windowButton == 6) | .macroBlock) as $b
    | [.macros[] | select(.block == $b) | .actions[] | select(has("key")) | [.key.usage, .state]]'
}
macro_keys_are() { [ "$(macro_keys)" = "$1" ]; }
# R down (state 1) and up (state 0) once, usage 0x15; delays are not recorded by default.
wait_for 100 macro_keys_are '[[21,1],[21,0]]' || { bank0 >&2; fail "button 6's macro holds the keys $(macro_keys), not R down and up [[21,1],[21,0]]"; }

# OK wrote the macro file into the first profile's macro folder (the default
# profiles folder lies in the documents folder).
macro_file="$HOME/Documents/Gaming Mouse Profiles/Profile1_Macros/Reload.macro"
[ -s "$macro_file" ] || fail "no file $macro_file: $(find "$HOME/Documents" -name '*.macro')"

# The monitor's close message ends the window.
"$bin/REvo2" --send close >/dev/null || fail "REvo2 --send close failed"
wait_for 100 config_ended || fail "the window did not end on the close message"
wait "$config"
status=$?
[ "$status" -eq 0 ] || fail "k4812-config ended with status $status"
echo "PASS"
