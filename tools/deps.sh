#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libsdl2-dev libxcb-xkb-dev libpng-dev libjpeg-dev zlib1g-dev
  xvfb xdotool x11-utils x11-xkb-utils openbox weston qt6-wayland xwayland imagemagick
  fonts-liberation
  libx11-dev libxtst-dev libxdamage-dev python3 valgrind
  dpkg-dev file lintian desktop-file-utils appstream librsvg2-bin
  pulseaudio pulseaudio-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
