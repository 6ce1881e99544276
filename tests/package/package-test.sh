#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it: every file the
# programs look for at run time is in it where they look for it, lintian finds
# no error, the desktop entry and the AppStream data validate, and the
# programs run from a staging install through their links in bin.
#
#   package-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
bin=$build/bin
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
       XDG_CACHE_HOME=$work/home/.cache XDG_STATE_HOME=$work/home/.local/state XDG_RUNTIME_DIR=$work/runtime
unset K4812_PROGRAM_DIR K4812_DEVICE K4812_EMULATOR_FAULTS
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"

# --- the package ----------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb=$(ls "$work"/package/k4812_*.deb)
dpkg-deb -c "$deb" | awk '{ path = $6; sub(/^\./, "", path); sub(/\/$/, "", path); print path ($7 == "->" ? " -> " $8 : "") }' \
  | sort >"$work/contents"
has() { grep -qxF -- "$1" "$work/contents" || fail "not in the package: $1"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not the project's ($version)"
dpkg-deb -f "$deb" Recommends | grep -q fonts-noto-cjk || fail "no CJK font recommended"
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "dependencies not computed from the programs"

# The program folder holds everything the build puts beside the programs,
# at the same place, except the build's own tools.
build_only='^(k4812-benchmarks|k4812-startup-probe|k4812-stall-probe|k4812-repaint-latency|k4812-skin|k4812-langc|k4812-udev-probe|fuzz_.*)$'
while IFS= read -r file; do
  rel=${file#"$bin"/}
  [[ $rel =~ $build_only ]] && continue
  has "/usr/lib/k4812/$rel"
done < <(find "$bin" \( -type f -o -type l \) | sort)
for always in k4812ctl REvo2 ui.local; do has "/usr/lib/k4812/$always"; done

has "/usr/bin/k4812ctl -> ../lib/k4812/k4812ctl"
has /usr/lib/udev/rules.d/70-k4812.rules
has /usr/lib/udev/k4812-udev-probe
has /usr/share/bash-completion/completions/k4812ctl
has /usr/share/man/man1/k4812ctl.1.gz
has /usr/share/doc/k4812/copyright
has /usr/share/doc/k4812/changelog.gz
has /usr/share/icons/hicolor/scalable/apps/k4812-config.svg
for size in 16 24 32 48 64 128 256; do has "/usr/share/icons/hicolor/${size}x${size}/apps/k4812-config.png"; done
app_id=$(sed -n 's/^K4812_APP_ID:STRING=//p' "$build/CMakeCache.txt")
if [ -x "$bin/k4812-config" ]; then
  has "/usr/bin/k4812-config -> ../lib/k4812/k4812-config"
  has /usr/share/man/man1/k4812-config.1.gz
  has "/usr/share/applications/$app_id.desktop"
  has "/usr/share/metainfo/$app_id.metainfo.xml"
else
  echo "k4812-config is not built yet: its link, menu entry and metadata are not checked"
fi

# --- the distribution's checkers ----------------------------------------------
lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
grep '^[EW]:' "$work/lintian.log" || true
desktop-file-validate "$source/resources/k4812-config.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$build/share/$app_id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$build/share/$app_id.metainfo.xml" || fail "metainfo release is not $version"

# --- a staging install, run through its links -----------------------------------
stage=$work/stage
DESTDIR=$stage cmake --install "$build" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; echo "FAIL: cmake --install into DESTDIR" >&2; exit 1; }
[ -L "$stage/usr/bin/k4812ctl" ] || fail "no link $stage/usr/bin/k4812ctl"
if ! "$stage/usr/bin/k4812ctl" --device=emulator:"$work/mouse.bin" profiles >"$work/profiles.out" 2>&1; then
  cat "$work/profiles.out" >&2; fail "staged k4812ctl profiles"
fi
grep -q "^Profile 1" "$work/profiles.out" || fail "staged k4812ctl profiles printed no profiles"
# The language list comes from ui.local in the program folder, found through the link.
"$stage/usr/bin/k4812ctl" language >"$work/language.out" 2>&1 || true
grep -q 0804 "$work/language.out" || { cat "$work/language.out" >&2; fail "staged k4812ctl did not find ui.local"; }
if [ -x "$stage/usr/bin/k4812-config" ]; then
  if ! QT_QPA_PLATFORM=offscreen "$stage/usr/bin/k4812-config" --device=emulator:"$work/mouse.bin" \
        --screenshot "$work/screenshot.png" >"$work/window.out" 2>&1; then
    cat "$work/window.out" >&2; fail "staged k4812-config --screenshot"
  fi
  [ -s "$work/screenshot.png" ] || fail "staged k4812-config wrote no screenshot"
else
  echo "k4812-config is not built yet: its staged run is skipped"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package $(basename "$deb"): all checks passed"
