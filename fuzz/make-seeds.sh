#!/usr/bin/env bash
# Writes seed inputs for the fuzzers into FOLDER/hid-descriptors and FOLDER/ini:
# every real descriptor of tests/data/hid-descriptors.txt and a sample config.ini.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: fuzz/make-seeds.sh FOLDER}
mkdir -p "$out/hid-descriptors" "$out/ini"
n=0
grep '^rdesc ' "$top/tests/data/hid-descriptors.txt" | while read -r _ hex; do
  n=$((n + 1))
  printf '%s' "$hex" | xxd -r -p > "$out/hid-descriptors/real-$n"
done
printf '%s\n' '[IncludeHIDDeviceList]' 'id1=HID\VID_1234&PID_5678&MI_01&Col02' 'id2=' \
  '[OtherConfig]' 'Language=0409' '; comment' > "$out/ini/config.ini"
