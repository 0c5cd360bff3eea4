#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR) with two jobs: the given
# targets, or everything.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "${JOBS:-2}" "${targets[@]}"
