#!/usr/bin/env bash
# Installs the Debian packages Varnow needs to build, run and test, skipping
# those already installed. apt-get update runs only when something is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libbenchmark-dev zlib1g-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont libmpg123-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  libfreetype-dev xfonts-shinonome xfonts-base xfonts-wqy xfonts-baekmuk
  xvfb xdotool
)

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}

missing=()
for p in "${PACKAGES[@]}" "$@"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
