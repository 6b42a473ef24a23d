#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when any is missing.
# Runs apt-get as root, or through sudo for a normal user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqscintilla2-qt6-dev qt6-qpa-plugins
  libpugixml-dev libzip-dev zlib1g-dev libsquish-dev libpng-dev
  libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-dev libxml2-utils
  xvfb xauth imagemagick libnvtt-bin
  g++-mingw-w64-x86-64 wine wine64 xdotool zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
