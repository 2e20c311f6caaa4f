#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing VLX need (only those
# missing), with sudo when not root.
set -euo pipefail
packages=(
  # build
  cmake g++ clang make pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libmpv-dev qt6-webengine-dev
  libarchive-dev libpng-dev libjpeg-dev libgif-dev libtiff-dev libwebp-dev
  libheif-dev libavif-dev libjxl-dev libasound2-dev libglib2.0-dev
  # running: the program's Japanese texts (first-run message, full-width bars)
  fonts-ipafont-gothic
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg xdg-utils dbus-daemon desktop-file-utils appstream libarchive-tools
  xvfb xauth libxcb1-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
