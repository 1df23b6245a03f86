#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzzing build (TORVANE_BUILD_FUZZ=ON, see scripts/test-sanitizers.sh).
#
#   scripts/fuzz.sh [--build DIR] SECONDS [TARGET...]   fuzz each target (all by default) for SECONDS
#   scripts/fuzz.sh [--build DIR] --replay [TARGET...]  run every seed and regression input once
#
# Targets are named without their "fuzz_" prefix (wordlists, history, commandline, narration, pagenames,
# navigation). New corpus inputs go to DIR/fuzz/work/<target>/corpus, findings to .../artifacts/; the
# seeds in fuzz/corpus/ are never written. Prints executions, speed, coverage and findings per target;
# exits 1 when any target found something.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build-san
replay=0
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --replay) replay=1; shift ;;
    *) break ;;
  esac
done
seconds=0
if [ $replay -eq 0 ]; then
  if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
  fi
  seconds=$1
  shift
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(wordlists history commandline narration pagenames navigation)
fi

# Any sanitizer report ends the input as a finding; keep what the caller chose.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:abort_on_error=1:print_stacktrace=1}

status=0
printf '%-12s %10s %9s %7s %7s %9s\n' target runs exec/s cov ft findings
for t in "${targets[@]}"; do
  exe=$build/bin/fuzz_$t
  if [ ! -x "$exe" ]; then
    echo "fuzz.sh: $exe not built (configure with -DTORVANE_BUILD_FUZZ=ON)" >&2
    status=1
    continue
  fi
  work=$build/fuzz/work/$t
  mkdir -p "$work/corpus" "$work/artifacts"
  inputs=()
  for d in "$here/fuzz/regressions/$t" "$here/fuzz/corpus/$t"; do
    [ -d "$d" ] && inputs+=("$d")
  done
  dict=()
  [ -f "$here/fuzz/dict/$t.dict" ] && dict=("-dict=$here/fuzz/dict/$t.dict")
  log=$work/last.log
  if [ $replay -eq 1 ]; then
    "$exe" -runs=0 "${inputs[@]}" >"$log" 2>&1
  else
    before=$(ls "$work/artifacts" | wc -l)
    "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
      "${dict[@]}" "$work/corpus" "${inputs[@]}" >"$log" 2>&1
  fi
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  if [ $replay -eq 1 ]; then
    runs=$(grep -o '^Done [0-9]* runs' "$log" | cut -d' ' -f2)
    findings=$([ $rc -eq 0 ] && echo 0 || echo 1)
  else
    findings=$(($(ls "$work/artifacts" | wc -l) - before))
    [ $rc -ne 0 ] && [ "$findings" -eq 0 ] && findings=1
  fi
  printf '%-12s %10s %9s %7s %7s %9s\n' "$t" "${runs:--}" "${speed:--}" "${cov:--}" "${ft:--}" "$findings"
  if [ $rc -ne 0 ] || [ "$findings" -ne 0 ]; then
    status=1
    echo "--- $t: exit $rc, log $log" >&2
    grep -E 'ERROR|invariant broken|runtime error|SUMMARY|Test unit written|^  ' "$log" | head -20 >&2
  fi
done
exit $status
