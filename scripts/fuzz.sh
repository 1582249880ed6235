#!/usr/bin/env bash
# Runs every fuzz target for a while over its seed corpus:
# fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$1"; seconds="$2"
for target in "$dir"/fuzz_* "$dir"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"; name="${name#fuzz_}"
  work="$(mktemp -d)"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
  echo "fuzz $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 "$work" "${seeds[@]}" 2>&1 | tail -n 3
  rm -rf "$work"
done
