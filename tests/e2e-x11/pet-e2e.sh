#!/usr/bin/env bash
# End-to-end tests of the real native tuvo on an Xvfb display of their own, driven like a
# user would with the pointer, watched through the probe and through screenshots: the
# command line, the window's properties, its shape and pixels in each display mode and
# at scales 2 and 3, dragging within the margins, a drag whose grab is taken away, and
# two pets side by side. Usage: pet-e2e.sh NATIVE_BUILD
# Screenshots are kept in NATIVE_BUILD/e2e-x11/pet.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" pet
trap 'stop_all_pets; stop_display' EXIT

echo "== X11 end-to-end: the command line"
cli="$work/cli"
mkdir -p "$cli"
cp "$tuvo" "$cli/tuvo"
"$cli/tuvo" --help >"$cli/help" 2>&1; status=$?
check "--help exits 0 with the usage" eval '[ $status = 0 ] && grep -q "^Usage: tuvo" "$cli/help"'
"$cli/tuvo" --version >"$cli/version" 2>&1; status=$?
check "--version exits 0 with the version" eval '[ $status = 0 ] && [ "$(cat "$cli/version")" = "tuvo 1.0.0.0" ]'
"$cli/tuvo" --bogus >"$cli/out" 2>"$cli/err"; status=$?
check "a bad option: exit status 2, one line on stderr, nothing on stdout" \
  eval '[ $status = 2 ] && [ "$(wc -l <"$cli/err")" = 1 ] && [ ! -s "$cli/out" ] ||
    { echo "     status $status, stderr: $(cat "$cli/err")"; false; }'
entry="$cli/config/autostart/tuvo.desktop"
XDG_CONFIG_HOME="$cli/config" "$cli/tuvo" --autostart=on >/dev/null; status=$?
valid_entry() {
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || return 1
  fi
  grep -qx 'Type=Application' "$entry" && grep -qx 'Name=Tuvo' "$entry" && grep -qx "Exec=$cli/tuvo" "$entry"
}
check "--autostart=on writes a valid tuvo.desktop that runs this binary" eval '[ $status = 0 ] && valid_entry'
XDG_CONFIG_HOME="$cli/config" "$cli/tuvo" --autostart=off >/dev/null; status=$?
check "--autostart=off removes it" eval '[ $status = 0 ] && [ ! -e "$entry" ]'

start_xvfb || exit 1

# The pictures the pet showed over a few ticks: each look one of the pictures (a look
# may fall between a new shape and its new picture: three tries), at least five looks
# and until the picture has changed; at most 10 s.
frames_over_ticks() {  # pet
  local seen=" " out tries looks=0 end=$((SECONDS + 10))
  while [ "$SECONDS" -lt "$end" ]; do
    tries=3
    until out=$(frame "$1"); do
      tries=$((tries - 1))
      [ "$tries" -gt 0 ] || { echo "     $out"; return 1; }
    done
    looks=$((looks + 1))
    out=${out#frame }; out=${out%% *}
    case "$seen" in *" $out "*) ;; *) seen+="$out " ;; esac
    [ "$looks" -ge 5 ] && [ "$(wc -w <<<"$seen")" -ge 2 ] && { echo "     pictures seen:$seen"; return 0; }
    sleep 0.1
  done
  echo "     only the pictures$seen in 10 s"
  return 1
}

has_state() { field "$1" state | tr ' ' '\n' | grep -qx "$2"; }
inside_margins() {  # pet left top right bottom
  local r; read -r -a r <<<"$(rect "$1")"
  [ "${#r[@]}" -eq 4 ] && [ "${r[0]}" -ge "$2" ] && [ "${r[1]}" -ge "$3" ] &&
    [ $((r[0] + r[2])) -le $((1024 - $4)) ] && [ $((r[1] + r[3])) -le $((768 - $5)) ]
}

echo "== X11 end-to-end: the pet in each display mode"
for mode in 1 2 0; do
  pet=m$mode
  settings $pet "Mode=$mode\nTop Margin=40\nLeft Margin=60\nBottom Margin=80\nRight Margin=100\n"
  start_pet $pet
  if ! wait_for_pet $pet; then fail "mode $mode: the pet's window appears"; stop_pet $pet; continue; fi
  if [ $mode = 1 ]; then
    check "override-redirect, a child of the root, WM_CLASS tuvo/Tuvo, named Tuvo, a utility window" \
      eval '[ "$(field $pet override)" = 1 ] && [ "$(field $pet parent)" = root ] &&
        [ "$(field $pet class)" = "tuvo Tuvo" ] && [ "$(field $pet name)" = Tuvo ] &&
        [ "$(field $pet title)" = Tuvo ] && [ "$(field $pet type)" = _NET_WM_WINDOW_TYPE_UTILITY ]'
    check "never focused: WM_HINTS input False" eval '[ "$(field $pet input)" = 0 ]'
    check "_NET_WM_STATE above, skip-taskbar, skip-pager" \
      eval 'has_state $pet _NET_WM_STATE_ABOVE && has_state $pet _NET_WM_STATE_SKIP_TASKBAR &&
        has_state $pet _NET_WM_STATE_SKIP_PAGER'
    check "_NET_WM_PID is the process" eval '[ "$(field $pet pid)" = "${pids[$pet]}" ]'
  fi
  check "mode $mode: 50 x 50 inside the margins" \
    eval '[ "$(rect $pet | cut -d" " -f3,4)" = "50 50" ] && inside_margins $pet 60 40 100 80'
  if [ $mode = 0 ]; then
    check "mode 0: no shape, the plain square" eval '[ "$(field $pet shape | cut -d" " -f1)" = unshaped ]'
  else
    check "mode $mode: shaped" eval '[ "$(field $pet shape | cut -d" " -f1)" = shaped ]'
  fi
  check "mode $mode: over a few ticks, each look is one of the pictures" frames_over_ticks $pet
  check "mode $mode: on screen only the cat, crisp, no key colour (mode$mode.png)" shows_a_frame $pet mode$mode
  # Carried by a little, so the old and new places overlap: in mode 0 what lies under
  # the window must follow it.
  check "mode $mode: the held pet follows the pointer" take_hold $pet 23 17 60 40 100 80
  check "mode $mode: after the move, still only the cat (mode$mode-moved.png)" shows_a_frame $pet mode$mode-moved
  xdotool mouseup 1
  check "mode $mode: lives after the release" lives $pet
  stop_pet $pet
done

echo "== X11 end-to-end: dragging within the margins and the screen"
# The pet's corner stands at the pointer less the grabbed spot, clamped to the room
# LEFT TOP RIGHT BOTTOM leaves on the 1024 x 768 screen.
held_at() {  # pet pointer-x pointer-y left top right bottom
  local x=$(($2 - grab_dx)) y=$(($3 - grab_dy))
  x=$(( x < $4 ? $4 : x )); y=$(( y < $5 ? $5 : y ))
  x=$(( x > 1024 - $6 - 50 ? 1024 - $6 - 50 : x )); y=$(( y > 768 - $7 - 50 ? 768 - $7 - 50 : y ))
  xdotool mousemove "$2" "$3"
  wait_for "[ \"\$(rect $1)\" = '$x $y 50 50' ]" 30 || { echo "     pointer at $2 $3: pet at $(rect "$1"), not $x $y"; false; }
}
drag_within() {  # pet left top right bottom
  held_at "$1" 500 400 "${@:2}" && held_at "$1" 3 2 "${@:2}" && held_at "$1" 1020 765 "${@:2}" &&
    held_at "$1" 400 300 "${@:2}" && held_at "$1" 0 767 "${@:2}" && held_at "$1" 1023 0 "${@:2}" &&
    held_at "$1" 520 380 "${@:2}"
}
settings margins "Mode=1\nTop Margin=40\nLeft Margin=60\nBottom Margin=80\nRight Margin=100\n"
settings edges "Mode=2\n"
for pet in margins edges; do
  start_pet $pet
  if ! wait_for_pet $pet; then fail "$pet: the pet's window appears"; stop_pet $pet; continue; fi
  if take_hold $pet 7 5 $([ $pet = margins ] && echo 60 40 100 80); then
    if [ $pet = margins ]; then
      check "held, the grabbed spot stays under the pointer, the pet clamped at the margins" \
        drag_within $pet 60 40 100 80
    else
      check "held, the grabbed spot stays under the pointer, the pet clamped at the screen's edges" \
        drag_within $pet 0 0 0 0
    fi
    xdotool mouseup 1
    check "$pet: lives on after the release" lives $pet
  else fail "$pet: take hold of the pet"; fi
done
stop_pet edges

# Another client unmaps the held pet's window, which ends its pointer grab: the drag is
# over, though the button is still down; mapped again, the pet goes its own way.
if take_hold margins 5 5 60 40 100 80; then
  probe unmap "${wins[margins]}"
  wait_for "unmapped margins" 30
  probe map "${wins[margins]}"
  wait_for "viewable margins" 30
  # Held, it would stand here with the grabbed spot under the pointer.
  xdotool mousemove 450 330
  check "after its window was unmapped under the pointer, the pet no longer follows it" \
    eval '! wait_for "[ \"\$(rect margins)\" = \"$((450 - grab_dx)) $((330 - grab_dy)) 50 50\" ]" 10'
  check "and lives on by itself" lives margins
  xdotool mouseup 1
else fail "take hold of the pet again"; fi
stop_pet margins

echo "== X11 end-to-end: scales 2 and 3"
even_place() {  # pet: a few looks over the ticks, each at even coordinates
  local n=5 r
  while [ "$n" -gt 0 ]; do
    n=$((n - 1))
    read -r -a r <<<"$(rect "$1")"
    [ "${r[2]} ${r[3]}" = "100 100" ] && [ $((r[0] % 2)) = 0 ] && [ $((r[1] % 2)) = 0 ] ||
      { echo "     window at ${r[*]}"; return 1; }
    sleep 0.2
  done
}
echo 'Xft.dpi: 192' | xrdb -merge
for mode in 1 0; do
  pet=s2m$mode
  settings $pet "Mode=$mode\n"
  start_pet $pet 2
  if wait_for_pet $pet; then
    check "Xft.dpi 192, mode $mode: 100 x 100 at even coordinates" even_place $pet
    check "Xft.dpi 192, mode $mode: a picture in 2 x 2 blocks, no key colour (scale2-mode$mode.png)" \
      shows_a_frame $pet scale2-mode$mode
  else fail "Xft.dpi 192, mode $mode: the pet's window appears"; fi
  stop_pet $pet
done
xrdb -remove
settings s3 "Mode=2\nScale=3\n"
start_pet s3 3
if wait_for_pet s3; then
  check "Scale=3: 150 x 150" eval '[ "$(rect s3 | cut -d" " -f3,4)" = "150 150" ]'
  check "Scale=3: a picture in 3 x 3 blocks over a few ticks" frames_over_ticks s3
  check "Scale=3: on screen only the cat (scale3.png)" shows_a_frame s3 scale3
else fail "Scale=3: the pet's window appears"; fi
stop_pet s3

echo "== X11 end-to-end: two pets side by side"
# Each in its own half of the screen, so neither covers the other.
settings a "Mode=1\nRight Margin=512\n"
settings b "Mode=2\nLeft Margin=512\n"
start_pet a
start_pet b
if wait_for_pet a && wait_for_pet b; then
  check "two pets, two windows" eval '[ "${wins[a]}" != "${wins[b]}" ] && [ "$(probe pets | wc -l)" = 2 ]'
  check "both live" eval 'lives a && lives b'
  check "each in its own half" eval 'inside_margins a 0 0 512 0 && inside_margins b 512 0 0 0'
  # The second pet again, resting (its first tick is a minute away): whatever moves it
  # now comes from the other.
  stop_pet b
  settings b "Mode=2\nLeft Margin=512\nTimer=60000\n"
  start_pet b
  if wait_for_pet b; then
    rest=$(rect b)
    "$probe_bin" watch "${wins[b]}" 4000 >"$work/watch-b.txt" &
    watcher=$!
    if take_hold a 5 5 0 0 512 0; then
      check "the held pet follows the pointer about its half" \
        eval 'held_at a 300 300 0 0 512 0 && held_at a 3 3 0 0 512 0 && held_at a 700 600 0 0 512 0'
      xdotool mouseup 1
      wait "$watcher"
      check "dragging one pet does not move the other" \
        eval '[ "$(rect b)" = "$rest" ] && grep -q "^watch moves 0 " "$work/watch-b.txt" ||
          { echo "     other at $(rect b), was at $rest; $(cat "$work/watch-b.txt")"; false; }'
      check "the dragged one lives on" lives a
    else fail "take hold of the first pet"; wait "$watcher"; fi
  else fail "the second pet appears again"; fi
else fail "two pets appear"; fi
stop_pet a; stop_pet b

finish_script "X11 end-to-end, the pet"
