#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the player and the tests need,
# only those that are missing. Needs root (or sudo) when something is missing.
set -euo pipefail

packages=(
  cmake g++ pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools
  libx11-dev           # XInitThreads and the stay-on-top request to the window manager
  libvlc-dev vlc-plugin-base vlc-plugin-video-output
  xvfb xauth
  xdg-utils            # xdg-mime: "Set as default player..."
  dpkg-dev file        # dpkg-shlibdeps and file: the .deb's dependencies (cpack -G DEB)
  desktop-file-utils appstream  # the install test validates the desktop entry and the metainfo
  shared-mime-info     # the media types the desktop entry claims are checked against this database
  x11-utils            # xwininfo: the install test reads the window class
  dbus                 # dbus-daemon: the MPRIS, screen-saver and session-end tests run a private bus
  clang libclang-rt-14-dev   # the sanitizer build of CI's second phase (and the fuzz targets)
  xdotool              # the window tests drag, click and wheel with the real X pointer
  libqt5sql5-sqlite    # the history (resume positions, recent files) is an SQLite file read through Qt SQL
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
