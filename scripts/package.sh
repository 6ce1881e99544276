#!/usr/bin/env bash
# Builds the Debian package k4812_VERSION_ARCH.deb into ${BUILD_DIR:-build}/package
# (docs/packaging.md). Install it with: sudo apt install ./build/package/k4812_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${BUILD_DIR:-build}
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/package"
ls "$build_dir"/package/k4812_*.deb
