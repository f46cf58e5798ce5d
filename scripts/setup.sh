#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those missing.
set -euo pipefail

packages=(
  cmake g++ make clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick fonts-wqy-microhei oneko nsis
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libfltk1.3-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
