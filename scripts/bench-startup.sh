#!/usr/bin/env bash
# Start-up time and memory footprint of the viewer on the bundled demo course, on a private X server.
#
#   scripts/bench-startup.sh [RUNS]        (default 5, after one warm-up run that is not counted)
#
# Each run first starts the minimal program (bench/minimalviewer.cpp: one browser view, the same scheme,
# the same first page, one script call) and takes the time from its launch to that page, then starts the
# viewer, takes the time from the launch to the completion of the first contents page, then opens every window once as a learner would (Search, Index, History, back to Contents by
# their access keys) and measures the memory of the viewer and of the browser engine's helper processes
# it started. The viewer prints a trace line per completed page when TORVANE_TRACE is set; nothing else
# in it is changed for the measurement. Caches stay warm between runs, and the per-user folders are
# kept from run to run, as for a learner who starts the viewer again.
#
# Environment: TORVANE_BENCH_BUILD (build folder, default build-rel; configure it with
# -DCMAKE_BUILD_TYPE=Release), TORVANE_BENCH_SCREEN (default 1280x800), TORVANE_BENCH_EXE (the viewer,
# default $TORVANE_BENCH_BUILD/bin/torvane, e.g. an installed bin/torvane), TORVANE_BENCH_KEEP=1 keeps the
# work folder with the trace of every run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=${TORVANE_BENCH_BUILD:-$here/build-rel}
exe=${TORVANE_BENCH_EXE:-$build/bin/torvane}
minimal=${TORVANE_BENCH_MINIMAL:-$build/bin/bench_minimalviewer}
screen=${TORVANE_BENCH_SCREEN:-1280x800}

for tool in xdotool Xvfb awk; do
  command -v "$tool" >/dev/null || { echo "bench-startup.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[ -x "$exe" ] || { echo "bench-startup.sh: no viewer at $exe; build it first" >&2; exit 1; }
[ -x "$minimal" ] || { echo "bench-startup.sh: no minimal program at $minimal; build it first" >&2; exit 1; }

# Everything below runs on a private X server of its own.
if [ -z "${TORVANE_BENCH_DISPLAY_READY:-}" ]; then
  TORVANE_BENCH_DISPLAY_READY=1 exec "$here/tests/with-display.sh" "$screen" "$0" "$@"
fi

work=$(mktemp -d)
home=$work/home
mkdir -p "$home" && mkdir -m 700 "$home/run"
group=""
stop_viewer() {
  # The viewer was started in a process group of its own: end it and the helpers it started.
  if [ -n "$group" ]; then
    kill -TERM -- "-$group" 2>/dev/null || true
    for _ in $(seq 50); do
      pgrep -g "$group" >/dev/null || break
      sleep 0.1
    done
    kill -KILL -- "-$group" 2>/dev/null || true
    group=""
  fi
}
# A moment for the machine to become quiet (the last run's processes ending, their files written) before
# the next program starts, the same for both programs.
settle() { sleep 1; }
finish() {
  stop_viewer
  if [ -n "${TORVANE_BENCH_KEEP:-}" ]; then echo "traces kept in $work"; else rm -rf "$work"; fi
}
trap finish EXIT

if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
unset TORVANE_COURSE_URL TORVANE_TIME_DIVISOR
export HOME=$home APPDATA=$home/appdata XDG_RUNTIME_DIR=$home/run TORVANE_TRACE=1

# Waits up to $3 seconds for a line matching the extended pattern $2 in the trace $1; prints its
# time stamp (ms).
await() {
  local line
  for _ in $(seq $(($3 * 20))); do
    line=$(grep -m1 -E "$2" "$1" || true)
    if [ -n "$line" ]; then
      awk '{print $2}' <<<"$line"
      return 0
    fi
    sleep 0.05
  done
  echo "bench-startup.sh: timed out waiting for: $2" >&2
  cat "$1" >&2
  return 1
}

# Presses a key in the window titled exactly $1 and waits until page $2 has completed once more.
press_in() {
  local trace=$1 title=$2 key=$3 page=$4 before window
  before=$(grep -c -E "document-complete .*/$page\$" "$trace" || true)
  # The window found may be gone a moment later (a window of the same caption closing): look again.
  for _ in $(seq 20); do
    window=$(xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n1)
    [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null && break
    sleep 0.1
  done
  xdotool key "$key"
  for _ in $(seq 400); do
    [ "$(grep -c -E "document-complete .*/$page\$" "$trace" || true)" -gt "$before" ] && return 0
    sleep 0.05
  done
  echo "bench-startup.sh: $key in \"$title\" did not complete $page" >&2
  return 1
}

# Memory (kB) of the processes of a group: "main_rss total_rss total_pss total_anon count". RSS counts
# the pages of shared libraries once per process; PSS shares them out; anonymous memory is what the
# processes allocated themselves.
memory_of() {
  local group=$1 main=$2 pid rss pss anon total_rss=0 total_pss=0 total_anon=0 main_rss=0 count=0
  for pid in $(pgrep -g "$group"); do
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)
    anon=$(awk '/^Anonymous:/ {print $2}' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)
    total_rss=$((total_rss + ${rss:-0}))
    total_pss=$((total_pss + ${pss:-0}))
    total_anon=$((total_anon + ${anon:-0}))
    count=$((count + 1))
    [ "$pid" = "$main" ] && main_rss=${rss:-0}
  done
  echo "$main_rss $total_rss $total_pss $total_anon $count"
}

# kB to whole MB, rounded.
mb() { echo $((($1 + 512) / 1024)); }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
contents='document-complete [^ ]*/trv_cbt/trv2/trv[a-g]\.trv$'
results=$work/results
: >"$results"
for run in $(seq 0 "$runs"); do
  trace=$work/minimal-$run.log
  settle
  start=${EPOCHREALTIME/[.,]/}
  setsid "$minimal" 2>"$trace" &
  group=$!
  wait "$group" || true
  first=$(await "$trace" "$contents" 1)
  minimal_ms=$((first - start / 1000))
  # The minimal program's helper processes end after it: neither program starts while the other's run.
  stop_viewer

  trace=$work/trace-$run.log
  settle
  start=${EPOCHREALTIME/[.,]/}
  setsid "$exe" 2>"$trace" &
  group=$!
  first=$(await "$trace" "$contents" 60)
  startup_ms=$((first - start / 1000))

  press_in "$trace" "Torvane" alt+s search.trv
  press_in "$trace" "Torvane - Search" alt+i index.trv
  press_in "$trace" "Torvane - Index" alt+t hist.trv
  press_in "$trace" "Torvane - History" alt+c 'trv[a-g]\.trv'
  # Let the engine settle after the last page before looking at the memory.
  sleep 3
  read -r main_rss total_rss total_pss total_anon count < <(memory_of "$group" "$group")
  stop_viewer

  if [ "$run" -eq 0 ]; then
    printf 'warm-up: first contents page %d ms (minimal program %d ms), %d processes\n' "$startup_ms" "$minimal_ms" "$count"
  else
    printf 'run %d: minimal program %d ms, first contents page %d ms; after every window: viewer %d MB, all %d processes %d MB RSS, %d MB PSS, %d MB anonymous\n' \
      "$run" "$minimal_ms" "$startup_ms" "$(mb "$main_rss")" "$count" "$(mb "$total_rss")" "$(mb "$total_pss")" "$(mb "$total_anon")"
    echo "$startup_ms $main_rss $total_rss $total_pss $total_anon $minimal_ms" >>"$results"
  fi
done

# Median (the middle run; the mean of the two middle ones for an even count), min and max of column $1.
summary() {
  sort -n -k"$1","$1" "$results" | awk -v c="$1" -v scale="$2" '
    { v[NR] = $c / scale }
    END {
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "median %d, min %d, max %d", int(m + 0.5), int(v[1] + 0.5), int(v[NR] + 0.5)
    }'
}
echo
echo "Over $runs runs ($exe, screen $screen, $(nproc) cores, load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after):"
echo "  launch to first contents page completed (ms):     $(summary 1 1)"
echo "  the same for the minimal program (ms):            $(summary 6 1)"
median() {
  sort -n -k"$1","$1" "$results" | awk -v c="$1" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio=$(awk -v a="$(median 1)" -v b="$(median 6)" 'BEGIN { printf "%.2f", a / b }')
echo "  viewer median / minimal program median:           $ratio"
echo "  viewer process RSS after every window (MB):       $(summary 2 1024)"
echo "  all processes RSS after every window (MB):        $(summary 3 1024)"
echo "  all processes PSS after every window (MB):        $(summary 4 1024)"
echo "  all processes anonymous after every window (MB): $(summary 5 1024)"
