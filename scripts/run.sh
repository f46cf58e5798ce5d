#!/usr/bin/env bash
# Runs the pet: builds and runs the native Linux program, or with --windows tuvo.exe
# under Wine.
#   scripts/run.sh             the native program (build/native/linux/tuvo); installs only
#                              what it needs: no Wine, no mingw-w64
#   scripts/run.sh --windows   tuvo.exe under Wine, in the prefix build/win/wineprefix with
#                              the Chinese font mapped for the menu and the dialogs
# - With DISPLAY set, the pet lives on that display until it is ended (right-click it,
#   Exit). The native pet keeps its settings in ~/.config/tuvo/tuvo.ini (or
#   $XDG_CONFIG_HOME/tuvo), tuvo.exe in build/win/app/tuvo.ini.
# - Without a display, it lives on an Xvfb display of its own, over a desktop picture
#   drawn here, with its default settings, for TUVO_RUN_SECONDS (default 20) while it is
#   filmed about every 150 ms; then it writes into build/run and prints the paths of: an
#   animated GIF of the whole screen at half size (tuvo.gif), a close-up GIF that follows
#   the cat at three times its size (tuvo-closeup.gif, about 400 x 400,
#   nearest-neighbour), one frame of that close-up (tuvo-closeup.png) and a PNG contact
#   strip of twelve close-ups.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TUVO_BUILD:-$root/build}
jobs=${TUVO_JOBS:-2}
seconds=${TUVO_RUN_SECONDS:-20}
case "${1:-}" in
  "") windows=0 ;;
  --windows) windows=1 ;;
  *) echo "usage: scripts/run.sh [--windows]" >&2; exit 2 ;;
esac

if [ "$windows" = 1 ]; then
  bash "$root/scripts/setup.sh" all
  echo "== building the artwork and tuvo.exe" >&2
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/native" -j "$jobs" --target art >&2
  cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTUVO_ART_DIR="$build/native/art" >/dev/null
  cmake --build "$build/win" -j "$jobs" --target tuvo >&2
  run_pet() { cd "$build/win/app" && exec wine tuvo.exe; }
else
  bash "$root/scripts/setup.sh" native
  # A new build folder is configured for the program alone; one the test command has
  # configured keeps its tests, which build only where what they need is installed.
  # Either way only the program is built.
  echo "== building the native program" >&2
  tests=()
  [ -f "$build/native/CMakeCache.txt" ] || tests=(-DTUVO_TESTS=OFF)
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release "${tests[@]}" >/dev/null
  cmake --build "$build/native" -j "$jobs" --target tuvo >&2
  run_pet() { exec "$build/native/linux/tuvo"; }
fi

if [ -n "${DISPLAY:-}" ]; then
  if [ "$windows" = 1 ]; then
    source "$root/scripts/wine-env.sh" "$build/win"
    wine_env_make_prefix
  fi
  echo "== the pet runs on $DISPLAY; right-click it and choose the last entry to end it" >&2
  run_pet
fi

# A desktop of our own for the pet to live on: a sky, hills, two windows, icons and a
# task bar along the top (the cat walks along the bottom of the screen).
desktop_backdrop() {  # FILE
  local draw=(
    -fill '#fff3c4' -draw 'circle 880,150 880,196'
    -fill '#f4f8fc' -draw 'ellipse 210,190 80,22 0,360' -draw 'ellipse 260,176 56,30 0,360'
    -draw 'ellipse 640,110 70,18 0,360' -draw 'ellipse 680,100 44,24 0,360'
    -fill '#93c47d' -draw 'ellipse 780,800 520,210 180,360'
    -fill '#6aa84f' -draw 'ellipse 180,820 560,190 180,360'
    -fill '#4e8a3a' -draw 'ellipse 980,830 300,120 180,360'
    # desktop icons down the left: a folder, a document, a bin, each with its label
    -fill '#f1c232' -stroke '#b08a1a' -draw 'roundrectangle 26,58 70,94 4,4'
    -fill '#ffffff' -stroke '#7d8a99' -draw 'rectangle 32,124 64,164'
    -fill '#cfd8e3' -stroke '#7d8a99' -draw 'roundrectangle 30,196 66,234 3,3'
    -stroke none -fill '#e8eef5' -draw 'rectangle 22,100 74,106' -draw 'rectangle 22,170 74,176'
    -draw 'rectangle 22,240 74,246'
    # a window with its shadow, title bar, buttons, lines of text and two pictures
    -fill '#0000002a' -draw 'rectangle 468,230 872,522'
    -fill '#f7f9fb' -stroke '#8896a6' -draw 'rectangle 460,222 864,514'
    -stroke none -fill '#2f5f93' -draw 'rectangle 461,223 863,249'
    -fill '#e8eef5' -draw 'rectangle 472,232 560,240'
    -fill '#d9614c' -draw 'rectangle 838,229 856,243'
    -fill '#c9d4df' -draw 'rectangle 814,229 832,243' -draw 'rectangle 790,229 808,243'
    -fill '#c6d0db' -draw 'rectangle 480,272 820,280' -draw 'rectangle 480,292 790,300'
    -draw 'rectangle 480,312 840,320' -draw 'rectangle 480,332 700,340'
    -draw 'rectangle 480,372 810,380' -draw 'rectangle 480,392 760,400'
    -fill '#9fc5e8' -draw 'rectangle 480,424 620,494' -fill '#f9cb9c' -draw 'rectangle 640,424 840,494'
    # a smaller window further back
    -fill '#0000001f' -draw 'rectangle 170,318 426,470'
    -fill '#eef2f6' -stroke '#8896a6' -draw 'rectangle 164,312 420,464'
    -stroke none -fill '#5b7fa6' -draw 'rectangle 165,313 419,335'
    -fill '#c6d0db' -draw 'rectangle 182,356 380,363' -draw 'rectangle 182,374 350,381'
    -draw 'rectangle 182,392 400,399'
    # the task bar: start button, two programs, the clock
    -fill '#1d2733' -draw 'rectangle 0,0 1023,31'
    -fill '#4a90d9' -draw 'roundrectangle 6,5 30,26 4,4'
    -fill '#3a4757' -draw 'rectangle 44,5 184,26' -draw 'rectangle 192,5 332,26'
    -fill '#8fa3b8' -draw 'rectangle 54,13 150,18' -draw 'rectangle 202,13 300,18'
    -fill '#c9d4df' -draw 'rectangle 960,12 1010,19'
  )
  convert -size 1024x768 gradient:'#3d78c2-#cfe6f7' "${draw[@]}" "$1"
}

# No display: a desktop of its own, filmed. The Xvfb helper is the Wine environment's;
# the native pet uses only its display and a settings folder of the run's own.
source "$root/scripts/wine-env.sh" "$build/win"
unset WAYLAND_DISPLAY WAYLAND_SOCKET  # the native pet is filmed on that X display
pet_pid=
finish() {
  if [ -n "$pet_pid" ]; then kill "$pet_pid" 2>/dev/null || true; wait "$pet_pid" 2>/dev/null || true; fi
  wine_env_stop
}
trap finish EXIT
if [ "$windows" = 1 ]; then wine_env_start; else wine_env_start_display; fi

out="$build/run"
rm -rf "$out" && mkdir -p "$out/frames" "$out/close" "$out/config"
export XDG_CONFIG_HOME="$out/config"
desktop_backdrop "$out/desktop.png"
# The native pet shows over the picture from its first frame; Wine clears the root when
# its session starts, so there the picture goes up once the pet shows.
[ "$windows" = 1 ] || display -window root "$out/desktop.png" >/dev/null 2>&1 || true
(run_pet) >/dev/null 2>&1 &
pet_pid=$!

# The pet's 50 x 50 X window, once it shows.
pet_window=
for _ in $(seq 300); do
  for id in $(xdotool search --onlyvisible --pid "$pet_pid" 2>/dev/null); do
    xdotool getwindowgeometry --shell "$id" | grep -qx 'WIDTH=50' && pet_window=$id && break 2
  done
  kill -0 "$pet_pid" 2>/dev/null || { echo "run: the program ended before its pet showed" >&2; exit 1; }
  sleep 0.1
done
[ -n "$pet_window" ] || { echo "run: the pet did not show within 30 s" >&2; exit 1; }
[ "$windows" = 0 ] || display -window root "$out/desktop.png" >/dev/null 2>&1 || true

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
place() {
  xdotool getwindowgeometry --shell "$pet_window" 2>/dev/null |
    awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }'
}

# Each frame: the time it was taken, and the pet's corner halfway between its places
# just before and just after the capture, in "places".
echo "== the pet lives for $seconds s on the display $DISPLAY; filming" >&2
frame=0
first=$(now_ms)
: >"$out/places"
while [ $(( $(now_ms) - first )) -le $((seconds * 1000)) ] && kill -0 "$pet_pid" 2>/dev/null; do
  started=$(now_ms)
  read -r x0 y0 <<<"$(place)"
  import -window root "$(printf '%s/frames/%05d.png' "$out" "$frame")" 2>/dev/null || break
  read -r x1 y1 <<<"$(place)"
  echo "$started $(( (x0 + x1) / 2 )) $(( (y0 + y1) / 2 ))" >>"$out/places"
  frame=$((frame + 1))
  rest=$(( 150 - ($(now_ms) - started) ))
  [ "$rest" -gt 0 ] && sleep "0.$(printf '%03d' "$rest")"
done
[ "$frame" -gt 1 ] || { echo "run: too few frames were captured" >&2; exit 1; }
kill "$pet_pid" 2>/dev/null || true

# Each GIF frame lasts until the next capture (in hundredths of a second), so the GIFs
# play at the pace the pet lived; the last one lasts 150 ms.
mapfile -t stamps < <(cut -d' ' -f1 "$out/places")
delays=()
for ((i = 0; i < frame; i++)); do
  if ((i + 1 < frame)); then delays+=($(( (stamps[i + 1] - stamps[i] + 5) / 10 ))); else delays+=(15); fi
done
# GIF arguments: each frame's delay before its file.
gif_frames() {  # DIR
  local i
  for ((i = 0; i < frame; i++)); do printf -- '-delay\n%s\n%s/%05d.png\n' "${delays[i]}" "$1" "$i"; done
}

# Both GIFs take every frame in one palette, made from a whole first frame (the backdrop
# and the cat), so the still backdrop stays still and only what changed is stored.
convert "$out/frames/00000.png" +dither -colors 255 "$out/palette.png"
# The whole screen at half size.
mapfile -t args < <(gif_frames "$out/frames")
convert "${args[@]}" -loop 0 -scale 50% +dither -remap "$out/palette.png" -layers Optimize "$out/tuvo.gif"

# The close-up: a 134 x 134 square of the screen centred on the pet (kept on the
# screen), at three times its size with nearest-neighbour scaling: 402 x 402, crisp.
side=134
i=0
while read -r _ x y; do
  cx=$(( x + 25 - side / 2 )); cy=$(( y + 25 - side / 2 ))
  cx=$(( cx < 0 ? 0 : (cx > 1024 - side ? 1024 - side : cx) ))
  cy=$(( cy < 0 ? 0 : (cy > 768 - side ? 768 - side : cy) ))
  convert "$(printf '%s/frames/%05d.png' "$out" "$i")" -crop "${side}x${side}+$cx+$cy" +repage \
    -filter point -resize 300% "$(printf '%s/close/%05d.png' "$out" "$i")"
  i=$((i + 1))
done <"$out/places"
mapfile -t args < <(gif_frames "$out/close")
convert "${args[@]}" -loop 0 +dither -remap "$out/palette.png" -layers Optimize "$out/tuvo-closeup.gif"
# One close-up as a picture: the middle frame, or the nearest one after it where the
# pet is on the floor (as low as it went).
pick=$((frame / 2))
floor=$(awk -v from="$pick" 'NR == FNR { low = $3 > low ? $3 : low; next }
  FNR > from && $3 == low { print FNR - 1; exit }' "$out/places" "$out/places")
cp "$(printf '%s/close/%05d.png' "$out" "${floor:-$pick}")" "$out/tuvo-closeup.png"

# Twelve close-ups spread over the run, side by side at twice their size.
picks=()
for i in $(seq 0 11); do
  n=$(( i * (frame - 1) / 11 ))
  read -r _ x y <<<"$(sed -n "$((n + 1))p" "$out/places")"
  x=$(( x > 15 ? x - 15 : 0 )); y=$(( y > 15 ? y - 15 : 0 ))
  x=$(( x < 1024 - 80 ? x : 1024 - 80 )); y=$(( y < 768 - 80 ? y : 768 - 80 ))
  crop=$(printf '%s/strip-%02d.png' "$out" "$i")
  convert "$(printf '%s/frames/%05d.png' "$out" "$n")" -crop "80x80+$x+$y" +repage -scale 200% "$crop"
  picks+=("$crop")
done
convert "${picks[@]}" -bordercolor '#888888' -border 2 +append "$out/tuvo-strip.png"
rm -f "${picks[@]}" "$out/palette.png"

length=$(( stamps[frame - 1] - stamps[0] + 150 ))
echo "$frame frames over $((length / 1000)).$(printf '%03d' $((length % 1000))) s"
echo "whole screen:  $out/tuvo.gif"
echo "close-up:      $out/tuvo-closeup.gif"
echo "one close-up:  $out/tuvo-closeup.png"
echo "contact strip: $out/tuvo-strip.png"
