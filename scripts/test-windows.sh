#!/usr/bin/env bash
# Cross-compiles the Windows platform layer (shared blocks, desktop windows, starting programs) with
# mingw-w64 and runs its tests under Wine on a private X server, in a fresh Wine prefix that is
# removed afterwards. Installs nothing: scripts/install-deps.sh brings mingw-w64, Wine and Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TORVANE_WIN_BUILD_DIR:-$here/build-win}

if [ "${1:-}" = "--on-display" ]; then
  # Second stage, on the private display: Wine's desktop process must start on it.
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/torvane-wine.XXXXXX")
  export WINEPREFIX
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
  start=$(date +%s)
  wineserver --persistent # one server for every test process, not one started per process
  wine wineboot --init >/dev/null 2>&1
  echo "test-windows: Wine prefix ready in $(($(date +%s) - start)) s"
  ctest --test-dir "$build" --output-on-failure
  exit
fi

for tool in x86_64-w64-mingw32-g++-posix wine wineserver Xvfb cmake ninja; do
  if ! command -v "$tool" >/dev/null; then
    echo "test-windows: $tool is missing; run scripts/install-deps.sh" >&2
    exit 1
  fi
done
cmake -S "$here/tests/windows" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" --parallel 2
# A bare X server: the tests are about the Windows layer's own calls under Wine, and which window a
# window manager lets come to the front on Wine's request is the manager's policy, not the layer's.
bash "$here/tests/with-display.sh" --bare 1280x800 bash "$here/scripts/test-windows.sh" --on-display
