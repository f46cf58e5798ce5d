#!/usr/bin/env bash
# End-to-end tests of the real native tuvo on the desktops it meets: a full-screen
# program under openbox, which the pet steps aside for and comes back from; margins in
# the file judged at the scale the pet takes; on an Xorg server with the dummy driver, a
# full-screen program that switches the screen to a smaller size (the pet stays aside),
# and two monitors side by side (Xinerama), across which the pet is carried and on the
# second of which it lives within its margins.
# Usage: desktop-e2e.sh NATIVE_BUILD
# Screenshots and the Xorg server's configuration and log are kept in
# NATIVE_BUILD/e2e-x11/desktop.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" desktop
cover_pid=
stop_cover() {
  [ -n "$cover_pid" ] || return 0
  kill "$cover_pid" 2>/dev/null
  wait "$cover_pid" 2>/dev/null
  cover_pid=
}
trap 'stop_cover; stop_all_pets; stop_display' EXIT

# The probe's own window, full screen or maximised, and active: true once the window
# manager made it so. Its id is in $work/$1.txt.
open_cover() {  # fullscreen|maximised
  "$probe_bin" "$1" >"$work/$1.txt" &
  cover_pid=$!
  wait_for "grep -q '^cover ' '$work/$1.txt'" 50 || return 1
  local id state; id=$(cut -d' ' -f2 "$work/$1.txt")
  [ "$1" = fullscreen ] && state=_NET_WM_STATE_FULLSCREEN || state=_NET_WM_STATE_MAXIMIZED_VERT
  wait_for "xprop -root _NET_ACTIVE_WINDOW | grep -q '# $id\$' && xprop -id $id _NET_WM_STATE | grep -q $state" 50
}
# The pet's window stays mapped for a second after the cover came.
stays() { probe watch "${wins[$1]}" 1000 | grep -q ' maps 0 ' && viewable "$1"; }
# While away, nothing about the window changes for 1.5 s: the pet is paused.
paused() { probe watch "${wins[$1]}" 1500 | grep -q '^watch moves 0 shapes 0 maps 0 '; }
# What the pet's window was when it stepped aside: its place and its shape.
state_of() { probe window "${wins[$1]}" | grep -E '^(geometry|shape) '; }

echo "== X11 end-to-end: full-screen courtesy under openbox"
start_xvfb || exit 1
start_window_manager || { echo "FAIL openbox does not start"; exit 1; }
# Three pets in three thirds of the screen; the last does not step aside.
settings shaped "Mode=1\nRight Margin=683\n"
settings square "Mode=0\nLeft Margin=341\nRight Margin=341\n"
settings stay "Mode=2\nLeft Margin=683\nFullscreen=0\n"
for pet in shaped square stay; do start_pet $pet; done
if wait_for_pet shaped && wait_for_pet square && wait_for_pet stay; then
  if open_cover maximised; then
    check "a maximised window, active, sends no pet away" eval 'stays shaped && viewable square && viewable stay'
  else fail "the probe's maximised window becomes active"; fi
  stop_cover

  if open_cover fullscreen; then
    check "a full-screen window, active, covering the screen: the pets step aside (unmapped)" \
      wait_for "unmapped shaped && unmapped square" 50
    check "with Fullscreen=0 the pet stays" stays stay
    check "while away the pets are paused" eval 'paused shaped && paused square'
    # The pets' places and shapes while away, then the same at the moment each is
    # mapped again. A look that came after the pet's next tick says so ("late"): the
    # full screen once more then.
    for attempt in 1 2 3; do
      away_state=$(state_of shaped)
      away_square=$(state_of square | grep geometry)
      "$probe_bin" await-map "${wins[shaped]}" 1 10000 >"$work/back-shaped.txt" &
      back_shaped=$!
      "$probe_bin" await-map "${wins[square]}" 1 10000 >"$work/back-square.txt" &
      back_square=$!
      wait_for "grep -q ready '$work/back-shaped.txt' && grep -q ready '$work/back-square.txt'" 50
      stop_cover
      wait "$back_shaped"; wait "$back_square"
      grep -q '^late' "$work/back-shaped.txt" "$work/back-square.txt" || break
      echo "     a pet ticked before it was looked at (attempt $attempt)"
      open_cover fullscreen && wait_for "unmapped shaped && unmapped square" 50
    done
    check "the window gone, the pet comes back where and as it was, showing a picture" \
      eval '[ "$(grep -E "^(geometry|shape) " "$work/back-shaped.txt")" = "$away_state" ] &&
        grep -q "^frame " "$work/back-shaped.txt" ||
        { echo "     away: $away_state"; sed "s/^/     back: /" "$work/back-shaped.txt"; false; }'
    # Mode 0 takes what lies under it anew: the desktop, not the full-screen window.
    check "mode 0 comes back where it was over the desktop, not over what covered it" \
      eval '[ "$(grep "^geometry " "$work/back-square.txt")" = "$away_square" ] &&
        grep -q "^frame " "$work/back-square.txt" ||
        { echo "     away: $away_square"; sed "s/^/     back: /" "$work/back-square.txt"; false; }'
    check "mode 0 after coming back: only the cat over the desktop (back-mode0.png)" shows_a_frame square back-mode0
    check "both live again" eval 'lives shaped && lives square'
  else fail "the probe's full-screen window becomes active"; fi
else fail "three pets appear"; fi
stop_cover
stop_all_pets
stop_display

echo "== X11 end-to-end: the file's margins judged at the scale the pet takes"
start_xvfb || exit 1
start_window_manager || { echo "FAIL openbox does not start"; exit 1; }
# Room for the 50-pixel pet, none for the 100-pixel one: refused at start, as the Options
# dialog refuses them, and the pet at the scale the file asks for without margins.
settings refused "Mode=1\nScale=2\nLeft Margin=472\nRight Margin=472\n"
start_pet refused 2
if wait_for "dialog_open Tuvo" 100; then
  check "Scale=2 with margins that leave 80 pixels: the box \"Invalid Margin Values !\"" \
    eval '[ "$(tail -n 1 "$work/refused/stderr")" = "Invalid Margin Values !" ]'
  xdotool key Return
  if wait_for_pet refused; then
    check "then the pet at scale 2 (100 x 100)" eval '[ "$(rect refused | cut -d" " -f3,4)" = "100 100" ]'
    # Without margins it can be carried to the screen's left edge.
    if take_hold refused 5 5; then
      xdotool mousemove 0 300
      check "and without margins: carried to the screen's left edge" \
        wait_for "[ \"\$(rect refused | cut -d' ' -f1)\" = 0 ]" 30
      xdotool mouseup 1
    else fail "take hold of the pet at scale 2"; fi
  else fail "the pet appears after the box"; fi
else fail "Scale=2 with margins that leave 80 pixels: a box at start"; fi
stop_pet refused
# Margins that leave room at scale 2 in whole pet pixels (230 + 231 + 50 of 512) are taken.
settings taken "Mode=1\nScale=2\nLeft Margin=460\nRight Margin=462\n"
start_pet taken 2
if wait_for_pet taken; then
  check "Scale=2 with margins that leave room for the 100-pixel pet: no box, scale 2, between them" \
    eval '! [ -s "$work/taken/stderr" ] && read -r -a r <<<"$(rect taken)" &&
      [ "${r[2]}" = 100 ] && [ "${r[0]}" -ge 460 ] && [ "${r[0]}" -le 462 ] ||
      { echo "     $(rect taken), stderr: $(cat "$work/taken/stderr")"; false; }'
else fail "Scale=2 with margins that leave room: the pet appears"; fi
stop_all_pets
stop_display

# 1024 x 768 heads on the dummy driver: two side by side as one Xinerama screen, or one
# with an 800 x 600 mode to switch to (RandR).
write_xorg_conf() {  # heads
  local i modes='"1024x768"'
  [ "$1" = 1 ] && modes='"1024x768" "800x600"'
  {
    printf 'Section "ServerFlags"\n  Option "AutoAddDevices" "false"\n  Option "DontVTSwitch" "true"\nEndSection\n'
    for ((i = 0; i < $1; i++)); do
      printf 'Section "Monitor"\n  Identifier "m%s"\n  HorizSync 30-90\n  VertRefresh 50-75\n' $i
      printf '  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync\n'
      printf '  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync\nEndSection\n'
      printf 'Section "Device"\n  Identifier "d%s"\n  Driver "dummy"\n  VideoRam 16384\nEndSection\n' $i
      printf 'Section "Screen"\n  Identifier "s%s"\n  Device "d%s"\n  Monitor "m%s"\n  DefaultDepth 24\n' $i $i $i
      printf '  SubSection "Display"\n    Depth 24\n    Modes %s\n    Virtual 1024 768\n  EndSubSection\nEndSection\n' "$modes"
    done
    printf 'Section "ServerLayout"\n  Identifier "desk"\n  Screen 0 "s0"\n'
    [ "$1" = 2 ] && printf '  Screen 1 "s1" RightOf "s0"\n  Option "Xinerama" "true"\n'
    printf 'EndSection\n'
  } >"$work/xorg-$1.conf"
}
two_heads() { xdpyinfo -ext XINERAMA 2>/dev/null | grep -q 'head #1: 1024x768 @ 1024,0'; }
# (grep reads on: with pipefail, a grep -q that stops early fails xdpyinfo's write.)
one_head() { xdpyinfo | grep 'dimensions: *1024x768 pixels' >/dev/null; }
start_xorg() {  # heads
  local n; n=$(free_display_number)
  write_xorg_conf "$1"
  mkdir -p "$work/xorg.conf.d"
  heads=$1
  local xinerama=-xinerama; [ "$1" = 2 ] && xinerama=+xinerama
  Xorg ":$n" -config "$work/xorg-$1.conf" -configdir "$work/xorg.conf.d" -noreset $xinerama -nolisten tcp \
    -logfile "$work/xorg-$1.log" -novtswitch -sharevts >"$work/xorg-$1.out" 2>&1 &
  server_pid=$!
  export DISPLAY=":$n"
  if [ "$1" = 2 ]; then wait_for "xdpyinfo" 150 && two_heads; else wait_for "xdpyinfo" 150 && one_head; fi
}
why_no_xorg() {
  [ "$(id -u)" = 0 ] || { echo "Xorg needs root here"; return; }
  command -v Xorg >/dev/null || { echo "no Xorg (xserver-xorg-core)"; return; }
  grep -h -m 1 -A 1 'Fatal server error' "$work/xorg-$heads.log" 2>/dev/null | tail -n 1 | grep . ||
    echo "not the heads asked for"
}
can_run_xorg() { [ "$(id -u)" = 0 ] && command -v Xorg >/dev/null; }

echo "== X11 end-to-end: a full-screen program switches the screen to 800 x 600"
if can_run_xorg && start_xorg 1; then
  probe backdrop
  if start_window_manager; then
    settings aside "Mode=1\n"
    start_pet aside
    if wait_for_pet aside && open_cover fullscreen && wait_for "unmapped aside" 50; then
      cover_id=$(cut -d' ' -f2 "$work/fullscreen.txt")
      # Whether the pet's window is mapped again within 4 s of the switch.
      "$probe_bin" await-map "${wins[aside]}" 1 4000 >"$work/switched.txt" &
      watcher=$!
      wait_for "grep -q ready '$work/switched.txt'" 50
      xrandr -s 800x600
      check "the full-screen window follows the screen to 800 x 600" \
        wait_for "xwininfo -id $cover_id | grep -q 'Width: 800'" 50
      wait "$watcher"
      check "the pet stays aside all the while, never shown over the program" \
        eval 'grep -q "^not mapped" "$work/switched.txt" || { sed "s/^/     /" "$work/switched.txt"; false; }'
      stop_cover
      check "the program gone, the pet comes back inside the 800 x 600 screen" \
        wait_for 'viewable aside && read -r -a r <<<"$(rect aside)" && [ $((r[0] + r[2])) -le 800 ] &&
          [ $((r[1] + r[3])) -le 600 ]' 50
    else fail "the pet steps aside for a full-screen window on one Xorg head"; fi
    stop_pet aside
    stop_cover
  else fail "openbox starts on one Xorg head"; fi
  stop_display
else
  skip "a switch of the screen's size: the Xorg dummy server cannot run here: $(why_no_xorg)"
  stop_display
fi

echo "== X11 end-to-end: two monitors"
if can_run_xorg && start_xorg 2; then
  probe backdrop
  settings wide "Mode=1\nLeft Margin=200\nRight Margin=200\n"
  start_pet wide
  if wait_for_pet wide; then
    check "the pet starts on the first head within its margins" \
      eval 'read -r -a r <<<"$(rect wide)"; [ "${r[0]}" -ge 200 ] && [ $((r[0] + 50)) -le 824 ]'
    if take_hold wide 5 5 200 0 200 0; then
      # Onto the second head: the left margin there is judged from its own edge.
      xdotool mousemove 1030 300
      check "carried onto the second head, held at its left margin (x 1224)" \
        wait_for "[ \"\$(rect wide | cut -d' ' -f1)\" = 1224 ]" 30
      xdotool mousemove 2047 400
      check "and at its right margin (x 1798)" wait_for "[ \"\$(rect wide | cut -d' ' -f1)\" = 1798 ]" 30
      xdotool mousemove 1500 400
      check "the grabbed spot under the pointer on the second head" \
        wait_for "[ \"\$(rect wide | cut -d' ' -f1,2)\" = '$((1500 - grab_dx)) $((400 - grab_dy))' ]" 30
      xdotool mouseup 1
      xdotool mousemove 1000 700  # off the pet, on the first head
      check "it lives there (second-head.png)" eval 'lives wide && shows_a_frame wide second-head'
      check "walking, its window stays on the second head within the margins (x 1224 to 1798)" \
        eval 'out=$(probe watch "${wins[wide]}" 3000); read -r -a w <<<"$out";
          [ "${w[8]}" -ge 1224 ] && [ "${w[9]}" -le 1798 ] || { echo "     $out"; false; }'
    else fail "take hold of the pet on the first head"; fi
  else fail "the pet appears on two heads"; fi
  stop_pet wide
else
  skip "two monitors: the Xorg dummy server cannot run here: $(why_no_xorg)"
fi
stop_display

finish_script "X11 end-to-end, desktops"
