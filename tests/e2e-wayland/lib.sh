# Sourced by the Wayland end-to-end scripts: takes the native build folder and gives them
# a headless sway of their own with XWayland, its outputs changed through swaymsg,
# screenshots by grim and the screenshot probe's reading of them, the virtual pointer,
# a full-screen window, and pets started from copies of the real binary in work folders
# (the X11 library's, which this one builds on). Every wait is for a condition, with a
# bound.
#
# sway refuses to run as root: it runs as the user $sway_user (made when missing), with
# a runtime folder of its own under /tmp. The pets, the probes and grim run as the
# script's own user: root reaches sway's sockets in that folder anyway, XWayland lets
# root in once the sway user has said so (xhost, below), and the pets then write their
# settings into the work folders under the build folder, which root owns, as in the
# X11 tests.

source "$(dirname "${BASH_SOURCE[0]}")/../e2e-x11/lib.sh"

sway_user=${TUVO_SWAY_USER:-tuvo-e2e}
background=3a6ea5  # the desktop's one colour: every pixel that is not the pet's

# The common start: sets build, tuvo, the probes, the pointer and an empty work folder
# named $2 under the build's e2e-wayland folder (or under $TUVO_E2E_WORK).
wayland_begin() {  # native-build work-name
  build=$(cd "$1" && pwd)
  tuvo="$build/linux/tuvo"
  probe_bin="$build/tests/e2e-x11/tuvo_x11_probe"
  shot_bin="$build/tests/e2e-wayland/tuvo_shot_probe"
  pointer_bin="$build/tests/e2e-wayland/tuvo_wl_pointer"
  work="${TUVO_E2E_WORK:-$build/e2e-wayland}/$2"
  rm -rf "$work" && mkdir -p "$work"
  local f
  for f in "$tuvo" "$probe_bin" "$shot_bin" "$pointer_bin"; do
    [ -x "$f" ] || { echo "FAIL no $f: build with -DTUVO_TESTS=ON and libwayland-dev installed"; exit 1; }
  done
}

# As the sway user: runuser when the script is root, as itself otherwise.
as_sway_user() {
  if [ "$(id -u)" = 0 ]; then runuser -u "$sway_user" -- "$@"; else "$@"; fi
}

ensure_sway_user() {
  [ "$(id -u)" = 0 ] || return 0
  id -u "$sway_user" >/dev/null 2>&1 && return 0
  useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$sway_user"
}

sway_pid= runtime=
# A headless sway with XWayland, one output HEADLESS-1 of the given size at (0, 0), the
# desktop in $background; exports WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR and DISPLAY
# (XWayland's) once all three answer.
start_sway() {  # [WxH]
  ensure_sway_user || { echo "FAIL cannot make the user $sway_user"; return 1; }
  runtime=$(mktemp -d /tmp/tuvo-sway.XXXXXX)
  [ "$(id -u)" = 0 ] && chown "$sway_user" "$runtime"
  chmod 700 "$runtime"
  local config="$runtime/config"
  cat >"$config" <<EOF
xwayland enable
focus_follows_mouse no
default_border none
output * bg #$background solid_color
output HEADLESS-1 resolution ${1:-1280x800} position 0 0
exec sh -c 'echo "\$DISPLAY" > $runtime/x-display'
EOF
  chmod 644 "$config"
  local run=(sway -c "$config")
  [ "$(id -u)" = 0 ] && run=(runuser -u "$sway_user" -- "${run[@]}")
  (cd / && exec env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${run[@]}") >"$work/sway.log" 2>&1 &
  sway_pid=$!
  export XDG_RUNTIME_DIR="$runtime"
  wait_for "ls '$runtime'/sway-ipc.*.sock && ls '$runtime'/wayland-? && [ -s '$runtime/x-display' ]" 150 ||
    { echo "FAIL sway did not start: $(tail -n 3 "$work/sway.log")"; return 1; }
  SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock | head -n 1)
  WAYLAND_DISPLAY=$(basename "$(ls "$runtime"/wayland-? | head -n 1)")
  DISPLAY=$(cat "$runtime/x-display")
  export SWAYSOCK WAYLAND_DISPLAY DISPLAY
  # XWayland lets in only the user who started it; the pets and probes are root's.
  if [ "$(id -u)" = 0 ]; then wait_for "as_sway_user env DISPLAY=$DISPLAY xhost +si:localuser:root" 150; fi
  wait_for "xdpyinfo" 50 || { echo "FAIL XWayland $DISPLAY does not answer"; return 1; }
}

stop_sway() {
  stop_pointer
  stop_full_screen
  stop_all_pets
  stop_nested_sway
  if [ -n "$sway_pid" ]; then
    swaymsg exit >/dev/null 2>&1
    wait_for "! kill -0 $sway_pid" 50 || kill "$sway_pid" 2>/dev/null
    wait "$sway_pid" 2>/dev/null
    sway_pid=
  fi
  [ -n "$runtime" ] && rm -rf "$runtime"
  runtime=
}

# --- outputs ---------------------------------------------------------------------------
output_names() { swaymsg -t get_outputs -r | python3 -c '
import json, sys
for o in json.load(sys.stdin):
    if o.get("active"): print(o["name"])'; }
# NAME X Y W H (logical) SCALE of each active output.
output_rects() { swaymsg -t get_outputs -r | python3 -c '
import json, sys
for o in json.load(sys.stdin):
    if o.get("active"):
        r = o["rect"]
        print(o["name"], r["x"], r["y"], r["width"], r["height"], o.get("scale", 1))'; }
# XWayland's monitors as X clients see them: X Y W H, one a line.
x_monitors() { xrandr --listmonitors | awk 'NR > 1 { split($3, g, /[\/x+]/); print g[5], g[6], g[1], g[3] }'; }
# Waits until XWayland's monitors are exactly sway's outputs (logical places).
x_follows_outputs() {
  local want; want=$(output_rects | awk '{ print $2, $3, $4, $5 }' | sort)
  wait_for "[ \"\$(x_monitors | sort)\" = \"$want\" ]" 50 ||
    { echo "     XWayland has $(x_monitors | tr '\n' ';') for $(tr '\n' ';' <<<"$want")"; false; }
}
sway_output() { swaymsg -- "$@" >/dev/null; }
# A new headless output; its name in $new_output.
create_output() {
  local before; before=$(output_names)
  swaymsg create_output >/dev/null || return 1
  wait_for "[ -n \"\$(comm -13 <(sort <<<\"$before\") <(output_names | sort))\" ]" 50 || return 1
  new_output=$(comm -13 <(sort <<<"$before") <(output_names | sort) | head -n 1)
}
# Each true once sway has the change and XWayland's monitors show it. (Mind: sway 1.7's
# headless outputs cannot be disabled, "Failed to commit output" in its log; there
# output_disable fails, the output staying.)
output_scale() { sway_output output "$1" scale "$2" && x_follows_outputs; }
output_pos() { sway_output output "$1" pos "$2" "$3" && x_follows_outputs; }
output_mode() { sway_output output "$1" resolution "$2" && x_follows_outputs; }
output_disable() {
  sway_output output "$1" disable &&
    wait_for "! output_names | grep -qx '$1'" 30 && x_follows_outputs
}

# --- a sway nested in the headless one --------------------------------------------------
# Its two outputs, WL-1 and WL-2, are windows of the headless sway: closing one removes
# that output, as unplugging a monitor does (which sway 1.7 cannot do to a headless one).
# The windows float, 640 x 480 each, so that the one left keeps its size, as a monitor
# does: laid out side by side, WL-1 at (0, 0) and WL-2 at (640, 0).
nested_pid= nested_sock= nested_display= nested_x=
# Starts it as the sway user in the headless sway's runtime folder; sets nested_sock (its
# IPC socket) and nested_display (its Wayland socket's name) once both are there and its
# outputs have their size. With "xwayland", its own XWayland too: nested_x is that X
# display, root let in.
start_nested_sway() {  # [xwayland]
  local before config="$runtime/nested-config"
  before=$(ls "$runtime"/sway-ipc.*.sock "$runtime"/wayland-? 2>/dev/null)
  rm -f "$runtime/nested-x-display"
  nested_x=
  {
    printf 'output * bg #%s solid_color\n' "$background"
    if [ "${1:-}" = xwayland ]; then
      printf 'xwayland enable\nfocus_follows_mouse no\ndefault_border none\n'
      printf 'exec sh -c '"'"'echo "$DISPLAY" > %s'"'"'\n' "$runtime/nested-x-display"
    else echo 'xwayland disable'; fi
  } >"$config"
  chmod 644 "$config"
  local run=(sway -c "$config")
  [ "$(id -u)" = 0 ] && run=(runuser -u "$sway_user" -- "${run[@]}")
  (cd / && exec env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$runtime" \
    XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" WLR_BACKENDS=wayland WLR_RENDERER=pixman \
    WLR_WL_OUTPUTS=2 "${run[@]}") >"$work/nested.log" 2>&1 &
  nested_pid=$!
  new_socket() {
    comm -13 <(sort <<<"$before") <(ls "$runtime"/sway-ipc.*.sock "$runtime"/wayland-? | sort) | grep "$1"
  }
  wait_for "[ -n \"\$(new_socket sway-ipc)\" ] && [ -n \"\$(new_socket wayland-)\" ]" 100 ||
    { echo "     the nested sway did not start: $(tail -n 2 "$work/nested.log")"; return 1; }
  nested_sock=$(new_socket sway-ipc | head -n 1)
  nested_display=$(basename "$(new_socket wayland- | head -n 1)")
  local output
  for output in WL-1 WL-2; do
    wait_for "swaymsg '[title=\"wlroots - $output\"] floating enable'" 50 ||
      { echo "     no window for the nested sway's $output"; return 1; }
  done
  # Both on the first headless output, whichever output had the focus when they opened
  # (another may be left from an earlier test); a size or place asked for as a window
  # turns floating may be lost: asked again until taken.
  wait_for "[ \"\$(nested_outputs_rects)\" = 'WL-1 0 0 640 480 WL-2 640 0 640 480' ] &&
    [ \"\$(nested_windows)\" = 'WL-1 0 0 640 480 WL-2 640 0 640 480' ] ||
    { swaymsg '[title=\"wlroots - WL-1\"] resize set 640 480, move absolute position 0 0' &&
      swaymsg '[title=\"wlroots - WL-2\"] resize set 640 480, move absolute position 640 0'; false; }" 50 ||
    { echo "     the nested sway's outputs: $(nested_outputs_rects); their windows: $(nested_windows)"; return 1; }
  [ "${1:-}" = xwayland ] || return 0
  wait_for "[ -s '$runtime/nested-x-display' ]" 100 || { echo "     the nested sway has no X display"; return 1; }
  nested_x=$(cat "$runtime/nested-x-display")
  if [ "$(id -u)" = 0 ]; then wait_for "as_sway_user env DISPLAY=$nested_x xhost +si:localuser:root" 150; fi
  wait_for "DISPLAY=$nested_x xdpyinfo" 50 || { echo "     the nested XWayland $nested_x does not answer"; return 1; }
}
stop_nested_sway() {
  [ -n "$nested_pid" ] || return 0
  SWAYSOCK=$nested_sock swaymsg exit >/dev/null 2>&1
  wait_for "! kill -0 $nested_pid" 50 || kill "$nested_pid" 2>/dev/null
  wait "$nested_pid" 2>/dev/null
  nested_pid= nested_sock= nested_display= nested_x=
}
# The nested sway's outputs by name, as it lists them; and their rectangles, on one line.
nested_outputs() { SWAYSOCK=$nested_sock output_names; }
nested_outputs_rects() { SWAYSOCK=$nested_sock output_rects | sort | awk '{ print $1, $2, $3, $4, $5 }' | xargs; }
# The windows of the nested sway's outputs in the headless sway: NAME X Y W H, on one line.
nested_windows() { swaymsg -t get_tree -r | python3 -c '
import json, sys
def walk(n):
    if (n.get("name") or "").startswith("wlroots - WL-"):
        r = n["rect"]
        print(n["name"][len("wlroots - "):], r["x"], r["y"], r["width"], r["height"])
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))' | sort | xargs; }
# The output's window closed in the headless sway; true once the nested sway has lost it.
remove_nested_output() {  # name
  swaymsg "[title=\"wlroots - $1\"] kill" >/dev/null &&
    wait_for "! nested_outputs | grep -qx '$1'" 50
}

# --- screenshots -----------------------------------------------------------------------
# The whole layout at device resolution, or a part of it (logical X Y W H), as
# $work/NAME.ppm. (grim waits for the outputs' next frames, which an output that is a
# window out of sight, as a nested sway's may be, never draws: bounded.)
shot() {  # name [x y w h]
  if [ $# -ge 5 ]; then timeout 10 grim -t ppm -g "$2,$3 $4x$5" "$work/$1.ppm"
  else timeout 10 grim -t ppm "$work/$1.ppm"; fi
}
keep_png() { convert "$work/$1.ppm" "$work/$1.png" && rm -f "$work/$1.ppm"; }
# The screenshot probe's answer for $work/NAME.ppm: pet P IMAGE MIRRORED X Y SCALE, or
# none and why.
find_pet_in() {  # name scale [x y w h]
  "$shot_bin" find "$work/$1.ppm" "$background" "${@:2}"
}

# --- the pointer -----------------------------------------------------------------------
pointer_pid=
# One virtual pointer for the script, kept open so that a button stays down between
# commands.
start_pointer() {
  coproc POINTER { exec "$pointer_bin"; }
  pointer_pid=$POINTER_PID
}
stop_pointer() {
  [ -n "$pointer_pid" ] || return 0
  echo quit >&"${POINTER[1]}"
  wait "$pointer_pid" 2>/dev/null
  pointer_pid=
}
# Each argument one command (move X Y, by DX DY, press|release|click left|right [X Y]); true
# when the compositor took them all.
pointer() {
  local command answer
  for command in "$@"; do
    echo "$command" >&"${POINTER[1]}"
    read -r -t 10 answer <&"${POINTER[0]}" || { echo "     pointer: no answer to $command"; return 1; }
    [ "$answer" = ok ] || { echo "     pointer: $answer"; return 1; }
  done
}

# --- a full-screen window --------------------------------------------------------------
cover_pid= cover_id=
# The X11 probe's window, made full screen by sway on the output it opened on.
open_full_screen() {
  "$probe_bin" fullscreen >"$work/cover.txt" &
  cover_pid=$!
  wait_for "grep -q '^cover ' '$work/cover.txt'" 50 || return 1
  cover_id=$(cut -d' ' -f2 "$work/cover.txt")
  swaymsg "[class=\"Probe\"] fullscreen enable" >/dev/null
  wait_for "swaymsg -t get_tree | grep -q '\"fullscreen_mode\": 1'" 50
}
stop_full_screen() {
  [ -n "$cover_pid" ] || return 0
  kill "$cover_pid" 2>/dev/null
  wait "$cover_pid" 2>/dev/null
  cover_pid= cover_id=
}

# --- pets ------------------------------------------------------------------------------
# A pet stopped (SIGSTOP) while a press is aimed at it: the virtual pointer goes through
# the compositor, so that, unlike the X11 probe's presses, it cannot be made under a
# server grab; stopped, the pet's window stays where it was looked at.
state_of_process() { awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null; }
freeze_pet() {
  kill -STOP "${pids[$1]}" && wait_for "[ \"\$(state_of_process ${pids[$1]})\" = T ]" 30
}
thaw_pet() { kill -CONT "${pids[$1]}"; }

# What the user sees of the pet: its place and its pixels (the X11 library's look takes
# them from X's root window, which under XWayland shows nothing of the sort).
look() {
  local r; read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] || return 1
  echo "${r[*]} $(grim -t ppm -g "${r[0]},${r[1]} ${r[2]}x${r[3]}" - 2>/dev/null | md5sum)"
}
