#!/usr/bin/env bash
# Builds everything and runs the whole test suite: unit tests, GUI tests on private X servers, and
# end-to-end tests with the real program and a course web server on loopback.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TORVANE_BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"
cd "$build"
ctest --output-on-failure --parallel 2 "$@"
