#!/usr/bin/env bash
# Builds every target into ${BUILD_DIR:-build-asan} with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/sanitizers.cmake) and runs the whole
# test suite there. Any finding stops the program that made it, so its test
# fails with the report in the test's output.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=${BUILD_DIR:-build-asan}
CMAKE_ARGS="-C $PWD/scripts/sanitizers.cmake ${CMAKE_ARGS:-}" scripts/build.sh
# Programs the tests start (k4812ctl, the monitor stand-in) are built the same
# way and read these too.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600
