#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the viewer need.
# Idempotent: only missing packages are installed, and the package lists are refreshed once.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config python3 clang-format
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-multimedia-dev libqt6opengl6-dev
  qt6-speech-dev qt6-speech-speechd-plugin qt6-speech-flite-plugin speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  libxml2-dev libgstreamer-plugins-base1.0-dev
  xvfb xauth xdotool wmctrl x11-utils imagemagick nginx-light openbox openssl time
  xfwm4 dbus-daemon weston xwayland qt6-wayland
  fonts-dejavu-core fonts-liberation
  desktop-file-utils appstream librsvg2-bin dpkg-dev lintian
  at-spi2-core python3-pyatspi
  g++-mingw-w64-x86-64-posix wine wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
