#!/usr/bin/env bash
# Builds everything, checks the layout of the C++ files (clang-format) and runs the whole test suite:
# unit tests, GUI tests on private X servers, end-to-end tests with the real program and a course web
# server on loopback, then the headless tests and short fuzz runs under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# platform layer cross-compiled with mingw-w64 and run under Wine.
# Arguments go to the main ctest run (for example -L unit); the sanitizer and Windows runs follow it
# unless TORVANE_MAIN_TESTS_ONLY=1.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TORVANE_BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"
bash "$here/scripts/check-format.sh"
(cd "$build" && ctest --output-on-failure --parallel 2 "$@")
if [ "${TORVANE_MAIN_TESTS_ONLY:-0}" = 1 ]; then
  exit 0
fi
bash "$here/scripts/test-sanitizers.sh"
bash "$here/scripts/test-windows.sh"
