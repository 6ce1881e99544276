#!/usr/bin/env bash
# Configures and builds the project into ${BUILD_DIR:-build}.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  # Paths below the checkout are hashed relative to it, so other checkouts share the cache.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
