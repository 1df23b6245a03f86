#!/usr/bin/env bash
# Installs a build the way a package does (DESTDIR staging, prefix /usr), checks that every file lies
# where the installed viewer looks for it and that nothing else is installed, validates the desktop
# entry and the software-centre description, and starts the installed viewer (on the X server of
# with-display.sh) far enough to see it open its bundled course and read its word lists.
#   check-install.sh BUILD_DIR APP_ID BUILT_IN_COURSE_URL "PNG ICON SIZES"
set -euo pipefail
build=$1 id=$2 builtInCourse=$3 sizes=$4
work=$(mktemp -d)
viewer=""
cleanup() {
  if [ -n "$viewer" ]; then kill "$viewer" 2>/dev/null || true; wait "$viewer" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

stage=$work/stage
root=$stage/usr
if ! DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install failed"
fi

# Where everything lies. The viewer's own folder is lib/torvane: the executable and links to the
# course and lists in share/torvane. Anything else installed (a test program, a library) is a fault.
expected=(
  bin/torvane bin/trvwordlists bin/trvcheck
  lib/torvane/torvane lib/torvane/torvane-viewer.so lib/torvane/course lib/torvane/files.trv lib/torvane/words.trv
  share/torvane/files.trv share/torvane/words.trv
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/doc/torvane/copyright share/doc/torvane/changelog.gz
  share/man/man1/torvane.1.gz share/man/man1/trvwordlists.1.gz share/man/man1/trvcheck.1.gz
)
for size in $sizes; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for path in "${expected[@]}"; do
  [ -e "$root/$path" ] || fail "$path is not installed (or is a dangling link)"
done
[ "$(ls -A "$stage")" = usr ] || fail "files installed outside the prefix: $(ls -A "$stage")"
while IFS= read -r path; do
  case $path in share/torvane/course/*) continue ;; esac
  printf '%s\n' "${expected[@]}" | grep -qxF -- "$path" || fail "unexpected file installed: $path"
done < <(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)

links=(
  "bin/torvane ../lib/torvane/torvane"
  "lib/torvane/course ../../share/torvane/course"
  "lib/torvane/files.trv ../../share/torvane/files.trv"
  "lib/torvane/words.trv ../../share/torvane/words.trv"
)
for link in "${links[@]}"; do
  read -r path target <<<"$link"
  [ "$(readlink "$root/$path" || true)" = "$target" ] || fail "$path should be a relative link to $target"
done
[ -f "$root/lib/torvane/torvane" ] && [ ! -L "$root/lib/torvane/torvane" ] && [ -x "$root/lib/torvane/torvane" ] ||
  fail "lib/torvane/torvane is not an executable file"
[ -x "$root/bin/trvwordlists" ] || fail "bin/trvwordlists is not executable"
[ -x "$root/bin/trvcheck" ] || fail "bin/trvcheck is not executable"
diff -r "$build/bin/course" "$root/share/torvane/course" >/dev/null || fail "the installed course differs from the built one"
for list in files.trv words.trv; do
  [ -s "$root/share/torvane/$list" ] || fail "share/torvane/$list is empty"
done
# The installed lists belong to the installed course: the installed builder makes them again alike.
"$root/bin/trvwordlists" "$root/lib/torvane/course" "$work" >"$work/builder.log" 2>&1 ||
  fail "installed trvwordlists failed: $(cat "$work/builder.log")"
for list in files.trv words.trv; do
  cmp -s "$work/$list" "$root/share/torvane/$list" || fail "installed $list does not match the installed course"
done

desktop=$root/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" || fail "appstreamcli rejects $id.metainfo.xml"
# The installed tree as a whole: the description, its launcher and the icon it names belong together.
appstreamcli validate-tree --no-net "$stage" || fail "appstreamcli rejects the installed tree"
grep -qx "Exec=torvane" "$desktop" || fail "the desktop entry does not start bin/torvane"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not launch $id.desktop"

if [ -n "$builtInCourse" ]; then
  echo "built for the course at $builtInCourse: the installed viewer is not started"
  exit 0
fi

# The installed viewer, through bin/torvane, on its bundled course.
home=$work/home
mkdir -p "$home" && mkdir -m 700 "$home/run"
trace=$work/trace.log
env -u TORVANE_COURSE_URL HOME="$home" APPDATA="$home/appdata" XDG_RUNTIME_DIR="$home/run" TORVANE_TRACE=1 \
  QTWEBENGINE_DISABLE_SANDBOX=1 "$root/bin/torvane" 2>"$trace" &
viewer=$!

# Waits up to $2 seconds for a trace line matching the extended pattern $1.
await() {
  for _ in $(seq $(($2 * 10))); do
    grep -qE "$1" "$trace" && return 0
    kill -0 "$viewer" 2>/dev/null || { cat "$trace" >&2; fail "the viewer ended while waiting for: $1"; }
    sleep 0.1
  done
  cat "$trace" >&2
  fail "no trace line matching: $1"
}
await '^torvane-trace [0-9]+ document-complete torvane://course/trv_cbt/trv2/trv[a-g]\.trv$' 40

# The Search button (Alt+S) opens the search window, which reads both lists from the program folder.
window=$(xdotool search --sync --onlyvisible --name '^Torvane$' | head -n1)
xdotool windowfocus --sync "$window" key alt+s
programdir=$root/lib/torvane
await "^torvane-trace [0-9]+ list-read $programdir/files\.trv [1-9][0-9]*$" 20
await "^torvane-trace [0-9]+ list-read $programdir/words\.trv [1-9][0-9]*$" 20
pages=$(grep -oE "list-read $programdir/files\.trv [0-9]+" "$trace" | awk '{print $3}')
records=$(($(grep -c $'\r$' "$root/share/torvane/files.trv")))
[ "$pages" -eq "$records" ] || fail "the viewer read $pages records of files.trv, which has $records"
echo "installed viewer: contents page shown, $pages pages read from $programdir/files.trv"
