#!/usr/bin/env bash
# End-to-end tests of the real native tuvo's menu and dialogs on screens too small for
# them at the pet's scale, with openbox framing the dialogs: 1280 x 800 at Xft.dpi 192 and
# 1600 x 900 at 144 (the pet at scale 2 on both). The menu, the About box, the Options
# dialog and its message box must lie inside the screen with their frames, off the pet.
# Usage: dialogs-scale-e2e.sh NATIVE_BUILD
# Screenshots are kept in NATIVE_BUILD/e2e-x11/dialogs-scale.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" dialogs-scale
trap 'stop_all_pets; stop_display' EXIT


# dialog ID X Y W H TITLE of the dialog with exactly that title.
dialog_line() {
  probe dialogs | awk -v t="$1" '{ line = $0; $1 = $2 = $3 = $4 = $5 = $6 = ""; sub(/^ +/, "") } $0 == t { print line }'
}
dialog_open() { [ -n "$(dialog_line "$1")" ]; }

# The dialog's frame as the window manager put it round the client: LEFT TOP RIGHT BOTTOM.
frame_of() {  # title
  local d e
  read -r -a d <<<"$(dialog_line "$1" | cut -d' ' -f2-6)"
  [ "${#d[@]}" -eq 5 ] || return 1
  read -r -a e <<<"$(xprop -id "${d[0]}" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')"
  [ "${#e[@]}" -eq 4 ] || return 1
  echo "$((d[1] - e[0])) $((d[2] - e[2])) $((d[1] + d[3] + e[1])) $((d[2] + d[4] + e[3]))"
}

# The rectangle L T R B lies inside the screen and off the pet.
inside_and_off_pet() {  # what left top right bottom
  local p; read -r -a p <<<"$(rect pet)"
  local pl=${p[0]} pt=${p[1]} pr=$((p[0] + p[2])) pb=$((p[1] + p[3]))
  if [ "$2" -lt 0 ] || [ "$3" -lt 0 ] || [ "$4" -gt "$screen_w" ] || [ "$5" -gt "$screen_h" ]; then
    echo "     $1 at $2 $3 $4 $5 leaves the ${screen_w} x ${screen_h} screen"
    return 1
  fi
  if [ "$2" -lt "$pr" ] && [ "$pl" -lt "$4" ] && [ "$3" -lt "$pb" ] && [ "$pt" -lt "$5" ]; then
    echo "     $1 at $2 $3 $4 $5 covers the pet at $pl $pt $pr $pb"
    return 1
  fi
}

dialog_fits() {  # title what
  local f; f=$(frame_of "$1") || { echo "     no frame for $2"; return 1; }
  inside_and_off_pet "$2" $f
}

one_screen() {  # WxH dpi
  screen_w=${1%x*} screen_h=${1#*x}
  echo "== X11 end-to-end: the menu and dialogs on $1 at Xft.dpi $2"
  start_xvfb "${1}x24" || return 1
  echo "Xft.dpi: $2" | xrdb -merge
  start_window_manager || { fail "openbox starts"; stop_display; return 1; }
  # A tick a minute: the pet stands still where it appeared while the dialogs open by it.
  settings pet "Mode=1\nTimer=60000\n"
  start_pet pet 2
  if ! wait_for_pet pet; then
    fail "the pet appears"
    stop_pet pet; stop_display
    return 1
  fi
  local tag="$1-$2" m

  if open_menu pet; then
    read -r -a m <<<"$(probe menu | head -n 1 | cut -d' ' -f3-6)"
    import -window root "$work/$tag-menu.png" 2>/dev/null
    check "the menu lies inside the screen ($tag-menu.png)" \
      eval '[ "${m[0]}" -ge 0 ] && [ "${m[1]}" -ge 0 ] && [ $((m[0] + m[2])) -le "$screen_w" ] &&
        [ $((m[1] + m[3])) -le "$screen_h" ] || { echo "     menu at ${m[*]}"; false; }'
    xdotool key Escape
    wait_for '! menu_open' 30 || fail "Escape closes the menu"
  else fail "a right click opens the menu"; fi

  if choose pet a && wait_for "dialog_open '$about_title'" 50; then
    wait_for "frame_of '$about_title'" 30
    import -window root "$work/$tag-about.png" 2>/dev/null
    check "the About box and its frame lie inside the screen, off the pet ($tag-about.png)" \
      dialog_fits "$about_title" "the About box"
    xdotool key Escape
    wait_for "! dialog_open '$about_title'" 30 || fail "Escape closes the About box"
  else fail "a (关于) opens the About box"; fi

  if choose pet o && wait_for "dialog_open '$options_title'" 50; then
    wait_for "frame_of '$options_title'" 30
    import -window root "$work/$tag-options.png" 2>/dev/null
    check "the Options dialog and its frame lie inside the screen, off the pet ($tag-options.png)" \
      dialog_fits "$options_title" "the Options dialog"
    xdotool key Tab Tab
    xdotool type abc
    xdotool key Return
    if wait_for "dialog_open Tuvo" 50; then
      wait_for "frame_of Tuvo" 30
      import -window root "$work/$tag-box.png" 2>/dev/null
      check "its message box and its frame lie inside the screen, off the pet ($tag-box.png)" \
        dialog_fits Tuvo "the message box"
      xdotool key Return
      wait_for "! dialog_open Tuvo" 30 || fail "Enter closes the box"
    else fail "\"abc\" is refused with a box"; fi
    xdotool key Escape
    wait_for "! dialog_open '$options_title'" 30 || fail "Escape closes the Options dialog"
  else fail "o (选项) opens the Options dialog"; fi

  choose pet e && ends_with_zero pet || fail "e (退出) ends the program"
  stop_pet pet
  stop_display
}

one_screen 1280x800 192
one_screen 1600x900 144

finish_script "X11 end-to-end, dialogs on small screens"
