# Sourced by the X11 end-to-end scripts: takes the native build folder and gives them a
# display of their own, pets started from copies of the real binary in work folders, the
# probe's view of those pets, the pointer's ways of taking hold of one and opening its
# menu, and ok/FAIL lines. Every wait is for a condition, with a bound.

lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

failures=0
pass() { printf 'ok   %3ds %s\n' "$SECONDS" "$1"; }
fail() { printf 'FAIL %3ds %s\n' "$SECONDS" "$1"; failures=$((failures + 1)); }
skip() { printf 'skip %3ds %s\n' "$SECONDS" "$1"; }
check() {  # description, command...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# The script's last line, and its exit status.
finish_script() {
  echo "== $1: $failures failure(s)"
  [ "$failures" -eq 0 ]
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wait.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x-display.sh"

# The common start: sets build, tuvo, probe_bin and an empty work folder named $2 under
# the build's e2e-x11 folder (or under $TUVO_E2E_WORK, for runs side by side).
x11_begin() {  # native-build work-name
  # Pets started from a Wayland session would otherwise go to its compositor.
  unset WAYLAND_DISPLAY WAYLAND_SOCKET
  build=$(cd "$1" && pwd)
  tuvo="$build/linux/tuvo"
  probe_bin="$build/tests/e2e-x11/tuvo_x11_probe"
  work="${TUVO_E2E_WORK:-$build/e2e-x11}/$2"
  rm -rf "$work" && mkdir -p "$work"
  [ -x "$tuvo" ] && [ -x "$probe_bin" ] || { echo "FAIL no $tuvo or $probe_bin: build with -DTUVO_TESTS=ON"; exit 1; }
}

server_pid=
# An Xvfb display of this script's own, with the probe's pattern on its root window.
start_xvfb() {  # [WxHxD]
  local n; n=$(free_display_number)
  Xvfb ":$n" -screen 0 "${1:-1024x768x24}" -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
  server_pid=$!
  export DISPLAY=":$n"
  wait_for "xdpyinfo" 100 || { echo "FAIL Xvfb :$n did not start"; return 1; }
  probe backdrop
}

stop_display() {
  stop_window_manager
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=
  fi
}

wm_pid=
# openbox on the script's display, with a configuration folder of its own.
start_window_manager() {
  mkdir -p "$work/openbox-config"
  XDG_CONFIG_HOME="$work/openbox-config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wait_for "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" 100
}

stop_window_manager() {
  [ -n "$wm_pid" ] || return 0
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
  wm_pid=
}

# (Run "$probe_bin" itself in the background, so that $! is the probe.)
probe() { "$probe_bin" "$@"; }

# Each pet lives in a folder of its own under $work with its own tuvo.ini beside a copy
# of the binary: pids[name] is its process, wins[name] its window, scales[name] the scale
# it is expected to take.
declare -A pids=() wins=() scales=()

settings() { mkdir -p "$work/$1"; printf '[Setup]\n%b' "$2" >"$work/$1/tuvo.ini"; }

# Words every pet is started with (the XWayland tests ask for the X11 pet by name).
pet_options=()
start_pet() {  # name [scale]
  mkdir -p "$work/$1"
  cp "$tuvo" "$work/$1/tuvo"
  (cd "$work/$1" && XDG_CONFIG_HOME="$work/$1/config" exec ./tuvo "${pet_options[@]}") >"$work/$1/stdout" \
    2>"$work/$1/stderr" &
  pids[$1]=$!
  wins[$1]=
  scales[$1]=${2:-1}
}

running() { [ -n "${pids[$1]:-}" ] && kill -0 "${pids[$1]}" 2>/dev/null; }

# Ends the process that TABLE (an associative array of this shell's children: pids,
# helpers) holds under NAME, and forgets it; with no NAME, every one it holds.
stop_listed() {  # table [name]
  local -n listed=$1
  local name pid names=("${@:2}")
  [ $# -ge 2 ] || names=("${!listed[@]}")
  for name in "${names[@]}"; do
    pid=${listed[$name]:-}
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    listed[$name]=
  done
}
stop_pet() { stop_listed pids "$1"; }
stop_all_pets() { stop_listed pids; }

# The probe's line for the pet: pet ID PID X Y W H viewable|unmapped OVERRIDE.
pet_line() { probe pets | awk -v pid="${pids[$1]}" '$3 == pid'; }
find_pet() {
  local line; line=$(pet_line "$1")
  [ -n "$line" ] || return 1
  wins[$1]=$(cut -d' ' -f2 <<<"$line")
}
viewable() { pet_line "$1" | grep -q ' viewable '; }
unmapped() { pet_line "$1" | grep -q ' unmapped '; }
# Waits for the pet's window to be shown.
wait_for_pet() { wait_for "find_pet $1 && viewable $1" 100; }

# Where the pet's window is: x y w h.
rect() { pet_line "$1" | cut -d' ' -f4-7; }
# One fact of the probe's "window" lines.
field() { probe window "${wins[$1]}" | awk -v k="$2" '$1 == k { $1 = ""; sub(/^ /, ""); print }'; }
frame() { probe frame "${wins[$1]}" "${scales[$1]}" "${@:2}"; }

# What the user sees of the pet: its place and its pixels.
look() {
  local r; read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] || return 1
  echo "${r[*]} $(import -window root -crop "${r[2]}x${r[3]}+${r[0]}+${r[1]}" +repage rgb:- 2>/dev/null | md5sum)"
}

# The pet is alive: what is seen of it changes within 10 s (a resting cat still changes
# its picture every second or two).
lives() {
  local first; first=$(look "$1")
  [ -n "$first" ] && wait_for "[ \"\$(look $1)\" != \"$first\" ]" 100
}

# Waits for the pet's process to end and checks its exit status.
ends_with_zero() {
  local pid=${pids[$1]}
  wait_for "! kill -0 $pid" 100 || return 1
  wait "$pid"; local code=$?
  pids[$1]=
  [ "$code" = 0 ] || { echo "     exit status $code"; false; }
}

# The screen around the pet shows one of its pictures, crisp, without key colour, the
# desktop behind in mode 0; the look is kept as $2.png, four times its size. A few tries,
# since a look may fall between the window's new shape and its new picture.
shows_a_frame() {  # pet name
  local tries=5 out
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    out=$(frame "$1" "$work/$2.ppm") && {
      convert "$work/$2.ppm" -scale 400% "$work/$2.png" && rm -f "$work/$2.ppm"
      return 0
    }
  done
  echo "     $out"
  convert "$work/$2.ppm" -scale 400% "$work/$2-failed.png" 2>/dev/null
  return 1
}

# Takes hold of the pet with the left button at a point well inside its shape and moves
# the pointer by DX, DY towards the middle of the room the pet may walk in (the screen
# less the margins LEFT TOP RIGHT BOTTOM, when given), so that a pet at an edge can
# follow; true once the pet followed by exactly that much (give or take the pixel a
# scaled position rounds by), so it is held and not merely pressed. The button stays
# down; grip_x, grip_y are where the pointer is then, grab_dx, grab_dy the grabbed spot
# in the window.
take_hold() {  # pet dx dy [left top right bottom]
  local tries=3 g dx dy
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    # A window that just came up may stand over the pet until the pet's next restack,
    # which a pet answering a burst of restacks may leave a moment.
    wait_for "probe grip ${wins[$1]} ${scales[$1]} >/dev/null" 20
    read -r -a g <<<"$(probe press "${wins[$1]}" "${scales[$1]}" 1)"
    [ "${#g[@]}" -eq 4 ] || { echo "     no grip on the pet: ${g[*]}"; continue; }
    dx=$(( 2 * g[0] < ${4:-0} + 1024 - ${6:-0} ? $2 : -$2 ))
    dy=$(( 2 * g[1] < ${5:-0} + 768 - ${7:-0} ? $3 : -$3 ))
    xdotool mousemove_relative -- "$dx" "$dy"
    if wait_for "at_offset $1 ${g[2]} ${g[3]} $dx $dy" 30; then
      grip_x=$((g[0] + dx)) grip_y=$((g[1] + dy)) grab_dx=$((g[0] - g[2])) grab_dy=$((g[1] - g[3]))
      return 0
    fi
    echo "     not held: pressed at ${g[*]}, moved by $dx $dy, pet then at $(rect "$1")"
    xdotool mouseup 1
  done
  return 1
}

# The pet's corner is DX, DY from (X, Y), give or take a pixel above scale 1.
at_offset() {  # pet x y dx dy
  local r slack=$(( ${scales[$1]} > 1 ? 1 : 0 )); read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] || return 1
  local ex=$(( r[0] - $2 - $4 )) ey=$(( r[1] - $3 - $5 ))
  [ "${ex#-}" -le "$slack" ] && [ "${ey#-}" -le "$slack" ]
}

menu_open() { probe menu >/dev/null; }

# dialog ID X Y W H TITLE of the dialog with exactly that title.
dialog_line() {
  probe dialogs | awk -v t="$1" '{ line = $0; $1 = $2 = $3 = $4 = $5 = $6 = ""; sub(/^ +/, "") } $0 == t { print line }'
}
dialog_count() { dialog_line "$1" | wc -l; }
dialog_open() { [ "$(dialog_count "$1")" -ge 1 ]; }
options_title="Tuvo - 选项"
about_title="关于 Tuvo"
# In the open Options dialog, Tab walks OK, Cancel, then the four margins and the speed:
# types SPEED there and presses Enter. True once the dialog has closed and the pet's
# settings file holds Timer=SPEED; otherwise says what the file holds.
save_speed() {  # pet speed
  xdotool key Tab Tab Tab Tab Tab Tab
  xdotool type "$2"
  xdotool key Return
  wait_for "! dialog_open '$options_title'" 30 &&
    grep -qx "Timer=$2" <<<"$(tr -d '\r' 2>/dev/null <"$work/$1/tuvo.ini")" ||
    { echo "     file: $(tr -d '\r' 2>&1 <"$work/$1/tuvo.ini" | tr '\n' ' ')"; false; }
}

# Right-clicks the pet well inside its shape and waits for its menu; sets menu_x, menu_y
# to where the pointer was.
open_menu() {  # pet
  local tries=3 g
  while [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    # A window that just came up may stand over the pet until the pet's next restack,
    # which a pet answering a burst of restacks may leave a moment.
    wait_for "probe grip ${wins[$1]} ${scales[$1]} >/dev/null" 20
    read -r -a g <<<"$(probe press "${wins[$1]}" "${scales[$1]}" 3)"
    [ "${#g[@]}" -eq 4 ] || { echo "     no grip on the pet: ${g[*]}"; continue; }
    xdotool mouseup 3
    if wait_for menu_open 30; then
      menu_x=${g[0]} menu_y=${g[1]}
      return 0
    fi
  done
  return 1
}

# Opens the pet's menu and chooses the entry with the given mnemonic.
choose() {  # pet key
  open_menu "$1" || return 1
  xdotool key "$2"
  wait_for '! menu_open' 30
}
