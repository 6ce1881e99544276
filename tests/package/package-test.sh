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
dpkg-deb -f "$deb" Depends | grep -q libqt6core6 || fail "dependencies not computed from the programs"
dpkg-deb -f "$deb" Depends | grep -Eq '(^|, )udev(,|$)' || fail "udev, which runs the access rule, is not a dependency"
dpkg-deb -f "$deb" Depends | grep -Eq '(^|, )qt6-wayland(,|$)' || fail "qt6-wayland, the window's Wayland plugin, is not a dependency"
[ "$(dpkg-deb -I "$deb" conffiles 2>/dev/null)" = /etc/k4812/config.ini ] || fail "config.ini is not the one conffile"
# The small CJK font first, Noto CJK as the alternative; every character of
# the Chinese interface texts must be in the first one.
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $recommends == *"fonts-wqy-microhei | fonts-noto-cjk"* ]] || fail "Recommends is \"$recommends\""
font=$(dpkg -L fonts-wqy-microhei 2>/dev/null | grep -E '\.tt[cf]$' | head -n 1 || true)
if [ -z "$font" ]; then
  fail "fonts-wqy-microhei is not installed (scripts/install-deps.sh)"
else
  fc-query --format='%{charset}\n' "$font" | head -n 1 >"$work/charset"
  perl -CSD -e '
    my @ranges = map { my ($a, $b) = split /-/; [hex $a, hex($b // $a)] } split " ", do { local $/; <STDIN> };
    my %missing;
    for my $file (@ARGV) {
      open my $in, "<:encoding(UTF-8)", $file or die "$file: $!";
      for my $c (map { ord } split //, do { local $/; <$in> }) {
        next if $c < 0x80 || grep { $c >= $_->[0] && $c <= $_->[1] } @ranges;
        $missing{sprintf "U+%04X", $c} = 1;
      }
    }
    print join(" ", sort keys %missing), "\n" if %missing;
    exit(%missing ? 1 : 0);' "$source"/resources/i18n/0804.txt "$source"/resources/i18n/0404.txt \
      "$source"/src/i18n/LanguageNames.h <"$work/charset" >"$work/missing-characters" \
    || fail "$font lacks characters of the Chinese texts: $(cat "$work/missing-characters")"
fi

# The program folder holds everything the build puts beside the programs,
# at the same place, except the build's own tools.
build_only='^(k4812-benchmarks|k4812-startup-probe|k4812-stall-probe|k4812-language-probe|k4812-repaint-latency|k4812-skin|k4812-langc|k4812-udev-probe|fuzz_.*)$'
while IFS= read -r file; do
  rel=${file#"$bin"/}
  [[ $rel =~ $build_only ]] && continue
  [ "$rel" = config.ini ] && continue   # the package's own, checked below
  has "/usr/lib/k4812/$rel"
done < <(find "$bin" \( -type f -o -type l \) | sort)
for always in k4812ctl REvo2 ui.local; do has "/usr/lib/k4812/$always"; done

has "/usr/bin/k4812ctl -> ../lib/k4812/k4812ctl"
has /etc/k4812/config.ini
has "/usr/lib/k4812/config.ini -> /etc/k4812/config.ini"
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

# The programs are stripped; their symbols are in the -dbgsym package, by build ID.
ddeb=$(ls "$work"/package/k4812-dbgsym_*.ddeb 2>/dev/null || true)
if [ -z "$ddeb" ]; then
  fail "no k4812-dbgsym package"
else
  dpkg-deb -c "$ddeb" >"$work/ddeb-contents"
  grep -q '/usr/lib/debug/.build-id/.*\.debug$' "$work/ddeb-contents" || fail "k4812-dbgsym holds no debug files"
fi
dpkg-deb -x "$deb" "$work/unpacked"
for program in usr/lib/k4812/k4812ctl usr/lib/udev/k4812-udev-probe; do
  file "$work/unpacked/$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# --- the distribution's checkers ----------------------------------------------
lintian --fail-on error --no-tag-display-limit -I --pedantic "$deb" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
grep '^[EW]:' "$work/lintian.log" || true
if [ -z "${K4812_PACKAGE_UNHARDENED:-}" ] && grep 'hardening-' "$work/lintian.log"; then
  fail "lintian: the programs lack hardening"
fi
desktop-file-validate "$source/resources/k4812-config.desktop" || fail "desktop-file-validate"
metainfo=$build/share/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"
# A screenshot address names a file of the repository.
screenshot=$(sed -n 's|.*<image>.*/HEAD/\(.*\)</image>.*|\1|p' "$metainfo")
if grep -q '<image>' "$metainfo" && { [ -z "$screenshot" ] || [ ! -f "$source/$screenshot" ]; }; then
  fail "the AppStream screenshot names no file of the repository: $(grep '<image>' "$metainfo")"
fi

# The home page comes from the repository's remote; the screenshot is a file
# of the repository at its address there.
cat >"$work/metadata.cmake" <<EOF_CMAKE
set(K4812_METADATA_FUNCTIONS_ONLY ON)
include("$source/cmake/K4812Metadata.cmake")
foreach(case "https://github.com/o/k4812.git|https://github.com/o/k4812"
             "git@github.com:o/k4812.git|https://github.com/o/k4812"
             "https://user@gitlab.example.org/g/k4812/|https://gitlab.example.org/g/k4812"
             "/srv/git/k4812|")
  string(REPLACE "|" ";" case "\${case}")
  list(GET case 0 remote)
  list(LENGTH case n)
  set(expected "")
  if(n GREATER 1)
    list(GET case 1 expected)
  endif()
  k4812_homepage_of_remote("\${remote}" home)
  if(NOT home STREQUAL expected)
    message(SEND_ERROR "\${remote}: home page \${home}, not \${expected}")
  endif()
endforeach()
k4812_file_address("https://github.com/o/k4812" "\${K4812_SCREENSHOT_FILE}" address)
if(NOT address STREQUAL "https://github.com/o/k4812/raw/HEAD/\${K4812_SCREENSHOT_FILE}")
  message(SEND_ERROR "screenshot address \${address}")
endif()
if(NOT EXISTS "$source/\${K4812_SCREENSHOT_FILE}")
  message(SEND_ERROR "the screenshot \${K4812_SCREENSHOT_FILE} is not in the repository")
endif()
EOF_CMAKE
cmake -P "$work/metadata.cmake" || fail "home page and screenshot addresses (cmake/K4812Metadata.cmake)"

# The manual page of the window names every option its --help prints.
if [ -x "$bin/k4812-config" ]; then
  env -u DISPLAY -u WAYLAND_DISPLAY "$bin/k4812-config" --help >"$work/help.out" 2>&1 \
    || { cat "$work/help.out" >&2; fail "k4812-config --help without a display"; }
  man_text=$(zcat "$build/share/man/k4812-config.1.gz")
  for option in $(grep -o -- '--[a-z][a-z-]*' "$work/help.out" | sort -u); do
    grep -qF -- "${option//-/\\-}" <<<"$man_text" || fail "k4812-config(1) does not describe $option"
  done
fi

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
