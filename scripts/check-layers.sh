#!/usr/bin/env bash
# Checks the layer rule of docs/house-style.md by reading the #include lines
# under src/: every folder (room) stands on a floor, and may include only
# itself and rooms on lower floors. Two rooms on one floor never include each
# other, so no two rooms can form a cycle. Includes of headers outside src/
# (Qt, the hook library's own headers) are not checked.
# Prints every offending include and exits 1; prints the rooms and exits 0
# when the rule holds.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Floors, lowest first; rooms on one line share a floor.
floors=(
  "records"
  "platform/storage"
  "platform/desktop platform/hid"
  "platform/kwin"
  "i18n"
  "wire"
  "macros"
  "profiles"
  "emulator sequences"
  "monitor"
  "ui/skin ui/commands ui/menu"
  "ui/controls"
  "ui/windows"
  "ui/dialogs"
  "app/dialogs"
  "app/macro"
  "app/buttons app/pages"
  "app"
)

declare -A floor_of
for i in "${!floors[@]}"; do
  for room in ${floors[$i]}; do floor_of[$room]=$i; done
done
tops=" $(find . -mindepth 1 -maxdepth 1 -type d -printf '%f ') "

failures=0
while IFS= read -r -d '' file; do
  file=${file#./}
  room=$(dirname "$file")
  if [ -z "${floor_of[$room]+x}" ]; then
    echo "$file: the folder $room stands on no floor; add it to scripts/check-layers.sh"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r target; do
    case "$target" in */*) ;; *) continue ;; esac
    [[ $tops == *" ${target%%/*} "* ]] || continue
    to=$(dirname "$target")
    [ "$to" = "$room" ] && continue
    if [ -z "${floor_of[$to]+x}" ]; then
      echo "$file: includes $target from $to, which stands on no floor"
      failures=$((failures + 1))
    elif [ "${floor_of[$to]}" -ge "${floor_of[$room]}" ]; then
      echo "$file: $room (floor ${floor_of[$room]}) includes $target from $to (floor ${floor_of[$to]})"
      failures=$((failures + 1))
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
done < <(find . \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$failures" -gt 0 ]; then
  echo "layer rule: $failures include(s) point up or sideways"
  exit 1
fi
echo "layer rule holds: ${#floors[@]} floors, ${#floor_of[@]} rooms, no include points up or sideways"
