#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tarnwick, then starts the app, runs every
# test or makes the package. Safe to run again: packages and builds are reused.
#
#   tools/setup.sh run    install, build (Release) and start tarnwick
#   tools/setup.sh test   install, build (Release and ASan+UBSan) and run all tests
#   tools/setup.sh deb    install, build (Release) and make the Debian package in build/
#
# `cpack -G DEB` in build/ makes a package that installs under /usr, whatever
# the build's install prefix; the plain configure here keeps /usr/local for
# `cmake --install`, and the package test proves the package right from it.
set -euo pipefail

mode=${1:-}
case "$mode" in run | test | deb) ;; *) echo "usage: $0 run|test|deb" >&2; exit 2 ;; esac
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  xdg-utils
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6-dev libgl-dev libxkbcommon-dev libxcb1-dev
  qt6-l10n-tools qt6-tools-dev
  libzxing-dev libtesseract-dev tesseract-ocr-eng qt6-image-formats-plugins libsqlite3-dev
  libwayland-dev libwayland-bin
  desktop-file-utils appstream dpkg-dev
  qrencode zint zbar-tools tesseract-ocr
  libbenchmark-dev fonts-dejavu-core time
  xvfb xauth xclip xdotool trayer x11-apps x11-utils libglib2.0-bin imagemagick dbus openssl
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  kwin-wayland wl-clipboard libkf5globalaccel-bin
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get update -q
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {  # build <dir> <cmake args...>
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DTARNWICK_WERROR=ON "$@"
  cmake --build "$dir" -j"$(nproc)"
}

run_tests() {  # run_tests <dir>
  xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- \
    ctest --test-dir "$1" --output-on-failure -j2 --timeout 300
}

install_packages
build build -DCMAKE_BUILD_TYPE=Release

if [ "$mode" = run ]; then
  exec ./build/tarnwick
fi
if [ "$mode" = deb ]; then
  (cd build && cpack -G DEB)
  exit
fi

run_tests build
build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON -DTARNWICK_BUILD_BENCH=OFF
run_tests build-asan
