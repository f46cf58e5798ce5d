#!/usr/bin/env bash
# End-to-end checks on a second compositor with a layer shell: phoc (Debian 12's, a
# wlroots 0.15 compositor of its own), headless, with XWayland and swaybg's solid desktop,
# watched through grim and driven by the virtual pointer. The compositor side: the
# protocols the pet and the tests need, screenshots, the pointer. The X11 program through
# XWayland there: only the cat, crisp, in each display mode, moving; the menu at the
# pointer and Exit. The native pet, where the program has it (--backend=wayland): chosen
# by itself, no X window of its own, only the cat, crisp, in each mode, moving; the menu
# at the pointer and Exit. Usage: phoc-e2e.sh NATIVE_BUILD
# Screenshots are kept in NATIVE_BUILD/e2e-wayland/phoc.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
wayland_begin "$1" phoc
trap 'stop_phoc' EXIT
for tool in phoc swaybg grim Xwayland xdotool wayland-info; do
  command -v "$tool" >/dev/null || { echo "FAIL no $tool: scripts/setup.sh all installs it"; exit 1; }
done

phoc_pid=
# A headless phoc of the script's own user (phoc, unlike sway, runs as root too) with
# XWayland and one output HEADLESS-1 of 1280 x 800; its session is swaybg, the desktop in
# $background. Exports WAYLAND_DISPLAY, XDG_RUNTIME_DIR and DISPLAY (XWayland's) once
# both answer.
start_phoc() {
  runtime=$(mktemp -d /tmp/tuvo-phoc.XXXXXX)
  chmod 700 "$runtime"
  printf '[core]\nxwayland=true\n[output:HEADLESS-1]\nmode=1280x800\n' >"$runtime/phoc.ini"
  (cd / && exec env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$runtime" \
    XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    phoc -C "$runtime/phoc.ini" \
    -E "sh -c 'echo \"\$DISPLAY\" > $runtime/x-display; exec swaybg -c \"#$background\" -m solid_color'") \
    >"$work/phoc.log" 2>&1 &
  phoc_pid=$!
  export XDG_RUNTIME_DIR="$runtime"
  wait_for "ls '$runtime'/wayland-? && [ -s '$runtime/x-display' ]" 150 ||
    { echo "FAIL phoc did not start: $(tail -n 3 "$work/phoc.log")"; return 1; }
  WAYLAND_DISPLAY=$(basename "$(ls "$runtime"/wayland-? | head -n 1)")
  DISPLAY=$(cat "$runtime/x-display")
  export WAYLAND_DISPLAY DISPLAY
  wait_for "xdpyinfo" 100 || { echo "FAIL XWayland $DISPLAY does not answer"; return 1; }
}

stop_phoc() {
  stop_pointer
  stop_all_pets
  if [ -n "$phoc_pid" ]; then
    kill "$phoc_pid" 2>/dev/null
    wait_for "! kill -0 $phoc_pid" 50 || kill -KILL "$phoc_pid" 2>/dev/null
    wait "$phoc_pid" 2>/dev/null
    phoc_pid=
  fi
  [ -n "$runtime" ] && rm -rf "$runtime"
  runtime=
}

echo "== phoc end-to-end: the compositor"
start_phoc || exit 1
globals=$(wayland-info 2>/dev/null | awk '$1 == "interface:" { gsub(/[^a-z0-9_]/, "", $2); print $2 }')
offers() {
  local name missing=
  for name in "$@"; do grep -qx "$name" <<<"$globals" || missing+=" $name"; done
  [ -z "$missing" ] || { echo "     not offered:$missing"; false; }
}
check "phoc offers a layer shell, screen copy, a virtual pointer and xdg-output" \
  offers zwlr_layer_shell_v1 zwlr_screencopy_manager_v1 zwlr_virtual_pointer_manager_v1 zxdg_output_manager_v1
# swaybg's desktop is itself a layer surface, in the background layer.
check "a screenshot of the whole output shows only the desktop's one colour" \
  eval 'wait_for "shot desktop && [ \"\$(find_pet_in desktop 1)\" = \"none only the background\" ]" 50'
# The pointer's answer to "outputs", its closing ok left out.
pointer_outputs() {
  local line
  echo outputs >&"${POINTER[1]}"
  while read -r -t 10 line <&"${POINTER[0]}" && [ "$line" != ok ]; do echo "$line"; done
}
# (A pointer only while it is used: phoc draws its cursor into the screenshots while one
# is there. Nor one that comes and goes at once: phoc 0.24 then crashes now and then.)
start_pointer
outputs=$(pointer_outputs)
check "a virtual pointer is made there; it has the one output, 1280 x 800, and moves" \
  eval '[ "$(head -n 1 <<<"$outputs")" = "output HEADLESS-1 0 0 1280 800" ] && pointer "move 640 400"'
stop_pointer

# Looks at the output until six looks showed only the cat, crisp at scale 1 and nothing
# but the desktop around it, with at least two pictures or places among them (it moves);
# at most 12 s. A look may fall between a frame's picture and its place: a fault is a bad
# look three times running. The first good look is kept as PREFIX.png, a bad one as
# PREFIX-bad-N.png.
moving_cat() {  # prefix
  local end=$((SECONDS + 12)) n=0 good=0 bad=0 seen=" " out a
  while [ "$SECONDS" -lt "$end" ]; do
    n=$((n + 1))
    shot "$1-$n"
    out=$(find_pet_in "$1-$n" 1)
    read -r -a a <<<"$out"
    if [ "${a[0]}" != pet ]; then
      keep_png "$1-$n" && mv "$work/$1-$n.png" "$work/$1-bad-$n.png"
      bad=$((bad + 1))
      [ "$bad" -ge 3 ] && { echo "     $out ($1-bad-$n.png)"; return 1; }
      continue
    fi
    bad=0 good=$((good + 1))
    if [ "$good" = 1 ]; then keep_png "$1-$n" && mv "$work/$1-$n.png" "$work/$1.png"; else rm -f "$work/$1-$n.ppm"; fi
    case "$seen" in *" ${a[1]}@${a[4]},${a[5]} "*) ;; *) seen+="${a[1]}@${a[4]},${a[5]} " ;; esac
    [ "$good" -ge 6 ] && [ "$(wc -w <<<"$seen")" -ge 2 ] && return 0
  done
  echo "     in 12 s $good good looks, only$seen"
  return 1
}

# Right-clicks the pet at X Y and waits for its menu; true once the menu stands at the
# pointer (give or take 3 pixels). The pets clicked here rest (their first tick a minute
# away), so that the point looked at is the point clicked, and keep margins wide enough
# for the menu to open right of and below the pointer.
menu_at() {  # pet x y
  start_pointer
  pointer "move $2 $3" "press right" "release right"
  local m
  wait_for menu_open 50 || { echo "     no menu"; stop_pointer; return 1; }
  read -r -a m <<<"$(probe menu | head -n 1 | cut -d' ' -f3-4)"
  local dx=$((m[0] - $2)) dy=$((m[1] - $3))
  [ "${dx#-}" -le 3 ] && [ "${dy#-}" -le 3 ] || { echo "     menu at ${m[*]}, pointer at $2 $3"; false; }
}
# The menu at the pointer when the pet is right-clicked at X Y; then e (退出) ends it.
menu_then_exit() {  # pet x y
  check "a right click with the virtual pointer opens the menu at the pointer" menu_at "$@"
  xdotool key e
  check "e (退出) ends the program with exit status 0" ends_with_zero "$1"
  stop_pointer
}

echo "== phoc end-to-end: the X11 program through XWayland"
# phoc offers a layer shell, where tuvo is a native Wayland client unless asked otherwise.
"$tuvo" --help 2>/dev/null | grep -q -- '--backend=x11' && pet_options=(--backend=x11)
for mode in 1 2 0; do
  pet=x11-mode$mode
  settings $pet "Mode=$mode\n"
  start_pet $pet
  if wait_for_pet $pet; then
    check "mode $mode: only the cat, crisp, no square around it; it moves ($pet.png)" moving_cat $pet
  else fail "mode $mode: the pet's window appears"; fi
  stop_pet $pet
done
settings x11-menu "Mode=1\nTimer=60000\nRight Margin=300\nBottom Margin=300\n"
start_pet x11-menu
if wait_for_pet x11-menu; then
  read -r -a g <<<"$(probe grip "${wins[x11-menu]}" 1)"
  menu_then_exit x11-menu "${g[0]:-0}" "${g[1]:-0}"
else fail "the pet's window appears for the menu"; fi
stop_pet x11-menu

echo "== phoc end-to-end: the native pet"
if ! "$tuvo" --help 2>/dev/null | grep -q -- '--backend=wayland'; then
  skip "this tuvo has no native Wayland pet (--backend=wayland): not tried"
  finish_script "phoc end-to-end"
  exit
fi
pet_options=()
for mode in 1 2 0; do
  pet=native-mode$mode
  settings $pet "Mode=$mode\n"
  start_pet $pet
  if wait_for "shot $pet-first && find_pet_in $pet-first 1 | grep -q '^pet '" 100; then
    check "mode $mode: tuvo chose the Wayland shell itself: no X window of its own" eval '[ -z "$(pet_line $pet)" ]'
    check "mode $mode: only the cat, crisp, no square around it; it moves ($pet.png)" moving_cat $pet
  else fail "mode $mode: the native pet shows ($(find_pet_in $pet-first 1))"; fi
  stop_pet $pet
done
settings native-menu "Mode=1\nTimer=60000\nRight Margin=300\nBottom Margin=300\n"
start_pet native-menu
if wait_for "shot native-menu && find_pet_in native-menu 1 | grep -q '^pet '" 100; then
  # pet PICTURE IMAGE MIRRORED X Y SCALE, then a point of the cat to press on
  read -r -a found <<<"$(find_pet_in native-menu 1)"
  menu_then_exit native-menu "${found[7]:-0}" "${found[8]:-0}"
else fail "the native pet shows for the menu"; fi
stop_pet native-menu

finish_script "phoc end-to-end"
