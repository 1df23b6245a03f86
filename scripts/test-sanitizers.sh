#!/usr/bin/env bash
# Builds the headless part (the core and platform libraries, the unit tests, the word-list tool and the
# fuzz targets) with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer in build-san/, then runs
# the unit tests and a short run of every fuzz target there. Any sanitizer report fails its test.
#
#   scripts/test-sanitizers.sh [ctest arguments...]
# Environment: TORVANE_SAN_BUILD_DIR (default build-san), TORVANE_FUZZ_SECONDS (default 12 per target).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TORVANE_SAN_BUILD_DIR:-$here/build-san}
jobs=$(nproc 2>/dev/null || echo 2)

bash "$here/scripts/install-deps.sh"

cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DTORVANE_HEADLESS_ONLY=ON \
  -DTORVANE_SANITIZE=ON \
  -DTORVANE_BUILD_FUZZ=ON \
  -DTORVANE_BUILD_BENCH=OFF \
  -DTORVANE_FUZZ_SECONDS="${TORVANE_FUZZ_SECONDS:-12}"
cmake --build "$build" --parallel "$jobs"

# A report is a failure: stop at the first one, abort (so the test dies), and look for leaks at exit.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1

cd "$build"
ctest --output-on-failure --parallel "$jobs" -L 'unit|fuzz' "$@"
