# Sourced by the native Wayland end-to-end script until the shared Wayland test bed lands:
# takes the native build folder and gives it a headless sway of its own with XWayland,
# outputs changed through swaymsg, grim screenshots and the screenshot probe's reading of
# them, one virtual pointer, a full-screen window, and pets started from copies of the
# real binary (the X11 library's, which this builds on). Every wait is for a condition,
# with a bound.
#
# sway refuses to run as root: it runs as $sway_user (made when missing) with a runtime
# folder of its own. The pets, probes and grim run as the script's user: root reaches
# sway's sockets anyway, and XWayland lets root in once the sway user said so (xhost).

source "$(dirname "${BASH_SOURCE[0]}")/../e2e-x11/lib.sh"

sway_user=${TUVO_SWAY_USER:-tuvo-e2e}
background=3a6ea5  # the desktop's one colour: every pixel that is not the pet's

wayland_begin() {  # native-build work-name
  build=$(cd "$1" && pwd)
  tuvo="$build/linux/tuvo"
  probe_bin="$build/tests/e2e-x11/tuvo_x11_probe"
  shot_bin="$build/tests/wayland/tuvo_interim_probe"
  pointer_bin="$build/tests/wayland/tuvo_interim_pointer"
  work="${TUVO_E2E_WORK:-$build/e2e-wayland}/$2"
  rm -rf "$work" && mkdir -p "$work"
  local f
  for f in "$tuvo" "$probe_bin" "$shot_bin" "$pointer_bin"; do
    [ -x "$f" ] || { echo "FAIL no $f: build with -DTUVO_TESTS=ON"; exit 1; }
  done
}

as_sway_user() {
  if [ "$(id -u)" = 0 ]; then runuser -u "$sway_user" -- "$@"; else "$@"; fi
}

ensure_sway_user() {
  [ "$(id -u)" = 0 ] || return 0
  id -u "$sway_user" >/dev/null 2>&1 && return 0
  useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$sway_user"
}

sway_pid= runtime=
# A headless sway with XWayland and one output HEADLESS-1 of the given size at (0, 0);
# exports WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR and DISPLAY once all answer.
start_sway() {  # [WxH]
  ensure_sway_user || { echo "FAIL cannot make the user $sway_user"; return 1; }
  runtime=$(mktemp -d /tmp/tuvo-sway.XXXXXX)
  [ "$(id -u)" = 0 ] && chown "$sway_user" "$runtime"
  chmod 700 "$runtime"
  cat >"$runtime/config" <<EOF
xwayland enable
focus_follows_mouse no
default_border none
output * bg #$background solid_color
output HEADLESS-1 resolution ${1:-1280x800} position 0 0
exec sh -c 'echo "\$DISPLAY" > $runtime/x-display'
EOF
  chmod 644 "$runtime/config"
  local run=(sway -c "$runtime/config")
  [ "$(id -u)" = 0 ] && run=(runuser -u "$sway_user" -- "${run[@]}")
  (cd / && exec env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${run[@]}") >"$work/sway.log" 2>&1 &
  sway_pid=$!
  export XDG_RUNTIME_DIR="$runtime"
  wait_for "ls '$runtime'/sway-ipc.*.sock && ls '$runtime'/wayland-? && [ -s '$runtime/x-display' ]" 150 ||
    { echo "FAIL sway did not start: $(tail -n 3 "$work/sway.log")"; return 1; }
  SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock | head -n 1)
  WAYLAND_DISPLAY=$(basename "$(ls "$runtime"/wayland-? | head -n 1)")
  DISPLAY=$(cat "$runtime/x-display")
  export SWAYSOCK WAYLAND_DISPLAY DISPLAY
  if [ "$(id -u)" = 0 ]; then wait_for "as_sway_user env DISPLAY=$DISPLAY xhost +si:localuser:root" 150; fi
  wait_for "xdpyinfo" 50 || { echo "FAIL XWayland $DISPLAY does not answer"; return 1; }
}

stop_sway() {
  stop_pointer
  stop_full_screen
  stop_all_pets
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
sway_output() { swaymsg -- "$@" >/dev/null; }
# A new headless output; its name in $new_output.
create_output() {
  local before; before=$(output_names)
  swaymsg create_output >/dev/null || return 1
  wait_for "[ -n \"\$(comm -13 <(sort <<<\"$before\") <(output_names | sort))\" ]" 50 || return 1
  new_output=$(comm -13 <(sort <<<"$before") <(output_names | sort) | head -n 1)
}

# --- screenshots -----------------------------------------------------------------------
# The whole layout at device resolution, or a logical part X Y W H of it, as $work/NAME.ppm.
shot() {  # name [x y w h]
  if [ $# -ge 5 ]; then grim -t ppm -g "$2,$3 $4x$5" "$work/$1.ppm"; else grim -t ppm "$work/$1.ppm"; fi
}
keep_png() { convert "$work/$1.ppm" "$work/$1.png" && rm -f "$work/$1.ppm"; }
# The probe's answer for $work/NAME.ppm: pet PICTURE IMAGE MIRRORED X Y SCALE GX GY, or
# none and why.
find_pet_in() {  # name scale [x y w h]
  "$shot_bin" find "$work/$1.ppm" "$background" "${@:2}"
}

# --- the pointer -----------------------------------------------------------------------
pointer_pid=
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
# Each argument one command; true when the compositor took them all.
pointer() {
  local command answer
  for command in "$@"; do
    echo "$command" >&"${POINTER[1]}"
    read -r -t 10 answer <&"${POINTER[0]}" || { echo "     pointer: no answer to $command"; return 1; }
    [ "$answer" = ok ] || { echo "     pointer: $answer"; return 1; }
  done
}

# --- a full-screen window --------------------------------------------------------------
cover_pid=
# The X11 probe's window, made full screen by sway on the focused output.
full_screen_shown() {
  swaymsg -t get_tree -r | python3 -c '
import json, sys
def full(n):
    return (n.get("window_properties", {}).get("class") == "Probe" and n.get("fullscreen_mode") == 1) or \
        any(full(c) for c in n.get("nodes", []) + n.get("floating_nodes", []))
sys.exit(0 if full(json.load(sys.stdin)) else 1)'
}
open_full_screen() {
  "$probe_bin" fullscreen >"$work/cover.txt" &
  cover_pid=$!
  wait_for "grep -q '^cover ' '$work/cover.txt'" 50 || return 1
  swaymsg '[class="Probe"] fullscreen enable' >/dev/null
  wait_for full_screen_shown 50
}
stop_full_screen() {
  [ -n "$cover_pid" ] || return 0
  kill "$cover_pid" 2>/dev/null
  wait "$cover_pid" 2>/dev/null
  cover_pid=
}
