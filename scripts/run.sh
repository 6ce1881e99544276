#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
# Without arguments it starts the configuration window against the mouse
# emulator; with arguments it runs the command-line tool k4812ctl with them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${BUILD_DIR:-build}
if [ $# -eq 0 ]; then
  exec "$build_dir/bin/k4812-config" --device=emulator
fi
exec "$build_dir/bin/k4812ctl" "$@"
