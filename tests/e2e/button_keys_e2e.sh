#!/usr/bin/env bash
# End-to-end test of the button column with real input on an X server of the
# test's own (Xvfb), against the mouse emulator:
#  - a click on entry 4 opens its menu, a click on "Single Key" its dialog;
#    F5 typed on the keyboard, OK, Apply: the mouse's button 4 sends usage 0x3E;
#  - entry 5, "Combo Key", Ctrl held while C is pressed, OK, Apply: button 5
#    sends the combination Ctrl (HID modifier 1) + C (usage 0x06);
#  - both dialogs opened again by choosing their menu row with Enter (pressed
#    in the menu, released in the dialog), then OK: the release of that Enter
#    is not recorded, and the buttons keep F5 and Ctrl+C.
# Clicks land where the window's own layout puts its controls (below), keys
# are X key events (XTEST); the result is read back with k4812ctl.
# Usage: button_keys_e2e.sh BIN_DIR. Needs xvfb, xdotool, x11-utils, jq (scripts/install-deps.sh).
set -uo pipefail

bin=$(cd "${1:?usage: button_keys_e2e.sh BIN_DIR}" && pwd -P)
source "$(dirname "$0")/e2e-lib.sh"

# Where the controls sit, in window coordinates (src/app/MainWindowLayout.h,
# src/app/buttons/ButtonMenus.cpp, src/app/dialogs/KeyDialogFrame.cpp).
entry_x=24 entry_top=130 entry_pitch=38 entry_w=120 entry_h=33   # entry n at entry_top + (n-1) * pitch
menu_margin=4 menu_item_h=30                                      # menu rows, top-level list
row_single_key=5 row_combo_key=6                                  # rows of "Single Key" and "Combo Key"
apply_x=401 apply_y=612 button_w=100 button_h=33                  # "Apply" in the bottom bar
dialog_w=446 dialog_h=230 dialog_ok_x=119 dialog_ok_y=184 dialog_ok_w=96 dialog_ok_h=30

is_dialog() { [ "$ww" -eq "$dialog_w" ] && [ "$wh" -eq "$dialog_h" ]; }
no_dialog() { ! other_window is_dialog; }
beside_entry() { [ "$wx" -eq $((main_x + entry_x + entry_w)) ]; }
dialog_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$wid" ]; }

click_at() { xdotool mousemove --sync "$1" "$2" click 1; }

# Opens entry $1's menu, chooses row $2 and waits for the key dialog ($3 names it in messages).
open_key_dialog() {
  local entry=$1 row=$2 what=$3
  click_at $((main_x + entry_x + entry_w / 2)) \
           $((main_y + entry_top + (entry - 1) * entry_pitch + entry_h / 2))
  wait_for 100 other_window beside_entry || fail "entry $entry opened no menu beside itself"
  click_at $((wx + ww / 2)) $((wy + menu_margin + row * menu_item_h + menu_item_h / 2))
  wait_for 100 other_window is_dialog || fail "\"$what\" opened no dialog: $(cat "$work/config.log")"
  # Keys go where the focus is (the dialog also grabs the keyboard).
  wait_for 100 dialog_has_focus || fail "the $what dialog did not take the keyboard focus"
}

# The same, choosing the row with Enter: the pointer rests on the row, Enter
# goes down in the menu and comes up once the dialog has the keyboard.
open_key_dialog_with_enter() {
  local entry=$1 row=$2 what=$3
  click_at $((main_x + entry_x + entry_w / 2)) \
           $((main_y + entry_top + (entry - 1) * entry_pitch + entry_h / 2))
  wait_for 100 other_window beside_entry || fail "entry $entry opened no menu beside itself"
  xdotool mousemove --sync $((wx + ww / 2)) $((wy + menu_margin + row * menu_item_h + menu_item_h / 2))
  xdotool keydown Return
  wait_for 100 other_window is_dialog || fail "Enter on \"$what\" opened no dialog: $(cat "$work/config.log")"
  wait_for 100 dialog_has_focus || fail "the $what dialog did not take the keyboard focus"
  xdotool keyup Return
}

press_dialog_ok() {
  click_at $((wx + dialog_ok_x + dialog_ok_w / 2)) $((wy + dialog_ok_y + dialog_ok_h / 2))
  wait_for 100 no_dialog || fail "OK did not close the dialog"
}

# The code and parameters the emulated mouse's bank 0 holds for window button $1.
button_record() {
  "$bin/k4812ctl" --device="$K4812_DEVICE" emulator show --json 2>/dev/null |
    jq -c --argjson n "$1" '.banks[0].buttons[] | select(.windowButton == $n) | [.code] + .parameters'
}
record_is() { [ "$(button_record "$1")" = "$2" ]; }

e2e_setup
e2e_start_xvfb
e2e_start_config
find_main_window

# Button 4: a single key.
open_key_dialog 4 "$row_single_key" "Single Key"
xdotool key F5
press_dialog_ok

# Button 5: a combination, Ctrl held while C goes down and up.
open_key_dialog 5 "$row_combo_key" "Combo Key"
xdotool keydown ctrl key c keyup ctrl
press_dialog_ok

# Both dialogs again, chosen with Enter and left with OK at once: nothing was
# recorded, so each hands back the key it was given.
open_key_dialog_with_enter 4 "$row_single_key" "Single Key"
press_dialog_ok
open_key_dialog_with_enter 5 "$row_combo_key" "Combo Key"
press_dialog_ok

click_at $((main_x + apply_x + button_w / 2)) $((main_y + apply_y + button_h / 2))
# Single key: code 0x10, usage 0x3E (F5) in the second parameter.
wait_for 100 record_is 4 '[16,0,62,0]' ||
  fail "button 4 holds $(button_record 4), not the single key F5 [16,0,62,0] (Enter is [16,0,40,0])"
# Combination: code 0x0F, HID modifier Ctrl (1), usage of C (6), no second key.
wait_for 100 record_is 5 '[15,1,6,0]' || fail "button 5 holds $(button_record 5), not Ctrl+C [15,1,6,0]"

# The monitor's close message ends the window; nothing is left unsaved.
"$bin/REvo2" --send close >/dev/null || fail "REvo2 --send close failed"
wait_for 100 config_ended || fail "the window did not end on the close message"
wait "$config"
status=$?
[ "$status" -eq 0 ] || fail "k4812-config ended with status $status"
echo "PASS"
