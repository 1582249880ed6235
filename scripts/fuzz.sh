#!/usr/bin/env bash
# Runs every fuzz target for a while over its seed corpus:
# fuzz.sh BUILD_DIR SECONDS
# An input that crashes, overflows, or runs longer than ten seconds, fails the run; the
# input is kept in BUILD_DIR/fuzz-artifacts and the log's end is shown.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$1"; seconds="$2"
artifacts="$dir/fuzz-artifacts"
# Undefined behaviour (an overflow, a bad shift) is a finding like a crash:
# without this the sanitizer only prints it and the run goes on.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
mkdir -p "$artifacts"
status=0
for target in "$dir"/fuzz_* "$dir"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"; name="${name#fuzz_}"
  work="$(mktemp -d)"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
  echo "fuzz $name for ${seconds}s"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$artifacts/$name-" "$work" "${seeds[@]}" >"$work.log" 2>&1; then
    tail -n 3 "$work.log"
  else
    tail -n 40 "$work.log"
    echo "fuzz $name FAILED (input kept in $artifacts)"
    status=1
  fi
  rm -rf "$work" "$work.log"
done
exit "$status"
