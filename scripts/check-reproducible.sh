#!/usr/bin/env bash
# Checks that the Debian package is reproducible: builds the last commit's
# package twice, from two clones in two differently named folders, with
# scripts/package.sh, and compares the .deb and the -dbgsym .ddeb byte for
# byte. On a difference it lists the files that differ inside the packages.
# Two package builds take a while (ccache shortens the second), so the normal
# test run does not do it; CI runs it when time allows. Uncommitted changes
# are not part of the check.
#
#   scripts/check-reproducible.sh [WORK_DIR]    (default: a temporary folder, removed afterwards)
set -euo pipefail
cd "$(dirname "$0")/.."
source_repo=$PWD
scripts/install-deps.sh

if [ $# -ge 1 ]; then
  work=$1
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# Both builds take this commit, even if another is made meanwhile.
commit=$(git rev-parse HEAD)
build_one() {
  local folder=$1
  rm -rf "$folder"
  git clone -q --no-hardlinks "$source_repo" "$folder"
  git -C "$folder" checkout -q --detach "$commit"
  local start=$SECONDS
  (cd "$folder" && K4812_SKIP_DEPS=1 scripts/package.sh >"$folder.log" 2>&1) \
    || { tail -n 40 "$folder.log" >&2; echo "FAIL: the package build in $folder" >&2; exit 1; }
  echo "built in $folder: $((SECONDS - start)) s"
}
first=$work/first/k4812
second=$work/second-place/src/k4812-copy
build_one "$first"
build_one "$second"

failures=0
for package in "$first"/build-package/package/*.deb "$first"/build-package/package/*.ddeb; do
  name=$(basename "$package")
  other=$second/build-package/package/$name
  if [ ! -f "$other" ]; then
    echo "FAIL: $name was built only in the first folder" >&2
    failures=$((failures + 1))
  elif cmp -s "$package" "$other"; then
    echo "same: $name ($(sha256sum <"$package" | cut -c1-16))"
  else
    echo "FAIL: $name differs between the two builds" >&2
    failures=$((failures + 1))
    for side in a b; do
      from=$package; [ $side = b ] && from=$other
      rm -rf "$work/unpacked-$side"
      dpkg-deb -R "$from" "$work/unpacked-$side"
    done
    diff -rq "$work/unpacked-a" "$work/unpacked-b" >&2 || true
    dpkg-deb -c "$package" >"$work/list-a"; dpkg-deb -c "$other" >"$work/list-b"
    diff "$work/list-a" "$work/list-b" >&2 || true
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "the package is reproducible"
