#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a private Xvfb.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh"
build="${BUILD_DIR:-$here/build}"

# A display of our own: the first free number from 90 on.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done

export DISPLAY=":$display"
unset WAYLAND_DISPLAY
cd "$build"
# One test at a time: the GUI tests move the real X pointer and would steer
# each other's windows on the shared display.
ctest --output-on-failure "$@"
