#!/usr/bin/env bash
# Runs every libFuzzer target under fuzz/ for a short time (the given number of
# seconds each, 30 by default) on its committed corpus, in a build of its own
# with clang (./build-fuzz, or $FUZZ_BUILD_DIR). New inputs go to a working
# copy, fuzz/corpus-run-<target>/, kept out of git; a crash, a sanitizer
# report or an input slower than 10 s ends the run with a failure, its input
# saved in the build folder.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
build="${FUZZ_BUILD_DIR:-$here/build-fuzz}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_BUILD_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=()
for dir in "$here"/fuzz/*/; do
  [ -f "$dir/CMakeLists.txt" ] && targets+=("$(basename "$dir")")
done
build_args=()
for t in "${targets[@]}"; do build_args+=(--target "fuzz_$t"); done
cmake --build "$build" -j "${JOBS:-2}" "${build_args[@]}"
for t in "${targets[@]}"; do
  run="$here/fuzz/corpus-run-$t"
  mkdir -p "$run"
  dict=("$here/fuzz/$t"/*.dict)
  log="$build/fuzz-$t.log"
  echo "fuzz: $t for $seconds s"
  if ! "$build/fuzz/$t/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict="${dict[0]}" -artifact_prefix="$build/fuzz-$t-" "$run" "$here/fuzz/$t/corpus" >"$log" 2>&1; then
    cat "$log"
    echo "fuzz: $t failed (input saved as $build/fuzz-$t-*)" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$log" || true
done
