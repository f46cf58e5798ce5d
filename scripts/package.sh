#!/usr/bin/env bash
# Builds the release: the zip (tuvo.exe, the user README and a screenshot of the cat on a
# desktop, taken from the real program under Wine), from the same tuvo.exe and README the
# per-user installer tuvo-setup-VERSION.exe (packaging/tuvo.nsi, NSIS), and the Linux
# program's Debian package tuvo_VERSION_ARCH.deb (CPack, packaging/linux).
#   scripts/package.sh WINDOWS_BUILD [OUT_DIR]
#   scripts/package.sh --deb NATIVE_BUILD [OUT_DIR]
# The first form takes the native build whose artwork the Windows build uses (its
# TUVO_ART_DIR), which must be a Release build; run it inside the environment of
# scripts/wine-env.sh (DISPLAY, WINEPREFIX set) or on its own, when it starts one. It
# prints the zip's path, then the installer's, then the package's; OUT_DIR defaults to
# WINDOWS_BUILD/release. The second form makes the Debian package alone, configuring
# NATIVE_BUILD as a Release build when it is not configured yet, and prints its path;
# OUT_DIR defaults to NATIVE_BUILD/release. The package needs dpkg-shlibdeps (dpkg-dev).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^#define TUVO_VERSION_TEXT "\(.*\)"$/\1/p' "$root/resources/version.h")

# Builds the Release build $1 (CPack's install would otherwise build it one job at a time)
# and makes the package in $2; prints the package's path. CPack's own output goes to stderr.
make_deb() {
  local native=$1 out=$2 type work name
  command -v dpkg-shlibdeps >/dev/null || { echo "package: the .deb needs dpkg-shlibdeps (dpkg-dev)" >&2; return 1; }
  type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$native/CMakeCache.txt")
  [ "$type" = Release ] || { echo "package: $native is a '$type' build, not Release" >&2; return 1; }
  cmake --build "$native" -j "${TUVO_JOBS:-2}" >&2
  work="$native/packaging/deb"
  rm -rf "$work" && mkdir -p "$out"
  cpack -G DEB --config "$native/CPackConfig.cmake" -B "$work" >&2
  name="tuvo_${version}_$(dpkg --print-architecture).deb"
  [ -f "$work/$name" ] || { echo "package: CPack made no $name" >&2; return 1; }
  mv "$work/$name" "$out/$name"
  rm -rf "$work"
  echo "$(cd "$out" && pwd)/$name"
}

if [ "${1:-}" = --deb ]; then
  native=${2:?native build folder}
  [ -f "$native/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >&2
  native=$(cd "$native" && pwd)
  make_deb "$native" "${3:-$native/release}"
  exit 0
fi

build=$(cd "${1:?windows build folder}" && pwd)
out=${2:-$build/release}
exe="$build/app/tuvo.exe"
probe="$build/tests/e2e/tuvo_probe.exe"
art=$(sed -n 's/^TUVO_ART_DIR:PATH=//p' "$build/CMakeCache.txt")
native=$(dirname "$art")
[ -f "$exe" ] && [ -f "$probe" ] || { echo "package: build tuvo.exe and the probe first" >&2; exit 1; }
[ -f "$art/tuvo.ico" ] && [ -f "$art/portrait.bmp" ] || { echo "package: no artwork in '$art'" >&2; exit 1; }
[ -f "$native/CMakeCache.txt" ] || { echo "package: no native build at '$native'" >&2; exit 1; }

own_env=
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/wine-env.sh" "$build"
  wine_env_start
  own_env=1
else
  source "$root/scripts/wine-env.sh" "$build"  # for wine_env_wait; keeps the caller's prefix
fi

stage="$out/tuvo-$version"
rm -rf "$stage" && mkdir -p "$stage/run"
cp "$exe" "$stage/tuvo.exe"
sed 's/$/\r/' "$root/packaging/README.txt" >"$stage/README.txt"

# The screenshot: a quiet desktop colour behind the cat, the pet in mode 1 on a
# 1024 x 768 screen, cropped to the neighbourhood of the pet.
convert -size 1024x768 gradient:'#5d8fb8-#cfe0ec' "$stage/run/desktop.png"
display -window root "$stage/run/desktop.png" >/dev/null 2>&1 || true
cp "$exe" "$stage/run/"
printf '[Setup]\r\nMode=1\r\n' >"$stage/run/tuvo.ini"
(cd "$stage/run" && exec wine tuvo.exe) >/dev/null 2>&1 &
pet=$!
window() { wine "$probe" window 2>/dev/null | tr -d '\r'; }
rect() { window | awk '$1 == "rect" { print $2, $3 }'; }
shot_ok=
if wine_env_wait '[ -n "$(rect)" ]' 300; then
  # The cat starts wherever the behaviour puts it and may sit still for a long while, so
  # nothing waits for it to move. It looks best on the floor (the bottom of the screen),
  # where it walks and sits: give it some 20 s to get there, then take the picture
  # wherever it is, as long as it is shown.
  deadline=$((SECONDS + 20))
  while [ "$SECONDS" -lt "$deadline" ] && [ "$(rect | cut -d" " -f2)" != 718 ]; do sleep 0.2; done
  if window | grep -qx 'visible 1'; then
    read -r x y <<<"$(rect)"
    cx=$(( x + 25 - 160 )); cy=$(( y + 25 - 100 ))
    cx=$(( cx < 0 ? 0 : (cx > 704 ? 704 : cx) )); cy=$(( cy < 0 ? 0 : (cy > 568 ? 568 : cy) ))
    import -window root "$stage/run/root.png" &&
      convert "$stage/run/root.png" -crop "320x200+$cx+$cy" +repage "$stage/screenshot.png" &&
      convert "$stage/run/desktop.png" -crop "320x200+$cx+$cy" +repage "$stage/run/bare.png" &&
      # The picture must show more than the bare desktop: the cat is in it.
      [ "$(compare -metric AE "$stage/screenshot.png" "$stage/run/bare.png" null: 2>&1 || true)" -gt 200 ] &&
      shot_ok=1
  fi
fi
# Nothing else runs in this prefix while the package is made: end the pet with Wine.
wineserver -k >/dev/null 2>&1 || true
wait "$pet" 2>/dev/null || true
[ -n "$own_env" ] && wine_env_stop
[ -n "$shot_ok" ] || { echo "package: the pet did not appear for the screenshot" >&2; exit 1; }
rm -rf "$stage/run"

zip="$out/tuvo-$version.zip"
rm -f "$zip"
(cd "$out" && python3 -m zipfile -c "$zip" "tuvo-$version")

# The installer's welcome and finish pages show the cat's portrait on a soft gradient.
nsis="$out/nsis"
rm -rf "$nsis" && mkdir -p "$nsis"
convert -size 164x314 gradient:'#e4edf4-#8fb0c8' "$art/portrait.bmp" -gravity north \
  -geometry +0+56 -composite -type TrueColor "BMP3:$nsis/wizard.bmp"
setup="$out/tuvo-setup-$version.exe"
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$stage" -DICON="$art/tuvo.ico" \
  -DWIZARD="$nsis/wizard.bmp" -DOUTFILE="$setup" "$root/packaging/tuvo.nsi" >&2
rm -rf "$nsis"
deb=$(make_deb "$native" "$out")
echo "$zip"
echo "$setup"
echo "$deb"
