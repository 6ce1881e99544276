#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
# Arguments are passed on; without any, it shows what the emulated mouse holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${BUILD_DIR:-build}
if [ $# -eq 0 ]; then
  set -- --device=emulator emulator show
fi
exec "$build_dir/bin/k4812ctl" "$@"
