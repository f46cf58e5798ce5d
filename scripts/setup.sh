#!/usr/bin/env bash
# Installs the Debian packages a command needs, and only those missing:
#   setup.sh native   what building and running the native Linux program needs (and, with
#                     no display, filming it; the Wayland client libraries, protocols
#                     and scanner): no Wine, no mingw-w64
#   setup.sh all      everything the test command needs: both programs, their tests, the
#                     packages and the benchmarks (the default)
set -euo pipefail
profile=${1:-all}

native=(
  cmake g++ make pkg-config zlib1g-dev
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libfltk1.3-dev libxft-dev libfontconfig-dev
  libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev
  fonts-wqy-microhei xvfb xdotool imagemagick x11-utils
)
everything=(
  "${native[@]}"
  clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64 oneko nsis
  openbox x11-xserver-utils xserver-xorg-core xserver-xorg-video-dummy libxtst-dev fonts-dejavu-core
  sway grim xwayland phoc wayland-utils
  dpkg-dev fakeroot lintian file desktop-file-utils iproute2
)
case "$profile" in
  native) packages=("${native[@]}") ;;
  all) packages=("${everything[@]}") ;;
  *) echo "usage: setup.sh [native|all]" >&2; exit 2 ;;
esac

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
