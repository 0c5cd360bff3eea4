#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player on the given file,
# or on the bundled sample clip when no file is given.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh" player-tarn
build="${BUILD_DIR:-$here/build}"

file="${1:-$here/resources/sample/sample.mp4}"
case "$file" in
  *://*|/*) ;;
  *) file="$PWD/$file" ;;
esac
exec "$build/app/player-tarn" --start "$file"
