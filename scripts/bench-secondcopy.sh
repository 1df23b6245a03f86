#!/usr/bin/env bash
# Time and peak memory of a second copy whose job needs no page, beside a running viewer, on a private
# X server:
#
#   scripts/bench-secondcopy.sh [RUNS]        (default 10, after one warm-up run of each that is not counted)
#
# The viewer is started once on the bundled demo course; then each command line is run RUNS times, one
# after the other: an empty line (brings the viewer to the front), "/PRAC=1" (starts a chapter test that
# is not installed) and a line that names no job. Each copy is timed from its launch to its end, and its
# peak resident memory is read by GNU time.
#
# Environment: TORVANE_BENCH_BUILD (build folder, default build-rel), TORVANE_BENCH_EXE (the viewer).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
build=${TORVANE_BENCH_BUILD:-$here/build-rel}
exe=${TORVANE_BENCH_EXE:-$build/bin/torvane}

[ -x /usr/bin/time ] || { echo "bench-secondcopy.sh: GNU time is missing (scripts/install-deps.sh)" >&2; exit 1; }
[ -x "$exe" ] || { echo "bench-secondcopy.sh: no viewer at $exe; build it first" >&2; exit 1; }
if [ -z "${TORVANE_BENCH_DISPLAY_READY:-}" ]; then
  TORVANE_BENCH_DISPLAY_READY=1 exec "$here/tests/with-display.sh" 1280x800 "$0" "$@"
fi

work=$(mktemp -d)
mkdir -p "$work/home" && mkdir -m 700 "$work/home/run"
viewer=""
finish() {
  [ -n "$viewer" ] && kill -TERM -- "-$viewer" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
unset TORVANE_COURSE_URL TORVANE_TIME_DIVISOR
export HOME=$work/home APPDATA=$work/home/appdata XDG_RUNTIME_DIR=$work/home/run TORVANE_TRACE=1

setsid "$exe" 2>"$work/viewer.log" &
viewer=$!
for _ in $(seq 600); do
  grep -q -E 'document-complete [^ ]*/trv[a-g]\.trv$' "$work/viewer.log" && break
  sleep 0.1
done
grep -q -E 'document-complete' "$work/viewer.log" || { echo "bench-secondcopy.sh: the viewer did not start" >&2; exit 1; }

# One copy: "<milliseconds> <peak KB>".
one() {
  local start end
  start=${EPOCHREALTIME/[.,]/}
  /usr/bin/time -f '%M' -o "$work/time" "$exe" "$@" 2>/dev/null
  end=${EPOCHREALTIME/[.,]/}
  echo "$(((end - start) / 1000)) $(cat "$work/time")"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "Second copies beside a running viewer, $runs runs each ($exe, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)):"
for line in "" "/PRAC=1" "no-such-job"; do
  one $line >/dev/null # warm-up
  : >"$work/results"
  for _ in $(seq "$runs"); do one $line >>"$work/results"; done
  printf '  %-14s launch to end median %s ms (max %s), peak resident median %s MB (max %s)\n' \
    "\"$line\"" "$(cut -d' ' -f1 "$work/results" | median)" "$(cut -d' ' -f1 "$work/results" | sort -n | tail -1)" \
    "$(cut -d' ' -f2 "$work/results" | median | awk '{ printf "%.0f", $1 / 1024 }')" \
    "$(cut -d' ' -f2 "$work/results" | sort -n | tail -1 | awk '{ printf "%.0f", $1 / 1024 }')"
done
