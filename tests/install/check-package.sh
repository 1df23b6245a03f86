#!/usr/bin/env bash
# The Debian package as a learner's machine gets it: builds it from a build folder with cpack, checks
# its control fields, that it holds exactly the installed tree, and that lintian finds no error;
# installs it with apt-get, starts the installed viewer (on the X server of with-display.sh) until its
# contents page has completed, runs the course checker on the installed course when the package has
# one, removes the package with "apt-get purge" and checks that nothing of it is left on the machine.
#   check-package.sh BUILD_DIR CPACK VERSION BUILT_IN_COURSE_URL
# Installing needs root or password-less sudo; without either the test is skipped (status 77).
# A machine that already has a torvane package installed is refused rather than changed.
set -euo pipefail
build=$1 cpack=$2 version=$3 builtInCourse=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "SKIP: installing the package needs root or password-less sudo"
  exit 77
fi
for tool in dpkg-shlibdeps:dpkg-dev lintian:lintian dpkg-parsechangelog:dpkg-dev; do
  command -v "${tool%%:*}" >/dev/null ||
    fail "${tool%%:*} is missing: install the package ${tool#*:} (scripts/install-deps.sh does)"
done
packageState() { dpkg-query -W -f='${db:Status-Status}' torvane 2>/dev/null || true; }
case $(packageState) in
"" | not-installed) ;;
*) fail "a torvane package is already on this machine ($(packageState)); remove it with 'apt-get purge torvane' first" ;;
esac

apt=(env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=300)
work=$(mktemp -d)
chmod 755 "$work" # apt's download user reads the package from here
viewer=""
installed=0
extras=()
cleanup() {
  if [ -n "$viewer" ]; then kill "$viewer" 2>/dev/null || true; wait "$viewer" 2>/dev/null || true; fi
  if [ "$installed" = 1 ]; then
    echo "removing the package after a failure" >&2
    "${sudo[@]}" "${apt[@]}" purge -y torvane ${extras[@]+"${extras[@]}"} >&2 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The package, into a folder of its own: nothing is written into the build folder.
arch=$(dpkg --print-architecture)
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
deb=$work/pkg/torvane_${version}_${arch}.deb
[ -f "$deb" ] || fail "cpack made no torvane_${version}_${arch}.deb: $(cd "$work/pkg" && ls -- *.deb 2>/dev/null)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = torvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
field Maintainer | grep -qE '^[^<>]+ <[^ <>@]+@[^ <>@]+\.[^ <>@]+>$' || fail "Maintainer '$(field Maintainer)' is no name and address"
for name in Section Priority; do
  [ -n "$(field $name)" ] || fail "the package has no $name"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "the package has no long description"
# Every package named as a dependency, alternatives included, without versions.
depends=$(field Depends | tr ',|' '\n\n' | sed -E 's/^ +//; s/[ (].*//' | sort -u)
# The player's GStreamer plugins are loaded at run time: only the declared dependencies bring them.
# The libraries come from dpkg-shlibdeps; without it none of them would be named.
for needed in gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav \
  libc6 libqt6widgets6 libqt6webenginewidgets6 libqt6multimedia6 libxcb1; do
  grep -qxF "$needed" <<<"$depends" || fail "Depends does not name $needed: $(field Depends)"
done

# The package holds the tree "cmake --install" makes with prefix /usr, file for file and link for link.
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
listing() { (cd "$1" && find . -mindepth 1 \( -type d -printf '%y %p\n' \) -o -printf '%y %m %p %l\n' | sort); }
if ! diff <(listing "$work/stage") <(listing "$work/unpacked") >"$work/listing.diff"; then
  cat "$work/listing.diff" >&2
  fail "the package does not hold the installed tree (< installed, > packaged)"
fi
# Every file but the programs and libraries, which the package holds stripped, byte for byte.
while IFS= read -r -d '' file; do
  [ "$(head -c 4 "$work/stage/$file" | od -An -c | tr -d ' ')" = '177ELF' ] && continue
  cmp -s "$work/stage/$file" "$work/unpacked/$file" || fail "$file differs from the installed one"
done < <(cd "$work/stage" && find . -type f -print0)
doc=$work/unpacked/usr/share/doc/torvane
[ -s "$doc/copyright" ] || fail "no /usr/share/doc/torvane/copyright"
gzip -dc "$doc/changelog.gz" >"$work/changelog" || fail "/usr/share/doc/torvane/changelog.gz is not gzip"
latest=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$latest" = "$version" ] ||
  fail "the latest changelog entry (deploy/debian/changelog) is for $latest; the package is $version"

# lintian: no errors. Warnings are shown, not fatal.
if ! lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log" >&2
  fail "lintian reports errors"
fi
grep -v '^running with root privileges' "$work/lintian.log" || true
echo "lintian: $(grep -c '^E:' "$work/lintian.log" || true) errors, $(grep -c '^W:' "$work/lintian.log" || true) warnings"

# Installed with apt-get, which also brings missing dependencies. Recommended packages (the audio
# outputs) are left out, so that the machine gains nothing but what the package needs; whatever apt
# brings besides torvane is removed with it.
"${apt[@]}" install -s --no-install-recommends "$deb" >"$work/simulate.log" 2>&1 ||
  { cat "$work/simulate.log" >&2; fail "apt-get cannot install the package"; }
while read -r _ name _; do
  [ "$name" = torvane ] || extras+=("$name")
done < <(grep '^Inst ' "$work/simulate.log")
if [ ${#extras[@]} -gt 0 ]; then
  echo "NOTE: installing the package also installs ${extras[*]}, which this machine lacks; they are removed afterwards"
fi
installed=1
"${sudo[@]}" "${apt[@]}" install -y --no-install-recommends "$deb" >"$work/apt-install.log" 2>&1 ||
  { cat "$work/apt-install.log" >&2; fail "apt-get install failed"; }
[ "$(packageState)" = installed ] || fail "the package is '$(packageState)' after apt-get install"
dpkg -L torvane | grep -vx '/\.' >"$work/owned"
while IFS= read -r path; do
  grep -qxF "/${path#./}" "$work/owned" || fail "dpkg does not list /${path#./} as the package's"
done < <(cd "$work/unpacked" && find . -mindepth 1)
[ "$(readlink -f /usr/bin/torvane)" = /usr/lib/torvane/torvane ] || fail "/usr/bin/torvane does not lead to /usr/lib/torvane/torvane"
echo "installed: $(wc -l <"$work/owned") paths"

# The installed (stripped) word-list builder makes the installed lists again.
/usr/bin/trvwordlists /usr/share/torvane/course "$work" >"$work/builder.log" 2>&1 ||
  fail "/usr/bin/trvwordlists failed: $(cat "$work/builder.log")"
for list in files.trv words.trv; do
  cmp -s "$work/$list" "/usr/share/torvane/$list" || fail "/usr/share/torvane/$list does not match the installed course"
done

if [ -n "$builtInCourse" ]; then
  echo "built for the course at $builtInCourse: the installed viewer is not started"
else
  # The viewer from the search path, as a learner starts it, with a home of its own.
  home=$work/home
  mkdir -p "$home" && mkdir -m 700 "$home/run"
  trace=$work/trace.log
  env -u TORVANE_COURSE_URL -u TORVANE_TIME_DIVISOR HOME="$home" APPDATA="$home/appdata" XDG_RUNTIME_DIR="$home/run" \
    TORVANE_TRACE=1 QTWEBENGINE_DISABLE_SANDBOX=1 PATH=/usr/bin:/bin torvane 2>"$trace" &
  viewer=$!
  complete='^torvane-trace [0-9]+ document-complete torvane://course/trv_cbt/trv2/trv[a-g]\.trv$'
  for _ in $(seq 600); do
    grep -qE "$complete" "$trace" && break
    kill -0 "$viewer" 2>/dev/null || { cat "$trace" >&2; fail "the installed viewer ended before its contents page completed"; }
    sleep 0.1
  done
  grep -qE "$complete" "$trace" || { cat "$trace" >&2; fail "the installed viewer showed no contents page within 60 s"; }
  kill "$viewer" && wait "$viewer" 2>/dev/null || true
  viewer=""
  echo "installed viewer: $(grep -oE 'document-complete .*' "$trace" | head -n1)"
fi

# The course checker, where the package has one.
if grep -qx /usr/bin/trvcheck "$work/owned"; then
  /usr/bin/trvcheck /usr/share/torvane/course >"$work/trvcheck.log" 2>&1 ||
    { cat "$work/trvcheck.log" >&2; fail "/usr/bin/trvcheck finds faults in the installed course"; }
  echo "trvcheck: the installed course passes"
else
  echo "trvcheck is not in the package: the installed course is not checked"
fi

# Removed again: every file and link of the package is gone, and every folder it had that is still
# there belongs to another package.
"${sudo[@]}" "${apt[@]}" purge -y torvane ${extras[@]+"${extras[@]}"} >"$work/apt-purge.log" 2>&1 ||
  { cat "$work/apt-purge.log" >&2; fail "apt-get purge failed"; }
installed=0
case $(packageState) in
"" | not-installed) ;;
*) fail "the package is '$(packageState)' after apt-get purge" ;;
esac
left=()
while IFS= read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    dpkg -S "$path" >/dev/null 2>&1 || left+=("$path/")
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <"$work/owned"
[ ${#left[@]} -eq 0 ] || fail "left behind after apt-get purge: ${left[*]}"
for folder in /usr/lib/torvane /usr/share/torvane /usr/share/doc/torvane; do
  [ ! -e "$folder" ] || fail "$folder is still there after apt-get purge"
done
echo "removed: nothing of the package is left"
