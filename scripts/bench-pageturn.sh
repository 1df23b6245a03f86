#!/usr/bin/env bash
# A page turn (Page Down to the next page completed) in the viewer and in the minimal program, without and
# with a screen reader listening, on the bundled demo course on a private X server.
#
#   scripts/bench-pageturn.sh [TURNS]        (default 20 timed turns a program and case, after 3 not timed)
#
# Each case starts the program, waits for its contents page, presses Page Down on the X server and takes
# the time from the key press to the completion of the next page (the trace line each program prints
# with TORVANE_TRACE=1), turn after turn through module 1. The minimal program (bench/minimalviewer.cpp
# with --turn) follows the page's third link as the viewer's >> does. "With a screen reader": the
# accessibility bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON, which makes the viewer ask the browser engine
# for every page's accessibility tree; the minimal program is given the same engine flag), on a session
# bus of its own with AT-SPI's registry and a listener that takes the events a screen reader takes.
#
# Environment: TORVANE_BENCH_BUILD (build folder, default build), TORVANE_BENCH_SCREEN (default 1280x800).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
turns=${1:-20}
build=${TORVANE_BENCH_BUILD:-$here/build}
exe=$build/bin/torvane
minimal=$build/bin/bench_minimalviewer
screen=${TORVANE_BENCH_SCREEN:-1280x800}
[ -x "$exe" ] && [ -x "$minimal" ] || { echo "bench-pageturn.sh: build $build first" >&2; exit 1; }

# A private X server and a session bus of our own, for the accessibility registry.
if [ -z "${TORVANE_BENCH_DISPLAY_READY:-}" ]; then
  TORVANE_BENCH_DISPLAY_READY=1 exec "$here/tests/with-display.sh" "$screen" dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
group=""
listener=""
stop_group() {
  if [ -n "$group" ]; then
    kill -TERM -- "-$group" 2>/dev/null || true
    for _ in $(seq 50); do pgrep -g "$group" >/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$group" 2>/dev/null || true
    group=""
  fi
}
finish() {
  stop_group
  [ -n "$listener" ] && kill "$listener" 2>/dev/null || true
  if [ -n "${TORVANE_BENCH_KEEP:-}" ]; then echo "traces kept in $work"; else rm -rf "$work"; fi
}
trap finish EXIT
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
unset TORVANE_COURSE_URL TORVANE_TIME_DIVISOR QT_LINUX_ACCESSIBILITY_ALWAYS_ON QTWEBENGINE_CHROMIUM_FLAGS
export TORVANE_TRACE=1

completions() { grep -c 'document-complete' "$1" || true; }

# Runs `program args...` under the name $1 with the accessibility case $2 ("off" or "on") and appends
# one line "name case ms" per timed turn to the results.
measure() {
  local name=$1 case=$2
  shift 2
  local home=$work/home-$name-$case trace=$work/trace-$name-$case.log
  mkdir -p "$home" && mkdir -m 700 -p "$home/run"
  (
    export HOME=$home APPDATA=$home/appdata XDG_RUNTIME_DIR=$home/run
    if [ "$case" = on ]; then
      export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
      [ "$name" = minimal ] && export QTWEBENGINE_CHROMIUM_FLAGS=--force-renderer-accessibility
    fi
    exec setsid "$@" 2>"$trace"
  ) &
  group=$!
  for _ in $(seq 600); do [ "$(completions "$trace")" -ge 1 ] && break; sleep 0.05; done
  sleep 1
  local window
  window=$(xdotool search --sync --onlyvisible --pid "$group" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && xdotool windowactivate --sync "$window" 2>/dev/null || true
  local turn before start done_at
  for turn in $(seq $((turns + 3))); do
    before=$(completions "$trace")
    start=${EPOCHREALTIME/[.,]/}
    xdotool key Next
    for _ in $(seq 400); do [ "$(completions "$trace")" -gt "$before" ] && break; sleep 0.005; done
    done_at=$(grep 'document-complete' "$trace" | sed -n "$((before + 1))p" | awk '{print $2}')
    if [ "$turn" -gt 3 ] && [ -n "$done_at" ]; then
      echo "$name $case $((done_at - start / 1000))" >>"$work/results"
    fi
    sleep 0.4 # the page settles (a module placeholder is replaced) before the next turn
  done
  stop_group
  sleep 1
}

# What the session's accessibility bus says: assistive technology on or off.
assistive_technology() {
  /usr/bin/python3 - "$1" <<'PY'
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
for prop in ("IsEnabled", "ScreenReaderEnabled"):
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", prop, GLib.Variant("b", sys.argv[1] == "on"))),
                  None, Gio.DBusCallFlags.NONE, 5000, None)
PY
}

: >"$work/results"
assistive_technology off
measure minimal off "$minimal" --turn
measure viewer off "$exe"

# The screen reader's side: a client of the registry that takes what Orca takes.
assistive_technology on
/usr/bin/python3 - <<'PY' &
import pyatspi
def take(event):
    pass
for kind in ("object:state-changed:focused", "object:children-changed", "object:text-changed",
             "document:load-complete", "focus:"):
    pyatspi.Registry.registerEventListener(take, kind)
pyatspi.Registry.start()
PY
listener=$!
sleep 2
measure minimal on "$minimal" --turn
measure viewer on "$exe"

summary() {
  awk -v n="$1" -v c="$2" '$1 == n && $2 == c { print $3 }' "$work/results" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR == 0) { print "no turns"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "median %d ms, min %d, max %d (%d turns)", m, v[1], v[NR], NR }'
}
echo "Page turns ($turns a case, screen $screen, $(nproc) cores):"
echo "  minimal program, no screen reader:  $(summary minimal off)"
echo "  viewer, no screen reader:           $(summary viewer off)"
echo "  minimal program, screen reader:     $(summary minimal on)"
echo "  viewer, screen reader:              $(summary viewer on)"
