#!/usr/bin/env bash
# Builds the viewer and starts it on the bundled demo course (or on TORVANE_COURSE_URL when set).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TORVANE_BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"
# The browser engine's sandbox cannot run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
exec "$build/bin/torvane" "$@"
