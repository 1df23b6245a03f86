#!/usr/bin/env bash
# Runs a command in a Wayland session of the given size, as a learner's desktop may be: weston's headless
# backend with XWayland, on a private runtime folder.
#   under-weston.sh 1280x800 command args...
# The command sees WAYLAND_DISPLAY (a full path, so that programs given another XDG_RUNTIME_DIR still
# reach the compositor), DISPLAY (XWayland's), XDG_SESSION_TYPE=wayland, and no QT_QPA_PLATFORM.
# Ends with 77 (skipped) when weston cannot start at all; a weston without XWayland is a failure.
set -u
size=$1
shift
width=${size%x*}
height=${size#*x}

if ! command -v weston >/dev/null 2>&1; then
  echo "under-weston.sh: weston is not installed" >&2
  exit 77
fi

run=$(mktemp -d) # made 0700: the runtime folder the compositor wants
socket=wayland-torvane
export XDG_RUNTIME_DIR=$run
weston --backend=headless-backend.so --xwayland --idle-time=0 --socket="$socket" \
  --width="$width" --height="$height" --log="$run/weston.log" >/dev/null 2>&1 &
weston=$!
cleanup() {
  kill "$weston" 2>/dev/null
  wait "$weston" 2>/dev/null
  rm -rf "$run"
}
trap cleanup EXIT

display=""
for _ in $(seq 200); do
  if ! kill -0 "$weston" 2>/dev/null; then
    echo "under-weston.sh: weston could not start:" >&2
    cat "$run/weston.log" >&2
    exit 77
  fi
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$run/weston.log" 2>/dev/null | head -n1)
  if [ -S "$run/$socket" ] && [ -n "$display" ]; then
    break
  fi
  sleep 0.05
done
if [ ! -S "$run/$socket" ]; then
  echo "under-weston.sh: weston did not open its socket:" >&2
  cat "$run/weston.log" >&2
  exit 77
fi
if [ -z "$display" ]; then
  echo "under-weston.sh: weston started without XWayland:" >&2
  cat "$run/weston.log" >&2
  exit 1
fi

export WAYLAND_DISPLAY=$run/$socket
export DISPLAY=$display
export XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
"$@"
status=$?
if [ "$status" -ne 0 ]; then
  echo "under-weston.sh: weston's log:" >&2
  cat "$run/weston.log" >&2
fi
exit "$status"
