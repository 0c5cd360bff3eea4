#!/usr/bin/env bash
# Start-up figures of the player, measured from outside, side by side in one
# run (ABAB...), medians of N rounds:
#  - launch to mapped window and the resident memory 3 s later, against VLC's
#    own Qt interface when it is installed (vlc-bin, vlc-plugin-qt);
#  - launch to mapped window with a session bus of its own (dbus-daemon), to
#    show that the desktop integration does not delay the window;
#  - launch with a start file to first picture on screen, with the shared
#    ttff tool, against a bare libvlc program playing the same red clip.
# Settings go to a temporary folder; audio to the tests' silent device.
# Use: bench/launch/launch.sh [rounds]   (after a build; starts its own Xvfb)
#      PICTURE_ONLY=1 bench/launch/launch.sh [rounds]: the first-picture runs alone
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
rounds="${1:-9}"
# The shared tools lie beside the main checkout, or two levels up from a worktree.
ttff_source="${TTFF_SOURCE:-$root/../shared/tools/ttff.c}"
[ -f "$ttff_source" ] || ttff_source="$root/../../shared/tools/ttff.c"

work="$(mktemp -d)"
chmod 755 "$work"
bus=""
trap 'kill "$xvfb" $bus 2>/dev/null || true; rm -rf "$work"' EXIT
display=120
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
sleep 0.2
export DISPLAY=":$display" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
export ALSA_CONFIG_PATH="$root/tests/data/media/alsa-null.conf" PLAYER_TARN_SERVER=http://127.0.0.1:1
# VLC refuses to run as root: as root, both programs run as nobody.
as=()
if [ "$(id -u)" -eq 0 ]; then
  as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
fresh() {
  rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  [ ${#as[@]} -eq 0 ] || chown 65534:65534 "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
}
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

player=("${as[@]}" "$build/app/player-tarn")
vlc=()
command -v vlc >/dev/null && vlc=("${as[@]}" vlc -I qt --no-qt-privacy-ask --no-qt-recentplay --no-video-title-show)

# A session bus for the runs that have one, reachable by the user they run as.
bus_address=""
if command -v dbus-daemon >/dev/null; then
  fresh
  mkdir -p "$work/bus.d"
  [ ${#as[@]} -eq 0 ] || chown 65534:65534 "$work/bus.d"
  bus_address="unix:path=$work/bus.d/bus"
  "${as[@]}" dbus-daemon --session --nofork --nopidfile --address="$bus_address" &
  bus=$!
  sleep 0.3
fi

: >"$work/tarn" ; : >"$work/vlc" ; : >"$work/tarn-bus"
for _ in $(seq "$([ -n "${PICTURE_ONLY:-}" ] && echo 0 || echo "$rounds")"); do
  fresh
  "$build/bench/launch/mapwait" 10000 3000 "${player[@]}" >>"$work/tarn"
  if [ -n "$bus_address" ]; then
    fresh
    DBUS_SESSION_BUS_ADDRESS="$bus_address" "$build/bench/launch/mapwait" 10000 0 "${player[@]}" >>"$work/tarn-bus"
  fi
  if [ ${#vlc[@]} -gt 0 ]; then
    fresh
    "$build/bench/launch/mapwait" 10000 3000 "${vlc[@]}" >>"$work/vlc"
  fi
done
if [ -s "$work/tarn" ]; then
  t_ms=$(cut -d' ' -f1 "$work/tarn" | median); t_kb=$(cut -d' ' -f2 "$work/tarn" | median)
  echo "player-tarn: launch to window ${t_ms} ms, idle RSS ${t_kb} kB (median of $rounds, no session bus)"
fi
if [ -s "$work/tarn-bus" ]; then
  echo "player-tarn: launch to window $(cut -d' ' -f1 "$work/tarn-bus" | median) ms with a session bus"
fi
if [ -s "$work/vlc" ]; then
  v_ms=$(cut -d' ' -f1 "$work/vlc" | median); v_kb=$(cut -d' ' -f2 "$work/vlc" | median)
  echo "vlc -I qt:   launch to window ${v_ms} ms, idle RSS ${v_kb} kB"
  awk -v a="$t_ms" -v b="$v_ms" -v c="$t_kb" -v d="$v_kb" \
    'BEGIN {printf "ratios: launch %.2f, idle memory %.2f\n", a / b, c / d}'
fi

# The first-picture runs have the session bus a desktop gives (without one,
# libdbus tries to start a bus at every connection, which no desktop pays).
if [ -f "$ttff_source" ]; then
  [ -z "$bus_address" ] || export DBUS_SESSION_BUS_ADDRESS="$bus_address"
  gcc -O2 "$ttff_source" -o "$work/ttff" -lX11
  clip="$here/red.mp4"
  : >"$work/ttff-tarn" ; : >"$work/ttff-bare"
  for _ in $(seq "$rounds"); do
    fresh
    "$work/ttff" 10000 "${player[@]}" --start "$clip" >>"$work/ttff-tarn"
    "$work/ttff" 10000 "${as[@]}" "$build/bench/launch/bare_libvlc_player" "$clip" >>"$work/ttff-bare"
  done
  a=$(median <"$work/ttff-tarn"); b=$(median <"$work/ttff-bare")
  echo "launch to first picture: player-tarn ${a} ms, bare libvlc ${b} ms"
  awk -v a="$a" -v b="$b" 'BEGIN {printf "ratio %.2f\n", a / b}'
fi
