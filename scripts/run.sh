#!/usr/bin/env bash
# Runs the pet: builds the artwork and tuvo.exe, then runs tuvo.exe under Wine.
# - With DISPLAY set, the pet lives on that display until it is ended (right-click it,
#   Exit); its settings file is build/win/app/tuvo.ini.
# - Without a display, it lives on an Xvfb display of its own for TUVO_RUN_SECONDS
#   (default 20) while it is filmed about every 150 ms; then an animated GIF of the
#   whole screen and a PNG contact strip of close-ups are written and their paths printed.
# The Wine prefix is build/win/wineprefix, with the Chinese font mapped for the menu
# and the dialogs, as the tests use it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TUVO_BUILD:-$root/build}
jobs=${TUVO_JOBS:-2}
seconds=${TUVO_RUN_SECONDS:-20}

bash "$root/scripts/setup.sh"

echo "== building the artwork and tuvo.exe" >&2
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j "$jobs" --target art >&2
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTUVO_ART_DIR="$build/native/art" >/dev/null
cmake --build "$build/win" -j "$jobs" --target tuvo >&2
app="$build/win/app"

# A Chinese ANSI code page, so the dialogs' texts come through.
run_pet() { cd "$app" && exec env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine tuvo.exe; }

if [ -n "${DISPLAY:-}" ]; then
  source "$root/scripts/wine-env.sh" "$build/win"
  wine_env_make_prefix
  echo "== the pet runs on $DISPLAY; right-click it and choose the last entry to end it" >&2
  run_pet
fi

# No display: a white desktop of its own, filmed.
export TUVO_XVFB_ARGS="-wr"
source "$root/scripts/wine-env.sh" "$build/win"
pet_pid=
finish() {
  if [ -n "$pet_pid" ]; then kill "$pet_pid" 2>/dev/null || true; wait "$pet_pid" 2>/dev/null || true; fi
  wine_env_stop
}
trap finish EXIT
wine_env_start

out="$build/run"
rm -rf "$out" && mkdir -p "$out/frames"
(run_pet) >/dev/null 2>&1 &
pet_pid=$!

# The pet's 50 x 50 X window, once it shows.
pet_window=
for _ in $(seq 300); do
  for id in $(xdotool search --onlyvisible --pid "$pet_pid" 2>/dev/null); do
    xdotool getwindowgeometry --shell "$id" | grep -qx 'WIDTH=50' && pet_window=$id && break 2
  done
  kill -0 "$pet_pid" 2>/dev/null || { echo "run: tuvo.exe ended before its pet showed" >&2; exit 1; }
  sleep 0.1
done
[ -n "$pet_window" ] || { echo "run: the pet did not show within 30 s" >&2; exit 1; }

echo "== the pet lives for $seconds s on the display $DISPLAY; filming" >&2
frame=0
end=$((SECONDS + seconds))
: >"$out/places"
while [ "$SECONDS" -lt "$end" ] && kill -0 "$pet_pid" 2>/dev/null; do
  started=$(date +%s%N)
  name=$(printf '%s/frames/%05d.png' "$out" "$frame")
  import -window root "$name" 2>/dev/null || break
  xdotool getwindowgeometry --shell "$pet_window" 2>/dev/null |
    awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }' >>"$out/places"
  frame=$((frame + 1))
  rest=$(( (150000000 - ($(date +%s%N) - started)) / 1000000 ))
  [ "$rest" -gt 0 ] && sleep "0.$(printf '%03d' "$rest")"
done
[ "$frame" -gt 0 ] || { echo "run: no frame was captured" >&2; exit 1; }

# The whole screen at half size, one GIF frame per capture at the capture's pace.
convert -delay 15 -loop 0 "$out"/frames/*.png -scale 50% -layers Optimize "$out/tuvo.gif"

# Twelve close-ups spread over the run, side by side at twice their size.
picks=()
for i in $(seq 0 11); do
  n=$(( i * (frame - 1) / 11 ))
  read -r x y <<<"$(sed -n "$((n + 1))p" "$out/places")"
  x=$(( x > 15 ? x - 15 : 0 )); y=$(( y > 15 ? y - 15 : 0 ))
  x=$(( x < 1024 - 80 ? x : 1024 - 80 )); y=$(( y < 768 - 80 ? y : 768 - 80 ))
  crop=$(printf '%s/close-%02d.png' "$out" "$i")
  convert "$(printf '%s/frames/%05d.png' "$out" "$n")" -crop "80x80+$x+$y" +repage -scale 200% "$crop"
  picks+=("$crop")
done
convert "${picks[@]}" -bordercolor '#888888' -border 2 +append "$out/tuvo-strip.png"
rm -f "${picks[@]}"

echo "$frame frames in $seconds s"
echo "animated GIF:  $out/tuvo.gif"
echo "contact strip: $out/tuvo-strip.png"
