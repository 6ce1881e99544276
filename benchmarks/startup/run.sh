#!/usr/bin/env bash
# Start-up of k4812-config's window against a plain Qt Widgets window of about
# as many controls, both from the same build: N pairs of starts, interleaved
# (plain, config, plain, config, ...) so that a change in the machine's load
# hits both alike. Prints the median time from exec to the end of the first
# paint of each, the median of the per-pair ratios config/plain, and the
# largest peak resident memory of each. On an Xvfb server of its own (xcb, as on a desktop), in a home folder
# of its own whose profile store a first, unmeasured start creates, so the
# measured starts are the everyday ones.
# Usage: benchmarks/startup/run.sh [BIN_DIR] [PAIRS]   (20 pairs unless given; a release build measures best)
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
pairs=${2:-20}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 -u "$fd" display
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
# Qt turns accessibility on when this is set at all, even to 0.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
export K4812_POINTER_SETTINGS=journal:$work/pointer.log

start() { # MODE: one start in its own home folder; prints the probe's line
  local home=$work/home-$1
  mkdir -p "$home"
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    XDG_RUNTIME_DIR=$home/run XDG_DOCUMENTS_DIR=$home/Documents \
    bash -c 'exec "$0" "$1" "$(date +%s%N)"' "$bin/k4812-startup-probe" "$1"
}

# The first start of each creates its profile store and is not measured.
start plain >/dev/null
start config >/dev/null
: >"$work/pairs"
for ((i = 0; i < pairs; i++)); do
  plain=$(start plain)
  config=$(start config)
  # Line: plain-ms plain-kib config-ms config-kib
  echo "$(awk '{print $2, $4}' <<<"$plain") $(awk '{print $2, $4}' <<<"$config")" >>"$work/pairs"
done

median() { sort -g | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
for mode in plain config; do
  col=$([ "$mode" = plain ] && echo 1 || echo 3)
  ms=$(awk -v c="$col" '{print $c}' "$work/pairs" | median)
  peak=$(awk -v c="$((col + 1))" '{print $c}' "$work/pairs" | sort -g | tail -1)
  printf '%-7s first frame (median of %d): %7.1f ms   peak memory: %6.1f MiB\n' \
    "$mode" "$pairs" "$ms" "$(echo "$peak / 1024" | bc -l)"
done
ratio=$(awk '$1 > 0 {print $3 / $1}' "$work/pairs" | median)
printf 'config/plain first frame, median of %d interleaved pairs: %.2f\n' "$pairs" "$ratio"
