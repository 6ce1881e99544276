#!/usr/bin/env bash
# Wall time of `k4812ctl apply` on the emulated mouse against `sleep 0.5`, in
# N interleaved pairs (apply, sleep, apply, sleep, ...) so that a change in the
# machine's load hits both alike. Prints the median of each and the median of
# the per-pair ratios apply/sleep; the sleep's own time above 500 ms shows what
# starting a process costs at that moment.
# In a home folder of its own whose profile store a first, unmeasured apply
# creates, so the measured applies are the everyday ones.
# Usage: benchmarks/cli/run.sh [BIN_DIR] [PAIRS]   (20 pairs unless given)
set -euo pipefail
shopt -s inherit_errexit
bin=$(cd "${1:-build/bin}" && pwd)
pairs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=$work/home
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  XDG_RUNTIME_DIR=$home/run XDG_DOCUMENTS_DIR=$home/Documents
export K4812_POINTER_SETTINGS=journal:$work/pointer.log
state=$work/mouse.state

elapsed_ms() { # COMMAND...: runs it, prints its wall time in ms; stops the run when it fails
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null
  t1=$(date +%s%N)
  echo "$(((t1 - t0) / 1000)) / 1000" | bc -l
}

elapsed_ms "$bin/k4812ctl" --device=emulator:"$state" apply >/dev/null
: >"$work/pairs"
for ((i = 0; i < pairs; i++)); do
  apply=$(elapsed_ms "$bin/k4812ctl" --device=emulator:"$state" apply)
  pause=$(elapsed_ms sleep 0.5)
  echo "$apply $pause" >>"$work/pairs"
done

median() { sort -g | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
printf 'k4812ctl apply (median of %d): %7.1f ms\n' "$pairs" "$(awk '{print $1}' "$work/pairs" | median)"
printf 'sleep 0.5      (median of %d): %7.1f ms\n' "$pairs" "$(awk '{print $2}' "$work/pairs" | median)"
printf 'apply/sleep, median of %d interleaved pairs: %.3f\n' "$pairs" "$(awk '$2 > 0 {print $1 / $2}' "$work/pairs" | median)"
