#!/usr/bin/env bash
# End-to-end test of the button menus over AT-SPI, as a screen reader uses
# them, on an X server of the test's own (Xvfb) against the mouse emulator,
# with a session bus and an accessibility bus of its own:
#  - entry 4's press action opens its menu: the application lists the popup
#    menu "Button Assignment" with its items, and the focus on the checked
#    item "Backward" (the entry's current function) is announced;
#  - the menu has the keyboard: Down moves the focus to "Single Key", Escape
#    closes the menu;
#  - the press action of "Single Key" opens the "Edit Single Key..." dialog;
#  - the press action of "Macro" opens its sub-menu below the item, and that of
#    "Macro Manager" opens the macro manager.
# Nothing is clicked at coordinates; X windows are only counted and measured.
# Usage: menu_atspi_e2e.sh BIN_DIR. Needs xvfb, xdotool, x11-utils, dbus-daemon,
# at-spi2-core and python3-pyatspi (scripts/install-deps.sh); exits with 77
# (skipped) when one of the last three is missing.
set -uo pipefail

bin=$(cd "${1:?usage: menu_atspi_e2e.sh BIN_DIR}" && pwd -P)
here=$(cd "$(dirname "$0")" && pwd -P)

source "$here/e2e-lib.sh"
e2e_require_atspi

dialog_w=446 dialog_h=230 manager_w=760 manager_h=520
is_dialog() { [ "$ww" -eq "$dialog_w" ] && [ "$wh" -eq "$dialog_h" ]; }
is_manager() { [ "$ww" -eq "$manager_w" ] && [ "$wh" -eq "$manager_h" ]; }

# The AT-SPI client on k4812-config: [--in ROLE NAME] find / gone / path / do (tests/e2e/atspi-client.py).
atspi() { "$python" "$here/atspi-client.py" "$config" "$@"; }

# Opens entry 4's menu by the entry's press action; the focus lands on "Backward".
open_menu() {
  local heard
  heard=$(atspi do "push button" '4\..*' Press --announces "menu item" Backward) ||
    fail "entry 4's press action announced no menu"
  [ "$heard" = "popup menu 'Button Assignment' > menu item 'Backward'" ] ||
    fail "the announced focus is not on the menu's item: $heard"
}

e2e_setup
e2e_start_xvfb
e2e_start_session_bus "$launcher"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_start_config
find_main_window
atspi find "push button" '4\..*' || fail "entry 4 is not on the accessibility bus: $(cat "$work/config.log")"

# The menu: a child of the application, its items with their states.
open_menu
path=$(atspi path "menu item" "Single Key") || fail "no menu item \"Single Key\""
[ "$path" = "application 'k4812' > popup menu 'Button Assignment' > menu item 'Single Key'" ] ||
  fail "\"Single Key\" is not an item of the application's popup menu: $path"
atspi find "menu item" Backward checked focused || fail "the entry's function is not the checked, focused item"
atspi find "menu item" Macro || fail "no menu item \"Macro\""
other_window || fail "no menu window besides the main window"

# The keyboard: Down moves the focus, Escape closes the menu.
xdotool key Down
atspi find "menu item" "Single Key" focused || fail "Down did not move the focus to \"Single Key\""
xdotool key Escape
atspi gone "popup menu" ".*" || fail "Escape did not close the menu"

# "Single Key" chosen by its action: the key dialog opens, its CANCEL closes it.
open_menu
atspi do "menu item" "Single Key" Press || fail "no press action on \"Single Key\""
wait_for 100 other_window is_dialog || fail "\"Single Key\" opened no dialog: $(cat "$work/config.log")"
atspi find dialog "Edit Single Key\.\.\." || fail "the single-key dialog is not on the accessibility bus"
atspi gone "popup menu" ".*" || fail "the menu stayed open after its item was chosen"
atspi --in dialog "Edit Single Key\.\.\." do "push button" CANCEL Press || fail "no CANCEL in the single-key dialog"
atspi gone dialog "Edit Single Key\.\.\." || fail "CANCEL did not close the single-key dialog"

# "Macro" opens its sub-menu below the item, "Macro Manager" the manager.
open_menu
heard=$(atspi do "menu item" Macro Press --announces "popup menu" Macro) || fail "\"Macro\" opened no sub-menu"
path=$(atspi path "menu item" "Macro Manager") || fail "no menu item \"Macro Manager\""
[ "$path" = "application 'k4812' > popup menu 'Button Assignment' > menu item 'Macro' > popup menu 'Macro' > menu item 'Macro Manager'" ] ||
  fail "\"Macro Manager\" is not in the sub-menu of \"Macro\": $path"
atspi do "menu item" "Macro Manager" Press || fail "no press action on \"Macro Manager\""
wait_for 100 other_window is_manager || fail "\"Macro Manager\" opened no manager: $(cat "$work/config.log")"
atspi find dialog "Macro Manager" || fail "the macro manager is not on the accessibility bus"
atspi --in dialog "Macro Manager" do "push button" CANCEL Press || fail "no CANCEL in the macro manager"
# It asks before it drops what was not saved.
atspi --in dialog Warning do "push button" OK Press || fail "the macro manager's CANCEL asked nothing"
atspi gone dialog "Macro Manager" || fail "CANCEL did not close the macro manager"

# The monitor's close message ends the window; nothing is left unsaved.
"$bin/REvo2" --send close >/dev/null || fail "REvo2 --send close failed"
wait_for 100 config_ended || fail "the window did not end on the close message"
wait "$config"
status=$?
[ "$status" -eq 0 ] || fail "k4812-config ended with status $status"
echo "PASS"
