# Sourced by the native Wayland end-to-end script after the sway test bed (lib.sh): takes
# the pets it starts and returns what is seen of them: the pet found exactly on an
# output's screenshot (or near a place, the cursor left out), its X connections, its menu
# and dialogs through XWayland, and the pointer's ways of taking hold of it. Every wait is
# for a condition, with a bound.

# A shot NAME of one output (HEADLESS-1 unless named) at its device resolution in which
# the probe finds the pet exactly: found=(pet PICTURE IMAGE MIRRORED X Y SCALE GX GY),
# device pixels of that output.
pet_in_shot() {  # name scale [output]
  WAYLAND_DISPLAY=${shot_display:-$WAYLAND_DISPLAY} timeout 10 grim -t ppm -o "${3:-HEADLESS-1}" "$work/$1.ppm" || return 1
  read -r -a found <<<"$(find_pet_in "$1" "$2")"
  [ "${found[0]:-}" = pet ]
}
# Waits for the pet to show exactly; keeps the shot as NAME.png.
pet_shows() {  # name scale [output]
  if wait_for "pet_in_shot $*" 50; then keep_png "$1"; return 0; fi
  echo "     $(find_pet_in "$1" "$2")"
  keep_png "$1"
  return 1
}
# A shot NAME of HEADLESS-1 at scale 1 showing the pet exactly with its corner at (X, Y)
# (or up to R pixels from there), the pointer's cursor at (PX, PY) left out.
pet_at() {  # name x y px py [r]
  grim -t ppm -o HEADLESS-1 "$work/$1.ppm" || return 1
  read -r -a found <<<"$("$shot_bin" near "$work/$1.ppm" "$background" 1 "$2" "$3" "${6:-0}" \
    $(($4 - 16)) $(($5 - 16)) 40 40)"
  [ "${found[0]:-}" = pet ]
}
# Takes hold of the pet on HEADLESS-1 (scale 1) with the left button and carries it to the
# output's bottom-right corner, where it must stop with its corner at (CX, CY): only then
# is it held. The pet is stopped from the shot to the press, so that it is pressed where
# the shot showed it, however slow the machine; it takes the press when it goes on. The
# button stays down. grab_x, grab_y: the spot pressed, from the pet's corner.
take_hold() {  # name cx cy
  local tries=4 pressed
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    freeze_pet "$1" || return 1
    pet_in_shot "$1-grip" 1 || { thaw_pet "$1"; continue; }
    local gx=${found[7]} gy=${found[8]}
    grab_x=$((gx - found[4])) grab_y=$((gy - found[5]))
    pointer "press left $gx $gy"; pressed=$?
    thaw_pet "$1"
    [ "$pressed" = 0 ] && pointer "glide 1279 799" || return 1
    wait_for "pet_at $1-held $2 $3 1279 799" 30 && return 0
    echo "     not held (pressed at $gx $gy): trying again"
    pointer "release left"
  done
  return 1
}

# The unix sockets of process PID whose other end is an X server's (XWayland's) socket.
x_connections() {  # pid
  ss -xpn 2>/dev/null | awk -v pid="pid=$1," '
    { local_inode[$6] = $5; peer[$6] = $8; mine[$6] = index($0, pid) > 0 }
    END { n = 0; for (i in mine) if (mine[i] && index(local_inode[peer[i]], ".X11-unix") > 0) n++; print n }'
}
# No X window of the pet's own class exists on XWayland's display.
no_x_window() {
  ! xwininfo -root -tree 2>/dev/null | grep -qi '"tuvo"'
}
# The pet lives natively: no X connection, no X window of its own.
native() {  # name
  [ "$(x_connections "${pids[$1]}")" = 0 ] && no_x_window ||
    { echo "     X connections: $(x_connections "${pids[$1]}")"; false; }
}

# Shots over the pet's ticks: every one shows it exactly (no square, no earlier frame),
# and it shows at least three looks (pictures or places).
keeps_exact_and_moves() {  # name scale [output]
  local n looks=() seen bad=0
  for n in $(seq 1 16); do
    if pet_in_shot "$1-$n" "$2" "${3:-HEADLESS-1}"; then
      seen="${found[1]} ${found[4]} ${found[5]}"
      [[ " ${looks[*]:-} " == *" $seen "* ]] || looks+=("$seen")
      rm -f "$work/$1-$n.ppm"
    else
      bad=$((bad + 1))
      echo "     shot $n: $(find_pet_in "$1-$n" "$2")"
      keep_png "$1-$n"
    fi
    [ "${#looks[@]}" -ge 3 ] && [ "$n" -ge 8 ] && break
  done
  [ "$bad" = 0 ] && [ "${#looks[@]}" -ge 2 ] || { echo "     $bad bad shots, ${#looks[@]} looks"; false; }
}

# Grips the pet with a button: the pointer to a point well inside it and the button
# pressed; tries again where the pet walked off meanwhile. Sets grip_x, grip_y (logical)
# and corner_x, corner_y (device) as found.
# The pet is looked for on $on_output, whose logical corner is at ($on_x, $on_y).
on_output=HEADLESS-1 on_x=0 on_y=0
press_on_pet() {  # name scale button logical-scale
  local tries=4
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    pet_in_shot "$1-grip" "$2" "$on_output" || continue
    grip_x=$((on_x + found[7] / $4)) grip_y=$((on_y + found[8] / $4)) corner_x=${found[4]} corner_y=${found[5]}
    pointer "press $3 $grip_x $grip_y" || return 1
    return 0
  done
  return 1
}
menu_open() { probe menu >/dev/null; }
# Right-clicks the pet and waits for its menu; menu_x, menu_y: where the pointer was.
open_menu() {  # name scale logical-scale
  local tries=4
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    press_on_pet "$1" "$2" right "$3" && pointer "release right" || continue
    if wait_for menu_open 20; then
      menu_x=$grip_x menu_y=$grip_y
      return 0
    fi
  done
  return 1
}
choose() {  # name key [scale logical-scale]
  open_menu "$1" "${3:-1}" "${4:-1}" || return 1
  xdotool key "$2"
  wait_for '! menu_open' 30
}
# The open menu (m: X Y W H) has its top-left corner at the pointer, give or take its
# border; where there is no room below, its bottom edge is there, and where there is no
# room to the right, its right edge is the screen's.
near() { [ $(($1 - $2)) -ge -3 ] && [ $(($1 - $2)) -le 3 ]; }
menu_at_pointer() {
  read -r -a m <<<"$(probe menu | head -n 1 | cut -d' ' -f3-6)"
  local width; width=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
  { near "${m[0]:-0}" "$menu_x" || { [ $((menu_x + m[2])) -gt "$width" ] && near $((m[0] + m[2])) "$width"; }; } &&
    { near "${m[1]}" "$menu_y" || near $((m[1] + m[3])) "$menu_y"; } ||
    { echo "     menu at ${m[*]}"; false; }
}
dialog_line() {
  probe dialogs | awk -v t="$1" '{ line = $0; $1 = $2 = $3 = $4 = $5 = $6 = ""; sub(/^ +/, "") } $0 == t { print line }'
}
dialog_open() { [ -n "$(dialog_line "$1")" ]; }
