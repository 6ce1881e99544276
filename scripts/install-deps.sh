#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, skipping what is there.
# With --fuzz it also installs what the libFuzzer targets need (docs/building.md, "Fuzzing").
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev libpng-dev
  libudev-dev libsqlite3-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  librsvg2-bin
  dpkg-dev file lintian desktop-file-utils appstream
  xvfb xdotool x11-utils dbus-x11 dbus-daemon openbox fonts-noto-cjk fonts-wqy-microhei jq
  libx11-dev libxtst-dev libxdamage-dev
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  sway grim wtype qt6-wayland libwayland-dev
  libkf5config-bin
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev xxd)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
