#!/usr/bin/env bash
# Installs what is missing, builds Varnow, writes the demo game when it is
# not there yet, and plays it in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DVARNOW_TESTS=OFF -DVARNOW_BENCH=OFF
if [ -x build/mkdemo ] && [ ! -f build/demo/Varnow.ldb ]; then
  build/mkdemo build/demo
fi
if [ -d build/demo ]; then
  cd build/demo
fi
exec "$OLDPWD/build/varnow" "$@"
