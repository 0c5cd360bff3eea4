#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR) with two jobs: the given
# targets, or everything. TARN_SANITIZE=1 configures a build with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (use its own BUILD_DIR).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${TARN_SANITIZE:-0}" = 1 ]; then
  options+=(-DTARN_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
fi
cmake -S "$here" -B "$build" "${options[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "${JOBS:-2}" "${targets[@]}"
