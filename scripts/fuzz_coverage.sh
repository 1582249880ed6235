#!/usr/bin/env bash
# Line coverage of the fuzz corpora, per folder of src/:
#   bash scripts/fuzz_coverage.sh [-b BUILD_DIR] [-t TARGET]... [EXTRA]...
# builds the fuzz targets with clang's source-based coverage in BUILD_DIR
# (build-fuzz-coverage), replays each target's seeds (fuzz/corpus/TARGET)
# and any extra inputs, and prints the lines covered in each folder of src/.
#   -t TARGET      replay only this target (repeatable; default every target)
#   EXTRA          NAME=DIR adds the inputs in DIR to target NAME (a libFuzzer
#                  work folder, say); a plain DIR holds one folder of inputs
#                  per target, laid out as fuzz/corpus is
# Example, after campaigns whose work folders are w1, w2, w3:
#   bash scripts/fuzz_coverage.sh -t battle_scene -t menu_scenes -t field_script \
#     battle_scene=w1 menu_scenes=w2 field_script=w3
# Only the sources linked into a replayed target count. The per-file table and
# the merged profile stay in BUILD_DIR/coverage.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-fuzz-coverage
targets=()
while getopts "b:t:h" opt; do
  case "$opt" in
    b) dir="$OPTARG" ;;
    t) targets+=("$OPTARG") ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
extras=("$@")

# The profile tools must match the compiler's version.
version="$(clang++ -dumpversion 2>/dev/null | cut -d. -f1 || true)"
bash scripts/deps.sh ${version:+llvm-$version}
profdata="$(command -v "llvm-profdata-$version" || command -v llvm-profdata)"
cov="$(command -v "llvm-cov-$version" || command -v llvm-cov)"

flags="-fprofile-instr-generate -fcoverage-mapping"
launcher="$(command -v ccache || true)"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  ${launcher:+-DCMAKE_C_COMPILER_LAUNCHER="$launcher" -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVARNOW_FUZZ=ON -DVARNOW_TESTS=OFF -DVARNOW_BENCH=OFF -DVARNOW_TOOLS=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
if [ ${#targets[@]} -eq 0 ]; then
  cmake --build "$dir" -j"${JOBS:-$(nproc)}" >"$dir/build.log" || { tail -n 30 "$dir/build.log"; exit 1; }
  for target in "$dir"/fuzz/fuzz_*; do
    [ -x "$target" ] && targets+=("$(basename "${target#"$dir"/fuzz/fuzz_}")")
  done
else
  cmake --build "$dir" -j"${JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}" >"$dir/build.log" ||
    { tail -n 30 "$dir/build.log"; exit 1; }
fi

out="$dir/coverage"
rm -rf "$out"
mkdir -p "$out/raw"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
objects=()
for name in "${targets[@]}"; do
  binary="$dir/fuzz/fuzz_$name"
  inputs=()
  [ -d "fuzz/corpus/$name" ] && inputs+=("fuzz/corpus/$name")
  for extra in "${extras[@]}"; do
    if [[ "$extra" == "$name="* ]]; then
      inputs+=("${extra#*=}")
    elif [[ "$extra" != *=* && -d "$extra/$name" ]]; then
      inputs+=("$extra/$name")
    fi
  done
  [ ${#inputs[@]} -gt 0 ] || continue
  count="$(find "${inputs[@]}" -type f | wc -l)"
  echo "replay $name: $count inputs"
  # -runs=0 runs every input once and mutates nothing, so no folder is written.
  # An input that fails still leaves the others' coverage (each run writes
  # its own profile at exit; a run stopped by a finding writes none).
  if ! LLVM_PROFILE_FILE="$out/raw/$name-%p.profraw" "$binary" -runs=0 -timeout=30 -rss_limit_mb=4096 \
      -max_len=65536 "${inputs[@]}" >"$out/$name.log" 2>&1; then
    echo "  $name stopped on an input; see $out/$name.log"
  fi
  objects+=(-object "$binary")
done
ls "$out"/raw/*.profraw >/dev/null 2>&1 || { echo "no profiles were written"; exit 1; }

"$profdata" merge -sparse "$out"/raw/*.profraw -o "$out/merged.profdata"
"$cov" report "${objects[@]:1}" -instr-profile="$out/merged.profdata" >"$out/files.txt"
# Lines found (LF) and hit (LH) of each source file, summed by its folder.
"$cov" export -format=lcov -skip-functions "${objects[@]:1}" -instr-profile="$out/merged.profdata" |
  awk -v root="$(pwd -P)/" '
    # A path with its "x/.." steps taken out (ccache may give paths through
    # the build folder).
    function clean(path,    n, parts, out, i, k) {
      n = split(path, parts, "/"); k = 0
      for (i = 1; i <= n; ++i) {
        if (parts[i] == "" || parts[i] == ".") continue
        if (parts[i] == ".." && k > 0) { --k; continue }
        out[++k] = parts[i]
      }
      path = ""
      for (i = 1; i <= k; ++i) path = path "/" out[i]
      return path
    }
    /^SF:/ { file = clean(substr($0, 4))
             keep = index(file, root "src/") == 1; file = substr(file, length(root) + 1) }
    /^LF:/ && keep { n = split(file, parts, "/"); folder = parts[1];
                     for (i = 2; i < n; ++i) folder = folder "/" parts[i]; found[folder] += substr($0, 4) }
    /^LH:/ && keep { hit[folder] += substr($0, 4) }
    END {
      printf "%-28s %8s %8s %7s\n", "folder", "lines", "covered", "%"
      for (f in found) if (found[f] > 0) printf "%-28s %8d %8d %6.1f%%\n", f, found[f], hit[f], 100 * hit[f] / found[f] | "sort"
    }'
