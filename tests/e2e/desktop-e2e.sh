#!/usr/bin/env bash
# End-to-end tests of the real tuvo.exe on the desktops it meets: a high-DPI desktop,
# where every picture is enlarged by whole pixels, and a full-screen program in the
# foreground, which the pet keeps out of the way of. Runs inside the environment of
# scripts/wine-env.sh (DISPLAY and WINEPREFIX set); the high-DPI cases use a second Wine
# prefix of their own at 192 DPI. Usage: desktop-e2e.sh WINDOWS_BUILD ART_DIR
# Every wait is for a condition, with a bound. Screenshots are kept in
# WINDOWS_BUILD/e2e-desktop.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
e2e_begin "$1" "$2" e2e-desktop
main_prefix=$WINEPREFIX
dpi_prefix=

winpath() { winepath -w "$1" 2>/dev/null; }

# Each pet lives in a folder of its own with its own settings file: pids[name] is its
# process, hwnds[name] its window for the probe, xids[name] the X window that shows it,
# sizes[name] the window's expected side.
declare -A pids=() hwnds=() xids=() sizes=()

start_pet() {  # name, expected side of its window
  cp "$build/app/tuvo.exe" "$work/$1/"
  (cd "$work/$1" && exec wine tuvo.exe) >/dev/null 2>&1 &
  pids[$1]=$!
  hwnds[$1]=
  xids[$1]=
  sizes[$1]=$2
}

# The pet's X window: the one of its process of the expected size (a menu differs).
find_xid() {
  local id geometry
  for id in $(xdotool search --pid "${pids[$1]}" 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)
    if grep -qx "WIDTH=${sizes[$1]}" <<<"$geometry" && grep -qx "HEIGHT=${sizes[$1]}" <<<"$geometry"; then
      xids[$1]=$id
      return 0
    fi
  done
  return 1
}

# Waits for the pet's window to show, for the probe and on the X display.
wait_for_pet() {
  wine_env_wait "find_new_pet $1" 300 || return 1
  wine_env_wait "find_xid $1" 50 ||
    { echo "     no X window of ${sizes[$1]} x ${sizes[$1]}; the probe sees $(field "$1" rect)"; return 1; }
}

use_prefix() { export WINEPREFIX=$1; seen_pets=" "; }

mapped() { xwininfo -id "${xids[$1]}" 2>/dev/null | grep -q 'Map State: IsViewable'; }
unmapped() { xwininfo -id "${xids[$1]}" 2>/dev/null | grep -q 'Map State: IsUnMapped'; }
shown() { [ "$(field "$1" visible)" = 1 ] && mapped "$1"; }
hidden() { [ "$(field "$1" visible)" = 0 ] && unmapped "$1"; }

# The window is side x side pixels at coordinates that are multiples of the step, the
# same for Windows and for X. A few looks, since the pet may step between the two.
placed() {  # pet, side, step
  local tries=5 w x
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    read -r -a w <<<"$(field "$1" rect)"; read -r -a x <<<"$(rect "$1")"
    [ "${w[*]}" = "${x[*]}" ] && [ $((w[2] - w[0])) = "$2" ] && [ $((w[3] - w[1])) = "$2" ] &&
      [ $((w[0] % $3)) = 0 ] && [ $((w[1] % $3)) = 0 ] && return 0
  done
  echo "     window at ${w[*]} for Windows, ${x[*]} on the display"
  return 1
}

region_text() { probe region-file "$(winpath "$work/$1.txt")" "${hwnds[$1]}" >/dev/null && cat "$work/$1.txt"; }

region_is_a_frame() {  # pet, scale
  probe region-file "$(winpath "$work/region.txt")" "${hwnds[$1]}" >/dev/null &&
    python3 "$here/region_matches_mask.py" region "$work/region.txt" "$art/mask.bmp" "$2" >"$work/region-$1.txt" ||
    { sed 's/^/     /' "$work/region-$1.txt"; false; }
}

# The pet's ticks run: its place or its shape changes within 10 s. Asked of Windows, not
# of the screen: without a window manager, Wine may leave another program's window
# stacked above a top-most one.
ticking() {
  local first; first=$(probe window "${hwnds[$1]}" | grep -E '^(rect|region) ')
  wine_env_wait "[ \"\$(probe window ${hwnds[$1]} | grep -E '^(rect|region) ')\" != \"$first\" ]" 60
}

# The pet's left and top are within one pixel of (x, y).
# The menu's nearest corner is within 3 pixels of the pointer.
menu_at_pointer() {
  local m p
  read -r -a m <<<"$(probe menu | awk '{ print $2, $3, $4, $5 }')"
  read -r -a p <<<"$(xdotool getmouselocation --shell | awk -F= '$1 == "X" || $1 == "Y" { printf "%s ", $2 }')"
  awk -v l="${m[0]}" -v t="${m[1]}" -v r="${m[2]}" -v b="${m[3]}" -v x="${p[0]}" -v y="${p[1]}" '
    function a(v) { return v < 0 ? -v : v }
    function m(u, v) { return u < v ? u : v }
    BEGIN { exit !(m(a(l - x), a(r - x)) <= 3 && m(a(t - y), a(b - y)) <= 3) }' ||
    { echo "     menu at ${m[*]}, pointer at ${p[*]}"; false; }
}

# A screenshot around the pet: the pixels that differ from the backdrop must be one
# frame's outline at the scale, each block one solid colour of the sprite sheet, at the
# window's place. Keeps the shot, enlarged, as $3.png. A few tries, since the shot may
# catch the window between its new shape and its new picture.
screen_shows_a_frame() {  # pet, scale, name
  local tries=5 before after r left top right bottom found side
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    before=$(rect "$1")
    import -window root "$work/shot.png" 2>/dev/null
    after=$(rect "$1")
    read -r -a r <<<"$before"
    [ "${#r[@]}" -eq 4 ] || continue
    side=$((r[2] - r[0]))
    left=$((r[0] > 60 ? r[0] - 60 : 0)); top=$((r[1] > 60 ? r[1] - 60 : 0))
    right=$((r[2] + 60 < 1024 ? r[2] + 60 : 1024)); bottom=$((r[3] + 60 < 768 ? r[3] + 60 : 768))
    convert "$work/shot.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$work/pet.ppm"
    python3 "$here/region_matches_mask.py" screen "$work/pet.ppm" "$left" "$top" \
      "$art/mask.bmp" "$2" "$art/sprites.bmp" >"$work/$3.txt" || continue
    read -r -a found <<<"$(awk '{ print $(NF - 1), $NF }' "$work/$3.txt")"
    if [ "${found[*]}" != "${r[0]} ${r[1]}" ]; then
      echo "frame drawn at ${found[*]}, window at ${r[0]} ${r[1]} then $after" >>"$work/$3.txt"
      continue
    fi
    convert "$work/shot.png" -crop "$((side + 40))x$((side + 40))+$((found[0] - 20))+$((found[1] - 20))" \
      +repage -scale 400% "$work/$3.png"
    return 0
  done
  sed 's/^/     /' "$work/$3.txt" 2>/dev/null | head -30
  return 1
}

# The probe's windows: the backdrop pattern and the foreground programs.
backdrop_pid=
foreground_pid=
start_foreground() {  # cover | maximised
  wine "$probe_exe" "$1" >/dev/null 2>&1 &
  foreground_pid=$!
  # Full screen: a pop-up without a caption; maximised: a caption and the maximised style.
  local want='s & 0x80000000 && !(s & 0xC00000)'
  [ "$1" = cover ] || want='(s & 0xC00000) == 0xC00000 && s & 0x1000000'
  wine_env_wait "foreground_is '$want'" 100 ||
    { echo "     the probe's window is not in the foreground: $(probe foreground)"; return 1; }
}
foreground_is() {  # a condition on the style s of the probe's foreground window
  local f s; read -r -a f <<<"$(probe foreground)"
  [ "${f[2]:-}" = TuvoProbeForeground ] && s=$((16#${f[3]})) && (( $1 ))
}
stop_foreground() {
  [ -n "$foreground_pid" ] || return 0
  kill "$foreground_pid" 2>/dev/null; wait "$foreground_pid" 2>/dev/null
  foreground_pid=
}
start_backdrop() {
  wine "$probe_exe" backdrop >/dev/null 2>&1 &
  backdrop_pid=$!
  wine_env_wait backdrop_shown 300 || { echo "FAIL the probe's backdrop does not show"; exit 1; }
}
stop_backdrop() {
  [ -n "$backdrop_pid" ] || return 0
  kill "$backdrop_pid" 2>/dev/null; wait "$backdrop_pid" 2>/dev/null
  backdrop_pid=
}
finish() {
  local name
  for name in "${!pids[@]}"; do stop_pet "$name"; done
  stop_foreground
  stop_backdrop
  [ -z "$dpi_prefix" ] || WINEPREFIX=$dpi_prefix wineserver -k >/dev/null 2>&1
}
trap finish EXIT

# The 192-DPI prefix beside the run's own, made once: the usual fonts, then the DPI.
source "$here/../../scripts/wine-env.sh" "$build/desktop-192dpi"
wine_env_make_prefix
if [ ! -f "$WINEPREFIX/.tuvo-192dpi" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tuvo-192dpi"
fi
dpi_prefix=$WINEPREFIX
use_prefix "$dpi_prefix"

start_backdrop

echo "== end-to-end at 192 DPI: every picture twice as large"
# The pet of mode 2 goes last and stays for the drags below: no other pet then walks into
# the neighbourhood its screenshots are judged on.
for mode in 1 0 2; do
  pet=dpi$mode
  settings $pet "Mode=$mode\r\n"
  start_pet $pet 100
  if ! wait_for_pet $pet; then fail "mode $mode: a 100 x 100 pet window appears"; stop_pet $pet; continue; fi
  check "mode $mode: window 100 x 100 at even coordinates" placed $pet 100 2
  if [ "$mode" = 0 ]; then
    check "mode 0: region is the 100 x 100 square" eval '[ "$(field $pet region)" = "2 10000" ]'
  else
    check "mode $mode: region is the outline of a frame in 2 x 2 blocks" region_is_a_frame $pet 2
  fi
  check "mode $mode: on screen only the cat in whole 2 x 2 blocks of its colours (dpi-mode$mode.png)" \
    screen_shows_a_frame $pet 2 dpi-mode$mode
  # Carried by a little, so the old and new places overlap: in mode 0 the snapshot of
  # the desktop must follow the window.
  check "mode $mode: the held pet follows the pointer" take_hold $pet 24 18 2
  check "mode $mode: after the move, still only the cat in 2 x 2 blocks at even coordinates (dpi-mode$mode-moved.png)" \
    eval 'placed $pet 100 2 && screen_shows_a_frame $pet 2 dpi-mode$mode-moved'
  xdotool mouseup 1
  [ "$mode" = 2 ] || stop_pet $pet
done

echo "== end-to-end at 192 DPI: dragging and the menu"
pet=dpi2
if [ -n "${pids[$pet]}" ] && [ -n "${xids[$pet]}" ]; then
  if take_hold $pet 4 4 2; then
    xdotool mousemove 1000 700 && xdotool mousemove 1021 765
    check "drag to the bottom right corner: the pet stops at the screen's edge" \
      eval 'wine_env_wait "[ \"\$(rect $pet)\" = \"924 668 1024 768\" ]" 100 || { echo "     pet at $(rect $pet)"; false; }'
    xdotool mousemove 300 300 && xdotool mousemove 3 3
    check "drag to the top left corner: the pet stops at the screen's edge" \
      eval 'wine_env_wait "[ \"\$(rect $pet)\" = \"0 0 100 100\" ]" 100 || { echo "     pet at $(rect $pet)"; false; }'
    xdotool mouseup 1
    check "dropped pet: 100 x 100 at even coordinates inside the screen" placed $pet 100 2
  else fail "the pet is taken hold of"; fi
  opened=
  for try in 1 2 3; do
    read -r -a g <<<"$(grip $pet 2)"
    [ "${#g[@]}" -eq 2 ] || continue
    xdotool mousemove "${g[0]}" "${g[1]}" click 3
    wine_env_wait menu_open 20 && { opened=1; break; }
  done
  if [ -n "$opened" ]; then
    check "right click opens the menu at the pointer" menu_at_pointer
    xdotool key e
    check "Exit from the menu ends the process with 0" \
      eval 'wine_env_wait "! kill -0 ${pids[$pet]}" 100 && { wait ${pids[$pet]}; code=$?; pids[$pet]=; [ $code = 0 ]; }'
  else fail "right click opens the menu"; fi
else fail "the pet of mode 2 for dragging"; fi
stop_pet $pet

echo "== end-to-end at 192 DPI: the scale in the settings file"
settings scale1 "Mode=1\r\nScale=1\r\n"
start_pet scale1 50
check "Scale=1: a 50 x 50 pet whose region is the outline of a frame" \
  eval 'wait_for_pet scale1 && placed scale1 50 1 && region_is_a_frame scale1 1'
stop_pet scale1
# 1024 x 768 by 4 would leave the pet a world smaller than 320 x 240: scale 3 it is.
settings scale8 "Mode=2\r\nScale=8\r\n"
start_pet scale8 150
check "Scale=8 on a 1024 x 768 screen: lowered to 3, a 150 x 150 pet in 3 x 3 blocks" \
  eval 'wait_for_pet scale8 && placed scale8 150 3 && region_is_a_frame scale8 3'
stop_pet scale8
stop_backdrop
WINEPREFIX=$dpi_prefix wineserver -k >/dev/null 2>&1

echo "== end-to-end: a full-screen program in the foreground"
use_prefix "$main_prefix"
start_backdrop
# Each pet in its own half of the screen. The first ticks slowly, so that it cannot
# step between showing again and being looked at.
settings hides "Mode=1\r\nTimer=1000\r\nRight Margin=512\r\n"
settings stays "Mode=1\r\nTimer=100\r\nFullscreen=0\r\nLeft Margin=512\r\n"
# One after the other, so that each window is known for its pet's.
start_pet hides 50
if wait_for_pet hides && start_pet stays 50 && wait_for_pet stays; then
  if start_foreground cover; then
    if wine_env_wait "hidden hides" 50; then
      pass "full-screen pop-up in the foreground: the pet hides"
      was=$(field hides rect)
      frame=$(region_text hides)
      check "Fullscreen=0: the other pet stays shown and lives" eval 'ticking stays && shown stays'
      check "while hidden, the pet's ticks wait: the same place and frame" \
        eval '[ "$(field hides rect)" = "$was" ] && [ "$(region_text hides)" = "$frame" ]'
      stop_foreground
      if wine_env_wait "mapped hides" 50; then
        now=$(rect hides)
        check "the full-screen program gone, the pet shows again where and as it was" \
          eval '[ "$now" = "$was" ] && [ "$(region_text hides)" = "$frame" ] && shown hides ||
            { echo "     hidden at $was with region $(echo "$frame" | md5sum | cut -c1-8), shown at $now with region $(region_text hides | md5sum | cut -c1-8), visible $(field hides visible)"; false; }'
      else fail "the full-screen program gone, the pet shows again"; fi
    else
      fail "full-screen pop-up in the foreground: the pet hides"
      check "Fullscreen=0: the other pet stays shown and lives" eval 'ticking stays && shown stays'
    fi
    stop_foreground
  else fail "full-screen pop-up in the foreground"; fi
  if start_foreground maximised; then
    check "a maximised window with a caption in the foreground: the pet stays and lives" \
      eval 'ticking hides && shown hides'
    stop_foreground
  else fail "maximised window in the foreground"; fi
  # The backdrop stands for the desktop, which covers the screen without a caption too.
  xdotool mousemove 512 4 click 1
  check "a click on the desktop: the pet stays and lives" \
    eval 'wine_env_wait "probe foreground | grep -q \" Progman \"" 50 && ticking hides && shown hides'
else fail "two pets appear"; fi
stop_pet hides; stop_pet stays

echo "== end-to-end desktop: $failures failure(s)"
[ "$failures" -eq 0 ]
