#!/usr/bin/env bash
# Runs fuzz targets one after the other, each for SECONDS, on a working
# corpus in WORK seeded from the committed corpora (fuzz/corpus/...) and the
# generated ones (make-seeds.sh, the built ui.local). Prints each target's
# executions; exits non-zero on the first finding, whose input is kept in
# WORK/findings.
#   fuzz/run-fuzzers.sh BIN_DIR WORK SECONDS TARGET...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?BIN_DIR}; work=${2:?WORK}; seconds=${3:?SECONDS}; shift 3
mkdir -p "$work/findings" "$work/seeds"
"$here/make-seeds.sh" "$work/seeds" >/dev/null
mkdir -p "$work/seeds/language"
[ -f "$bin/ui.local" ] && cp "$bin/ui.local" "$work/seeds/language/"

seeds_of() {
  case $1 in
    fuzz_hid_report_descriptor) echo "$work/seeds/hid-descriptors" ;;
    fuzz_ini_file) echo "$work/seeds/ini" ;;
    fuzz_language_file) echo "$work/seeds/language" ;;
    fuzz_profile_file) echo "$here/corpus/profile" ;;
    fuzz_profile_fields) echo "$here/corpus/profile-fields" ;;
    fuzz_macro_file) echo "$here/corpus/macro" ;;
    fuzz_emulator_state) echo "$here/corpus/emulator-state" ;;
    *) echo "no seeds known for $1" >&2; exit 2 ;;
  esac
}
# Longer inputs than the seeds are worth trying only where a file has no
# fixed size; the profile file is long by nature.
max_len_of() {
  case $1 in
    fuzz_profile_file) echo 131072 ;;
    fuzz_language_file) echo 4096 ;;
    *) echo 8192 ;;
  esac
}

for target in "$@"; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  log="$work/$target.log"
  echo "== $target: ${seconds} s"
  status=0
  nice -n 10 "$bin/$target" -max_total_time="$seconds" -max_len="$(max_len_of "$target")" \
    -artifact_prefix="$work/findings/$target-" -print_final_stats=1 \
    "$corpus" "$(seeds_of "$target")" >"$log" 2>&1 || status=$?
  grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$log" | sed "s/^/   /" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "$target found a fault; the input is in $work/findings/" >&2
    exit 1
  fi
done
