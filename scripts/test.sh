#!/usr/bin/env bash
# Installs what is missing, builds Varnow and runs every test: a release
# build with warnings as errors, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs="$(nproc)"

echo "== release build and tests"
bash scripts/build.sh build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOW_WERROR=ON
ctest --test-dir build-test --output-on-failure -j"$jobs"

echo "== sanitizer build and tests"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNOW_SANITIZE=ON -DVARNOW_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

if ls fuzz/*.cpp >/dev/null 2>&1; then
  echo "== fuzz targets (short runs)"
  bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVARNOW_FUZZ=ON -DVARNOW_TESTS=OFF -DVARNOW_BENCH=OFF -DVARNOW_TOOLS=OFF
  bash scripts/fuzz.sh build-fuzz 10
fi
