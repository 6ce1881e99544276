#!/usr/bin/env bash
# Start-up of k4812-config's window against a plain Qt Widgets window of about
# as many controls, both from the same build: the median of N starts of the
# time from exec to the end of the first paint, and the largest peak resident
# memory. On an Xvfb server of its own (xcb, as on a desktop), in a home folder
# of its own whose profile store a first, unmeasured start creates, so the
# measured starts are the everyday ones.
# Usage: benchmarks/startup/run.sh [BIN_DIR] [N]   (a release build measures best)
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
runs=${2:-15}
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

for mode in plain config; do
  : >"$work/$mode"
  home=$work/home-$mode
  mkdir -p "$home"
  for ((i = -1; i < runs; i++)); do
    out=$(HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
          XDG_RUNTIME_DIR=$home/run XDG_DOCUMENTS_DIR=$home/Documents \
          bash -c 'exec "$0" "$1" "$(date +%s%N)"' "$bin/k4812-startup-probe" "$mode")
    [ "$i" -ge 0 ] && echo "$out" >>"$work/$mode"
  done
  median=$(awk '{print $2}' "$work/$mode" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  peak=$(awk '{print $4}' "$work/$mode" | sort -n | tail -1)
  printf '%-7s first frame (median of %d): %7.1f ms   peak memory: %6.1f MiB\n' \
    "$mode" "$runs" "$median" "$(echo "$peak / 1024" | bc -l)"
done
