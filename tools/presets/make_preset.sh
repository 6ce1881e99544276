#!/usr/bin/env bash
# Makes one preset profile file from its text source: every line of the
# source is the argument list of one `k4812ctl set` (blank lines and text
# after "#" are left out), run on a factory-fresh profile in a home of its
# own; the profile's bytes then become the file.
# Usage: make_preset.sh K4812CTL SOURCE.txt OUT.pfd
set -euo pipefail
ctl=$1 source=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/run
export K4812_DEVICE=emulator:$work/mouse.state K4812_POINTER_SETTINGS=none
unset K4812_PROGRAM_DIR
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

number=0
while IFS= read -r line || [ -n "$line" ]; do
  number=$((number + 1))
  line=${line%%#*}
  read -ra words <<<"$line"
  [ "${#words[@]}" -eq 0 ] && continue
  "$ctl" set "${words[@]}" >"$work/set.log" 2>&1 || {
    echo "$source:$number: k4812ctl set ${words[*]}: $(cat "$work/set.log")" >&2
    exit 1
  }
done <"$source"

"$ctl" profile export 1 "$work/preset.pfd" >/dev/null
mkdir -p "$(dirname "$out")"
cp "$work/preset.pfd" "$out.part" && mv "$out.part" "$out"
