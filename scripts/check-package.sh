#!/usr/bin/env bash
# The manual check of the Debian package on a clean system: builds the .deb,
# installs it with apt into a fresh Debian 12 (debootstrap, minbase) and starts
# the installed player there on the bundled sample, under an Xvfb of the host.
# Leaves a screenshot in the package check folder for a look at the picture.
#
# Needs root, debootstrap, xwd (x11-apps) and network access to the Debian mirror. Slow (a few
# minutes); not part of the test suite. Usage: sudo scripts/check-package.sh [dir]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
work="${1:-/var/tmp/player-tarn-package-check}"
root="$work/root"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

"$here/scripts/build.sh" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/player-tarn_*.deb | head -n 1)
dpkg-deb --field "$deb" Depends

mkdir -p "$work"
if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log"
fi

display=120
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
mkdir -p "$root/tmp/.X11-unix"
cleanup() {
  kill "$xvfb_pid" 2>/dev/null || true
  umount "$root/tmp/.X11-unix" "$root/dev" "$root/proc" 2>/dev/null || true
}
trap cleanup EXIT
mount --bind /proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

cp "$deb" "$here/resources/sample/sample.mp4" "$root/tmp/"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y "/tmp/$(basename "$deb")" \
  >"$work/install.log" 2>&1
echo "installed: $(grep -c '^Setting up' "$work/install.log") packages set up"

# Started as an ordinary user, as a desktop would.
chroot "$root" sh -c 'id tarn >/dev/null 2>&1 || useradd -m tarn
  install -d -o tarn -m 700 /tmp/runtime-tarn'
chroot "$root" su tarn -c "DISPLAY=:$display XDG_RUNTIME_DIR=/tmp/runtime-tarn player-tarn --start /tmp/sample.mp4" \
  >"$work/player.log" 2>&1 &
# The sample lasts 5 s: the picture is taken while it plays.
sleep 3
DISPLAY=":$display" xwd -root -silent >"$work/screen.xwd"
pkill -f "player-tarn --start /tmp/sample.mp4" || true
echo "screenshot: $work/screen.xwd (convert xwd:$work/screen.xwd screen.png)"
