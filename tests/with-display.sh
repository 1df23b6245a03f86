#!/usr/bin/env bash
# Runs a command on a private X server of the given size: with-display.sh 1280x800 command args...
# The display number is chosen by Xvfb itself, so several tests can run at the same time.
set -u
size=$1
shift
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fdfile"' EXIT
for _ in $(seq 100); do
  [ -s "$fdfile" ] && break
  sleep 0.05
done
display=$(head -n1 "$fdfile")
if [ -z "$display" ]; then
  echo "with-display.sh: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb
"$@"
