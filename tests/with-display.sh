#!/usr/bin/env bash
# Runs a command on a private X server of the given size, under a window manager as a learner's
# desktop has one:
#   with-display.sh [--bare] 1280x800 command args...
# The window manager is openbox unless TORVANE_TEST_WM names another: "xfwm4" (Xfce's, which places,
# focuses and stacks windows differently), or "none" for a bare X server. --bare always gives a bare
# X server (for tests about the fallbacks used where no window manager runs).
# The display number is chosen by Xvfb itself, so several tests can run at the same time.
set -u
wm=${TORVANE_TEST_WM:-openbox}
if [ "${1:-}" = "--bare" ]; then
  wm=none
  shift
fi
size=$1
shift

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
xvfb=$!
wmpid=""
cleanup() {
  if [ -n "$wmpid" ]; then
    kill "$wmpid" 2>/dev/null
    wait "$wmpid" 2>/dev/null
  fi
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$fdfile"
}
trap cleanup EXIT
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

# Starts the window manager and waits until it has announced itself on the root window.
start_wm() {
  case "$wm" in
  none) return 0 ;;
  openbox) openbox --sm-disable >/dev/null 2>&1 & ;;
  # Xfce's window manager reads its settings over a session bus of its own.
  xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 & ;;
  *)
    echo "with-display.sh: unknown window manager '$wm' (openbox, xfwm4 or none)" >&2
    exit 1
    ;;
  esac
  wmpid=$!
  for _ in $(seq 200); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      return 0
    fi
    sleep 0.05
  done
  echo "with-display.sh: the window manager '$wm' did not start" >&2
  exit 1
}
start_wm
export TORVANE_TEST_WM_RUNNING=$wm
"$@"
