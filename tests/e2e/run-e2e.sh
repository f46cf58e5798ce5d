#!/usr/bin/env bash
# End-to-end tests of the real tuvo.exe under Wine, driven like a user would with the
# pointer and keyboard, and watched through a probe program in the same Wine prefix and
# through screenshots. Runs inside the environment of scripts/wine-env.sh (DISPLAY and
# WINEPREFIX set). Usage: run-e2e.sh WINDOWS_BUILD ART_DIR
# Every wait is for a condition, with a bound. Screenshots of each display mode and of
# the open context menu are kept in WINDOWS_BUILD/e2e.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
e2e_begin "$1" "$2" e2e
backdrop_pid=

# Each pet lives in a folder of its own with its own settings file. It is known by that
# name: pids[name] is its process, hwnds[name] its window for the probe, xids[name] the
# X window that shows it.
declare -A pids=() hwnds=() xids=()

start_pet() {
  cp "$build/app/tuvo.exe" "$work/$1/"
  (cd "$work/$1" && exec wine tuvo.exe) >/dev/null 2>&1 &
  pids[$1]=$!
  hwnds[$1]=
  xids[$1]=
}

running() { [ -n "${pids[$1]:-}" ] && kill -0 "${pids[$1]}" 2>/dev/null; }

# The pet's visible 50 x 50 X window (a message box or menu of the same process differs
# in size).
find_xid() {
  local id
  for id in $(xdotool search --onlyvisible --pid "${pids[$1]}" 2>/dev/null); do
    if xdotool getwindowgeometry --shell "$id" | grep -qx 'WIDTH=50' &&
       xdotool getwindowgeometry --shell "$id" | grep -qx 'HEIGHT=50'; then
      xids[$1]=$id
      return 0
    fi
  done
  return 1
}

# Waits for the pet's window to show, for the probe and on the X display.
wait_for_pet() { wine_env_wait "find_new_pet $1" 300 && wine_env_wait "find_xid $1" 100; }

# What the user sees of the pet: its place and its pixels.
look() {
  local r; read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] || return 1
  echo "${r[*]} $(import -window root -crop "50x50+${r[0]}+${r[1]}" +repage rgb:- 2>/dev/null | md5sum)"
}

# The pet is alive: what is seen of it changes within 10 s (a resting cat still moves
# its picture every second or two).
lives() {
  local first; first=$(look "$1")
  wine_env_wait "[ \"\$(look $1)\" != \"$first\" ]" 100
}

# Waits for the pet's process to end and checks its exit code.
ends_with_zero() {
  local pid=${pids[$1]}
  wine_env_wait "! kill -0 $pid" 100 || return 1
  wait "$pid"; local code=$?
  pids[$1]=
  [ "$code" = 0 ]
}

inside_margins() {  # pet, left top right bottom margins
  local r; read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] && [ "${r[0]}" -ge "$2" ] && [ "${r[1]}" -ge "$3" ] &&
    [ "${r[2]}" -le $((1024 - $4)) ] && [ "${r[3]}" -le $((768 - $5)) ]
}

bare_tool_window() {
  local style=$((16#$(field "$1" style))) ex=$((16#$(field "$1" exstyle)))
  [ $((style & 0x00C40000)) -eq 0 ] && [ $((ex & 0x88)) -eq 136 ] && [ $((ex & 0x40000)) -eq 0 ]
}

region_is_a_frame() {
  probe region-file "$(winepath -w "$work/region.txt" 2>/dev/null)" "${hwnds[$1]}" >/dev/null &&
    python3 "$here/region_matches_mask.py" region "$work/region.txt" "$art/mask.bmp" >/dev/null
}

# Clicks the pet with the given xdotool click arguments and waits for its menu.
click_for_menu() {
  local tries=3 g pet=$1; shift
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    read -r -a g <<<"$(grip "$pet")"
    [ "${#g[@]}" -eq 2 ] || continue
    xdotool mousemove "${g[0]}" "${g[1]}" click "$@"
    wine_env_wait menu_open 20 && return 0
  done
  return 1
}
open_menu() { click_for_menu "$1" 3; }

# A screenshot of the screen around the pet: the pixels that differ from the backdrop
# must be exactly one frame's outline, and when the pet stood still during the shot, at
# the window's place. Keeps the shot, enlarged, as $2.png. A few tries, since the shot
# may catch the window between its new shape and its new picture.
screen_shows_a_frame() {
  local tries=5 before after r left top found
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    before=$(rect "$1")
    import -window root "$work/shot.png" 2>/dev/null
    after=$(rect "$1")
    read -r -a r <<<"$before"
    [ "${#r[@]}" -eq 4 ] || continue
    left=$((r[0] > 60 ? r[0] - 60 : 0)); top=$((r[1] > 60 ? r[1] - 60 : 0))
    right=$((r[2] + 60 < 1024 ? r[2] + 60 : 1024)); bottom=$((r[3] + 60 < 768 ? r[3] + 60 : 768))
    convert "$work/shot.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$work/pet.ppm"
    python3 "$here/region_matches_mask.py" screen "$work/pet.ppm" "$left" "$top" \
      "$art/mask.bmp" >"$work/$2.txt" || continue
    read -r -a found <<<"$(awk '{ print $(NF - 1), $NF }' "$work/$2.txt")"
    if [ "$before" = "$after" ] && [ "${found[*]}" != "${r[0]} ${r[1]}" ]; then
      echo "frame drawn at ${found[*]}, window at ${r[0]} ${r[1]}" >>"$work/$2.txt"
      continue
    fi
    convert "$work/shot.png" -crop "90x90+$((found[0] - 20))+$((found[1] - 20))" +repage -scale 400% "$work/$2.png"
    return 0
  done
  sed 's/^/     /' "$work/$2.txt" 2>/dev/null
  return 1
}

# The backdrop pattern under everything, so screenshots show what the pet paints.
wine "$probe_exe" backdrop >/dev/null 2>&1 &
backdrop_pid=$!
finish() {
  local name
  for name in "${!pids[@]}"; do stop_pet "$name"; done
  [ -n "$backdrop_pid" ] && kill "$backdrop_pid" 2>/dev/null && wait "$backdrop_pid" 2>/dev/null
  backdrop_pid=
}
trap finish EXIT
wine_env_wait backdrop_shown 300 || { echo "FAIL the probe's backdrop does not show"; exit 1; }

echo "== end-to-end: the pet in each display mode"
for mode in 1 2 0; do
  pet=m$mode
  settings $pet "Mode=$mode\r\nTop Margin=40\r\nLeft Margin=60\r\nBottom Margin=80\r\nRight Margin=100\r\n"
  start_pet $pet
  if ! wait_for_pet $pet; then fail "mode $mode: pet window appears"; stop_pet $pet; continue; fi
  check "mode $mode: class and title" \
    eval '[ "$(field $pet class)" = TuvoWClass ] && [ "$(field $pet title)" = Tuvo ]'
  check "mode $mode: bare top-most tool window without task-bar button" bare_tool_window $pet
  check "mode $mode: inside the margins" inside_margins $pet 60 40 100 80
  if [ "$mode" = 0 ]; then
    check "mode 0: region is the 50 x 50 square" eval '[ "$(field $pet region)" = "2 2500" ]'
  else
    check "mode $mode: region is the outline of a frame" region_is_a_frame $pet
  fi
  check "mode $mode: lives" lives $pet
  check "mode $mode: on screen only the cat, no key colour, no box (mode$mode.png)" \
    screen_shows_a_frame $pet mode$mode
  # Carried by a little, so the old and new places overlap: in mode 0 the snapshot of
  # the desktop must follow the window.
  check "mode $mode: the held pet follows the pointer" take_hold $pet 23 17
  check "mode $mode: after the move, still only the cat on screen (mode$mode-moved.png)" \
    screen_shows_a_frame $pet mode$mode-moved
  xdotool mouseup 1
  stop_pet $pet
done

echo "== end-to-end: drag, menu, exit"
settings one "Mode=1\r\n"
start_pet one
if wait_for_pet one; then
  take_hold one 5 5 && xdotool mousemove 300 300 && xdotool mousemove 3 3
  check "drag carries the pet and clamps it at the screen edge" \
    eval 'wine_env_wait "[ \"\$(rect one)\" = \"0 0 50 50\" ]" 100 || { echo "     pet at $(rect one)"; false; }'
  xdotool mouseup 1
  check "dropped pet stays inside the screen" inside_margins one 0 0 0 0

  if open_menu one; then
    read -r -a m <<<"$(probe menu | awk '{ print $2, $3, $4, $5 }')"
    import -window root "$work/shot.png" 2>/dev/null
    convert "$work/shot.png" -crop "$((m[2] - m[0]))x$((m[3] - m[1]))+${m[0]}+${m[1]}" +repage \
      -scale 400% "$work/menu.png"
    pass "right click opens the context menu (menu.png)"
    xdotool key c
    check "Continue closes the menu and the pet carries on" \
      eval 'wine_env_wait "! menu_open" 50 && running one && lives one'
  else fail "right click opens the context menu"; fi

  if click_for_menu one --repeat 2 --delay 60 1; then
    pass "left double click opens the context menu"
    xdotool key Escape
    wine_env_wait "! menu_open" 50
  else fail "left double click opens the context menu"; fi

  if open_menu one; then
    xdotool key e
    check "Exit from the context menu ends the process with 0" ends_with_zero one
  else fail "context menu for Exit"; fi
else fail "pet window appears"; fi
stop_pet one

echo "== end-to-end: the menu of a held pet, and a drag whose capture is taken away"
# Held at the top and left margins with the pointer above and left of the pet, so the
# pointer's place in the pet's window is negative.
settings held "Mode=1\r\nTop Margin=300\r\nLeft Margin=300\r\nTimer=30\r\n"
start_pet held
if wait_for_pet held; then
  if take_hold held 5 5 1 300 300 1024 768; then
    xdotool mousemove 100 100
    wine_env_wait "[ \"\$(rect held | cut -d' ' -f1,2)\" = '300 300' ]" 50
    xdotool click 3
    if wine_env_wait menu_open 30; then
      read -r -a m <<<"$(probe menu | awk '{ print $2, $3 }')"
      check "menu of the held pet opens at the pointer (100 100), not far from it" \
        eval '[ "${m[0]}" -ge 97 ] && [ "${m[0]}" -le 103 ] && [ "${m[1]}" -ge 97 ] && [ "${m[1]}" -le 103 ] ||
          { echo "     menu at ${m[*]}"; false; }'
      xdotool key Escape
      wine_env_wait "! menu_open" 50
      xdotool mousemove 700 150 mouseup 1
      # The menu took the capture: the drag ended there and the pet, no longer held,
      # goes its own way again (a held one stays put for ever).
      check "after the menu took the capture, the pet let go moves on its own" \
        eval 'wine_env_wait "[ \"\$(rect held)\" != \"300 300 350 350\" ]" 300 || { echo "     pet at $(rect held)"; false; }'
    else fail "menu of the held pet opens"; xdotool mouseup 1; fi
  else fail "take hold of the pet at the margins"; xdotool mouseup 1; fi
else fail "pet with top and left margins appears"; fi
stop_pet held

echo "== end-to-end: two pets side by side"
# Each in its own half of the screen, so neither covers the other.
settings a "Mode=1\r\nRight Margin=512\r\n"
settings b "Mode=2\r\nLeft Margin=512\r\n"
# One after the other: a pet's window is known as the first new one that shows, so two
# starting at once could each be taken for the other.
start_pet a
if wait_for_pet a && start_pet b && wait_for_pet b; then
  check "both pets are shown" eval '[ "$(visible_pets | wc -l)" = 2 ] && [ "${xids[a]}" != "${xids[b]}" ]'
  check "both pets live" eval 'lives a && lives b'
  # The second pet again, resting (its first tick is a minute away): whatever moves it
  # now comes from the other.
  stop_pet b
  settings b "Mode=2\r\nLeft Margin=512\r\nTimer=60000\r\n"
  start_pet b
  if wait_for_pet b; then
    rest=$(rect b)
    take_hold a 5 5 1 0 0 512 768 && xdotool mousemove 500 400 && xdotool mousemove 3 3
    wine_env_wait "[ \"\$(rect a)\" = '0 0 50 50' ]" 100
    # Looked at while still held: once let go, the dragged pet walks on at its next tick.
    check "dragging one pet does not move the other" \
      eval '[ "$(rect a)" = "0 0 50 50" ] && [ "$(rect b)" = "$rest" ] ||
        { echo "     dragged pet at $(rect a), other at $(rect b), was at $rest"; false; }'
    xdotool mouseup 1
    if open_menu a; then
      xdotool key e
      check "Exit of one pet ends its process with 0" ends_with_zero a
      check "the other pet keeps running" \
        eval 'running b && probe alive ${hwnds[b]} && [ "$(field b visible)" = 1 ]'
    else fail "context menu of the first pet"; fi
    if open_menu b; then
      xdotool key e
      check "then Exit of the other ends it with 0" ends_with_zero b
    else fail "context menu of the second pet"; fi
  else fail "second pet appears again"; fi
else fail "two pets appear"; fi
stop_pet a; stop_pet b

echo "== end-to-end: margins that do not fit"
settings wide "Left Margin=500\r\nRight Margin=500\r\n"
start_pet wide
if wine_env_wait "probe box | grep -qx 'box Invalid Margin Values !'" 300; then
  check "margin box comes before the pet" eval '[ -z "$(visible_pets)" ]'
  probe close-box >/dev/null
  check "pet then runs with margins 0" eval 'wait_for_pet wide && inside_margins wide 0 0 0 0'
else fail "box \"Invalid Margin Values !\" shown"; fi
stop_pet wide

echo "== end-to-end: an executable directory too long for the settings path"
# The directory as Windows sees it (Z: + the path + the separator) of exactly $1
# characters; a pet there with Mode 2 beside it and Mode 0 in the Windows folder.
deep_pet() {
  local room=$(( $1 - 2 - ${#work} - 1 - 1 - 5 ))
  local name="deep/$(printf '%*s' "$room" '' | tr ' ' d)"
  settings "$name" "Mode=2\r\n"
  echo "$name"
}
windows_ini="$WINEPREFIX/drive_c/windows/tuvo.ini"
printf '[Setup]\r\nMode=0\r\n' >"$windows_ini"
for length in 246 247; do
  pet=$(deep_pet $length)
  start_pet "$pet"
  if wait_for_pet "$pet"; then
    if [ $length = 247 ]; then
      check "directory of 247 characters: the settings come from the Windows folder (mode 0)" \
        eval '[ "$(field "$pet" region)" = "2 2500" ]'
    else
      check "directory of 246 characters: the settings beside the program (mode 2)" \
        eval '[ "$(field "$pet" region)" != "2 2500" ] && region_is_a_frame "$pet"'
    fi
  else fail "pet in a directory of $length characters appears"; fi
  stop_pet "$pet"
done
# A short directory holding a program with a long name: the full name does not fit in
# 260 characters, the directory does, so the settings beside it are read (mode 2).
pet=$(deep_pet 240)
long_name="tuvo-$(printf '%*s' 36 '' | tr ' ' n).exe"
cp "$build/app/tuvo.exe" "$work/$pet/$long_name"
(cd "$work/$pet" && exec wine "$long_name") >/dev/null 2>&1 &
pids[$pet]=$!
if wait_for_pet "$pet"; then
  check "program of 45 characters in a directory of 240: the settings beside it (mode 2)" \
    eval '[ "$(field "$pet" region)" != "2 2500" ] && region_is_a_frame "$pet"'
else fail "pet with a long program name appears"; fi
stop_pet "$pet"
rm -f "$windows_ini"

echo "== end-to-end: $failures failure(s)"
[ "$failures" -eq 0 ]
