#!/usr/bin/env bash
# Installs what is missing, builds Varnow, writes the demo game when it is
# not there yet, and plays it. Extra arguments go to varnow.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DVARNOW_TESTS=OFF -DVARNOW_BENCH=OFF
# The demo is written again when the generator is newer than it, so it
# never lags behind the code (save files in it are kept).
if [ -x build/mkdemo ] && { [ ! -f build/demo/Varnow.ldb ] || [ build/mkdemo -nt build/demo/Varnow.ldb ]; }; then
  build/mkdemo build/demo
fi
# Varnow plays the game in its current folder (see README); without the demo
# it runs here and says that there is no game.
if [ -d build/demo ]; then
  cd build/demo
fi
exec "$root/build/varnow" "$@"
