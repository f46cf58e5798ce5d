#!/usr/bin/env bash
# End-to-end tests of the real tuvo as a native Wayland client (a layer surface) on a
# headless sway of its own: the command line's backends, a crisp cat without any square
# or earlier frame in each display mode, natively and not through XWayland, the exact
# pixels at output scales 1 and 2, the drag within the margins, the menu at the pointer
# and Exit, the Options dialog saving, the About box animating, two outputs and the
# removal of one, and stepping aside for a full-screen window.
# Usage: native-e2e.sh NATIVE_BUILD; screenshots are kept in NATIVE_BUILD/e2e-wayland/native.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/native-lib.sh"
wayland_begin "$1" native
trap 'stop_sway' EXIT

options_title="Tuvo - 选项"
about_title="关于 Tuvo"

# --- the command line ------------------------------------------------------------------
echo "== native Wayland end-to-end: the command line"
mkdir -p "$work/no-runtime" && chmod 700 "$work/no-runtime"
err=$(cd "$work/no-runtime" && env -u WAYLAND_DISPLAY -u WAYLAND_SOCKET XDG_RUNTIME_DIR="$work/no-runtime" \
  XDG_CONFIG_HOME="$work/no-runtime/config" "$tuvo" --backend=wayland 2>&1 >/dev/null)
status=$?
check "--backend=wayland without a compositor: one line saying so, status 1, nothing written" \
  eval '[ $status = 1 ] && [ "$(wc -l <<<"$err")" = 1 ] && grep -q "^tuvo: cannot connect to the Wayland compositor" <<<"$err" &&
        [ ! -e "$work/no-runtime/config" ] || { echo "     status $status: $err"; false; }'
err=$("$tuvo" --backend=bogus 2>&1 >/dev/null); status=$?
check "--backend=bogus is an unknown option: status 2" \
  eval '[ $status = 2 ] && [ "$err" = "tuvo: unknown option '"'"'--backend=bogus'"'"' (try --help)" ] || { echo "     $status: $err"; false; }'
err=$(env -u DISPLAY WAYLAND_DISPLAY=no-such-compositor XDG_RUNTIME_DIR="$work/no-runtime" "$tuvo" 2>&1 >/dev/null)
status=$?
check "auto with WAYLAND_DISPLAY naming no compositor goes to X11 (no display here: status 1)" \
  eval '[ $status = 1 ] && grep -q "^tuvo: cannot open display" <<<"$err" || { echo "     $status: $err"; false; }'

start_sway 1280x800 || exit 1

err=$(env -u DISPLAY XDG_CONFIG_HOME="$work/no-runtime/config" "$tuvo" 2>&1 >/dev/null); status=$?
check "a compositor but no X display for the menu: says so, status 1, shows nothing" \
  eval '[ $status = 1 ] && grep -q "^tuvo: cannot open X display" <<<"$err" || { echo "     $status: $err"; false; }'

# --- the pet in each display mode ------------------------------------------------------
echo "== native Wayland end-to-end: the pet in each display mode, natively"
for mode in 1 2 0; do
  settings "m$mode" "Mode=$mode\n"
  start_pet "m$mode"
  if pet_shows "m$mode" 1; then
    pass "mode $mode: a crisp cat, its pixels exactly the sheet's, nothing else on the desktop (m$mode.png)"
    check "mode $mode: natively, without an X connection or an X window of its own" native "m$mode"
    check "mode $mode: moves over its ticks, every look exact: no square, no earlier frame" \
      keeps_exact_and_moves "m$mode" 1
  else
    fail "mode $mode: the pet shows crisp (m$mode.png)"
  fi
  stop_pet "m$mode"
done

echo "== native Wayland end-to-end: output scale 2"
sway_output output HEADLESS-1 scale 2
settings big "Mode=1\n"
start_pet big
check "at output scale 2 the cat is drawn at device resolution: each pet pixel a crisp 2 x 2 block (big.png)" \
  pet_shows big 2
check "it moves at scale 2, every look exact" keeps_exact_and_moves big 2
sway_output output HEADLESS-1 scale 1
check "back at output scale 1 it follows: crisp 1 x 1 pixels (big-1.png)" pet_shows big-1 1
stop_pet big

# --- the pointer -----------------------------------------------------------------------
# sway draws the pointer's cursor into the screenshots: hidden once the pointer rests.
# Hidden, the pointer's focus goes too, and a press that comes after it goes nowhere: a
# press on the pet is moved to its place in the same command.
swaymsg 'seat seat0 fallback true' >/dev/null
swaymsg 'seat seat0 hide_cursor 100' >/dev/null
start_pointer
pointer "move 1279 799" || fail "the virtual pointer moves"

echo "== native Wayland end-to-end: the drag within the margins"
settings drag "Top Margin=100\nLeft Margin=200\nBottom Margin=150\nRight Margin=300\n"
start_pet drag
if wait_for "pet_in_shot drag 1" 50 && take_hold drag 930 600; then
  pass "held and carried past the bottom-right margins, it stops at them: corner at 930, 600"
  pointer "glide 600 400" || true
  # Where the press landed on the walking pet is known to a few pixels; from there on the
  # grabbed spot must follow the pointer exactly.
  check "carried back, the pet comes under the pointer" \
    eval 'wait_for "pet_at drag-in $((600 - grab_x)) $((400 - grab_y)) 600 400 12" 50 || { echo "     ${found[*]}"; false; }'
  x=0 y=0
  [ "${found[0]:-}" = pet ] && x=${found[4]} y=${found[5]}
  pointer "glide 650 430" || true
  check "moved on, the grabbed spot stays under the pointer: the pet moved exactly as far" \
    eval 'wait_for "pet_at drag-on $((x + 50)) $((y + 30)) 650 430" 50 || { echo "     ${found[*]}"; false; }'
  pointer "glide 5 5" || true
  check "past the top-left margins it stops at them: corner at 200, 100" \
    eval 'wait_for "pet_at drag-tl 200 100 5 5" 50 || { echo "     ${found[*]}"; false; }'
  pointer "release left" "move 1279 799"
  check "let go, it lives on" eval 'wait_for "pet_in_shot drag-after 1" 50'
else
  fail "the pet is taken hold of with the left button and stops at the bottom-right margins"
fi
stop_pet drag

echo "== native Wayland end-to-end: the menu"
settings menu "Mode=1\n"
start_pet menu
if wait_for "pet_in_shot menu 1" 50; then
  check "before the menu opens the pet has no X connection" native menu
  if open_menu menu 1 1; then
    pass "a right click opens the menu"
    read -r -a m <<<"$(probe menu | head -n 1 | cut -d' ' -f3-6)"
    check "the menu opens at the pointer ($menu_x, $menu_y): its corner there, or above it near the bottom" \
      menu_at_pointer
    shot menu-open && keep_png menu-open
    check "the menu came through XWayland: now the pet has an X connection" \
      eval '[ "$(x_connections "${pids[menu]}")" -ge 1 ]'
    xdotool key e
    check "Exit (e) ends the pet with status 0" ends_with_zero menu
  else
    fail "a right click opens the menu"
  fi
else
  fail "the menu's pet shows"
fi
stop_pet menu

echo "== native Wayland end-to-end: the menu at output scale 2"
# XWayland's pixels are the compositor's logical ones: the menu comes at the pointer there
# (half the device pixels) and its text at half the pet's scale, which the compositor
# doubles again.
sway_output output HEADLESS-1 scale 2
settings menu2 "Mode=1\n"
start_pet menu2
if wait_for "pet_in_shot menu2 2" 50 && open_menu menu2 2 2; then
  read -r -a m <<<"$(probe menu | head -n 1 | cut -d' ' -f3-6)"
  check "the menu opens at the pointer ($menu_x, $menu_y) in XWayland's logical pixels" menu_at_pointer
  check "the menu is as tall as at output scale 1: its text at scale 1 on XWayland" \
    eval '[ "${m[3]}" -lt 120 ] || { echo "     menu at ${m[*]}"; false; }'
  shot menu2-open && keep_png menu2-open
  xdotool key Escape
  wait_for '! menu_open' 30 || fail "Escape closes the menu"
else
  fail "a right click opens the menu at output scale 2"
fi
stop_pet menu2
sway_output output HEADLESS-1 scale 1

echo "== native Wayland end-to-end: the Options dialog and the About box"
settings dlg "Mode=1\n"
start_pet dlg
# A double click: the pet stopped while both clicks are sent, so that it is where it was
# seen; it takes them when it goes on.
if wait_for "pet_in_shot dlg 1" 50 && freeze_pet dlg; then
  pet_in_shot dlg-still 1
  pointer "click left ${found[7]} ${found[8]}" "click left ${found[7]} ${found[8]}"
  thaw_pet dlg
  check "a double click with the left button opens the menu there" \
    eval 'wait_for menu_open 30 && menu_x=${found[7]} menu_y=${found[8]} menu_at_pointer'
  xdotool key Escape
  wait_for '! menu_open' 30 || fail "Escape closes the menu"
  pointer "move 1279 799"
else
  fail "the pet shows and stops for a double click"
fi
if choose dlg o && wait_for "dialog_open '$options_title'" 50; then
  pass "o (选项) opens the Options dialog"
  check "Tab to the speed, 300, Enter: the dialog closes and the file holds Timer=300" save_speed dlg 300
else
  fail "o (选项) opens the Options dialog"
fi
if choose dlg a && wait_for "dialog_open '$about_title'" 50; then
  pass "a (关于) opens the About box"
  read -r -a d <<<"$(dialog_line "$about_title" | cut -d' ' -f3-6)"
  shot about-1 "${d[@]}" && keep_png about-1
  check "the About box animates (about-1.png, about-2.png)" \
    eval 'wait_for "shot about-2 ${d[*]} && keep_png about-2 && ! cmp -s \"$work/about-1.png\" \"$work/about-2.png\"" 30'
  xdotool key Escape
else
  fail "a (关于) opens the About box"
fi
stop_pet dlg

echo "== native Wayland end-to-end: two outputs"
create_output && second=$new_output || fail "a second output is made"
sway_output output "$second" resolution 1280x800 position 1280 0 scale 2
settings two "Mode=1\n"
start_pet two
if wait_for "pet_in_shot two 1" 50 && take_hold two 1230 750; then
  pointer "glide 1500 200" "release left" "move 1279 799"
  check "dropped on the second output (scale 2) it lives there, at scale 2, crisp (two-second.png)" \
    pet_shows two-second 2 "$second"
  check "it moves there, every look exact: no trail left on an output away from the origin" \
    keeps_exact_and_moves two-second 2 "$second"
  on_output=$second on_x=1280 on_y=0
  # sway puts a new window on the output that has the focus, centred there, whatever
  # place the window asks for: the focus follows the pointer there, as on a desktop.
  swaymsg focus output "$second" >/dev/null
  if choose two a 2 2 && wait_for "dialog_open '$about_title'" 50; then
    read -r -a d <<<"$(dialog_line "$about_title" | cut -d' ' -f3-6)"
    check "its About box opens on its output (logical 1280, 0, 640 x 400)" \
      eval 'cx=$((d[0] + d[2] / 2)) cy=$((d[1] + d[3] / 2))
            [ "$cx" -ge 1280 ] && [ "$cx" -lt 1920 ] && [ "$cy" -ge 0 ] && [ "$cy" -lt 400 ] ||
            { echo "     About box at ${d[*]}"; false; }'
    xdotool key Escape
    wait_for "! dialog_open '$about_title'" 30
  else
    fail "its About box opens on the second output"
  fi
  on_output=HEADLESS-1 on_x=0 on_y=0
  # (sway 1.7 cannot disable a headless output: the removal is tried below, nested.)
  sway_output output "$second" position 0 800
  check "that output moved below the first, the pet keeps to it, crisp (two-moved.png)" \
    pet_shows two-moved 2 "$second"
else
  fail "the pet on two outputs is taken hold of"
fi
stop_pet two

echo "== native Wayland end-to-end: an output removed"
# A sway nested in the headless one, its two outputs windows there: closing a window
# removes that output, as unplugging a monitor does.
if start_nested_sway; then
  settings gone "Mode=1\n"
  WAYLAND_DISPLAY=$nested_display start_pet gone
  shot_display=$nested_display
  # Carried from WL-1 to WL-2 with a pointer of the nested sway's own.
  carried=no
  for try in 1 2 3 4; do
    wait_for "pet_in_shot gone 1 WL-1" 50 || break
    WAYLAND_DISPLAY=$nested_display "$pointer_bin" "move ${found[7]} ${found[8]}" "press left" \
      "glide 900 300" "release left" >/dev/null
    if wait_for "pet_in_shot gone-second 1 WL-2" 30; then carried=yes; break; fi
  done
  check "carried to the nested sway's second output, it lives there (gone-second.png)" [ "$carried" = yes ]
  keep_png gone-second
  check "that output removed, the pet comes back onto the first, crisp (gone-back.png)" \
    eval 'remove_nested_output WL-2 && pet_shows gone-back 1 WL-1'
  shot_display=
  stop_pet gone
else
  fail "a sway nested in the headless one starts"
fi
stop_nested_sway

echo "== native Wayland end-to-end: a full-screen window"
# The compositor's requests of each pet, as libwayland logs them: the pet steps aside by
# unmapping its surface (it is destroyed) and comes back with a new one.
requests() { grep -c "$2" "$work/$1/stderr"; }
last_margin_before_destroy() {
  awk '/zwlr_layer_surface_v1@[0-9]+\.set_margin/ { m = $0 } /zwlr_layer_surface_v1@[0-9]+\.destroy/ { print m; exit }' \
    "$work/$1/stderr" | grep -o 'set_margin(.*)'
}
first_margin_after_return() {
  awk '/get_layer_surface/ { n++ } n >= 2 && /zwlr_layer_surface_v1@[0-9]+\.set_margin/ { print; exit }' \
    "$work/$1/stderr" | grep -o 'set_margin(.*)'
}
settings aside "Mode=1\n"
settings stays "Mode=1\nFullscreen=0\n"
WAYLAND_DEBUG=client start_pet aside
WAYLAND_DEBUG=client start_pet stays
wait_for "[ \$(requests aside 'wl_surface@[0-9]*.commit') -ge 3 ] && [ \$(requests stays 'wl_surface@[0-9]*.commit') -ge 3 ]" 100 ||
  fail "the pets start"
# First on the other output: the pets' output stays uncovered.
swaymsg focus output "$second" >/dev/null
if open_full_screen; then
  stays_commits=$(requests stays 'wl_surface@[0-9]*.commit')
  check "a full-screen window on another output: the pet stays" \
    eval 'wait_for "[ \$(requests stays \"wl_surface@[0-9]*.commit\") -ge $((stays_commits + 8)) ]" 100 &&
          [ "$(requests aside "zwlr_layer_surface_v1@[0-9]*.destroy")" = 0 ]'
  stop_full_screen
else
  fail "a full-screen window opens on the other output"
fi
swaymsg focus output HEADLESS-1 >/dev/null
if open_full_screen; then
  check "a full-screen window on its output: the pet unmaps its surface" \
    eval 'wait_for "[ \$(requests aside \"zwlr_layer_surface_v1@[0-9]*.destroy\") -ge 1 ]" 50'
  commits=$(requests aside 'wl_surface@[0-9]*.commit') stays_commits=$(requests stays 'wl_surface@[0-9]*.commit')
  check "meanwhile it pauses: while a pet with Fullscreen=0 goes on, it sends nothing" \
    eval 'wait_for "[ \$(requests stays \"wl_surface@[0-9]*.commit\") -ge $((stays_commits + 8)) ]" 100 &&
          [ "$(requests aside "wl_surface@[0-9]*.commit")" = "$commits" ]'
  check "the pet with Fullscreen=0 never stepped aside" eval '[ "$(requests stays "zwlr_layer_surface_v1@[0-9]*.destroy")" = 0 ]'
  stop_full_screen
  check "the window gone, the pet comes back where it was" \
    eval 'wait_for "[ \$(requests aside get_layer_surface) -ge 2 ]" 50 &&
          [ "$(first_margin_after_return aside)" = "$(last_margin_before_destroy aside)" ] ||
          { echo "     went at $(last_margin_before_destroy aside), came back at $(first_margin_after_return aside)"; false; }'
  stop_pet stays
  check "and shows crisp again (aside.png)" pet_shows aside 1
else
  fail "a full-screen window opens on the pets' output"
fi
stop_all_pets

finish_script native-e2e
