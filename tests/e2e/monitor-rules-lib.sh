# The checks both monitor end-to-end tests make once the focus is on EditorB
# (rules: GameA -> Mode 2, EditorB -> Mode 1, none for Plain): the mouse
# follows the rules, nothing switches when nothing changes, never two switches
# within a second, and the status names the focus source $1.
# The caller defines focus_on, active_bank, switch_count, ctl, fail and $log.
check_switching_by_rules() {
  local focus_source=$1
  # In Mode $1, and the switch that put it there (if any, perhaps held back
  # until a second after the one before) is over.
  settled_in() {
    [ "$(active_bank)" = $(($1 - 1)) ] &&
      { [ "$(switch_count)" = 0 ] || grep '^switched to' "$log" | tail -1 | grep -q "Mode $1"; }
  }
  wait_for 50 settled_in 1 || fail "EditorB's rule did not put the mouse into Mode 1"
  switches=$(switch_count)

  focus_on Plain
  [ "$(switch_count)" = "$switches" ] || fail "an application without a rule switched the mode"

  focus_on GameA
  wait_for 50 settled_in 2 || fail "GameA's rule did not put the mouse into Mode 2"
  [ "$(switch_count)" = $((switches + 1)) ] || fail "GameA made $(($(switch_count) - switches)) switches"

  focus_on Plain
  focus_on GameA
  [ "$(switch_count)" = $((switches + 1)) ] || fail "a switch was made although the mode was right"

  # EditorB soon after: within a second of GameA's switch, its own waits.
  focus_on EditorB
  wait_for 50 settled_in 1 || fail "EditorB's switch was never made"
  [ "$(switch_count)" = $((switches + 2)) ] || fail "EditorB made $(($(switch_count) - switches - 1)) switches"
  times=($(sed -n 's/^switching to Mode [12] at \([0-9]*\) ms$/\1/p' "$log"))
  for ((i = 1; i < ${#times[@]}; i++)); do
    gap=$((times[i] - times[i - 1]))
    [ "$gap" -ge 1000 ] || fail "two switches $gap ms apart"
  done

  status=$(ctl monitor status)
  grep -q '^Monitor: running' <<<"$status" || fail "status does not see the monitor: $status"
  grep -q "^Focus: $focus_source" <<<"$status" || fail "status does not name the focus source: $status"
  grep -q '^Focused application: EditorB' <<<"$status" || fail "status does not name the focused application: $status"
}
