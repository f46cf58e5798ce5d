#!/usr/bin/env bash
# End-to-end tests of the real native tuvo among other programs' windows and a desktop
# that changes under it: the tick after the pet was stalled, a screen locker (a
# full-screen override-redirect window) under openbox, a window that raises itself without
# end, and the display's scaling and RandR's monitors changed while it runs.
# Usage: manners-e2e.sh NATIVE_BUILD
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" manners
declare -A helpers=()  # probe windows of ours, kept until stopped
stop_helper() { stop_listed helpers "$1"; }
stop_helpers() { stop_listed helpers; }
trap 'stop_helpers; stop_all_pets; stop_display' EXIT

# A window of the probe's own (override, plain or raiser X Y W H [MS]), named NAME; its
# id is in $work/NAME.txt once it is mapped.
open_helper() {  # name kind x y w h [ms]
  "$probe_bin" "${@:2}" >"$work/$1.txt" &
  helpers[$1]=$!
  wait_for "grep -q '^$2 ' '$work/$1.txt'" 50
}
helper_id() { cut -d' ' -f2 "$work/$1.txt" | head -n 1; }
above() { probe above "$@" >/dev/null; }
# The pet's process's time on a processor so far, in microseconds.
cpu_us() {
  cat /proc/"${pids[$1]}"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%d\n", t / 1000 }'
}

echo "== X11 end-to-end: the tick after the pet was stalled"
start_xvfb || exit 1
# At the 10 ms tick a walking cat moves on every tick.
settings paced "Mode=1\nTimer=10\n"
start_pet paced
if wait_for_pet paced; then
  # Stopped for 40 ms while walking (four ticks missed): when it goes on, one late tick
  # moves it, and the next comes a tick later, never two within 5 ms. Three looks at the
  # ticks, most of them right: a look at a cat that stopped walking is taken again, and a
  # probe held up itself may see two moves at once.
  spaced=0 bursts=0
  for attempt in $(seq 12); do
    [ $((spaced + bursts)) -lt 3 ] || break
    wait_for "probe watch ${wins[paced]} 50 | awk '{ exit !(\$3 >= 3) }'" 100 || continue
    moves=$(probe stall "${pids[paced]}" "${wins[paced]}" 40 | cut -d' ' -f3-)
    look=$(awk '{ if (NF < 2) { print "none"; exit }
      for (i = 2; i <= NF && $(i - 1) < 20; ++i) if ($i - $(i - 1) < 5) { print "burst"; exit }
      print "spaced" }' <<<"$moves")
    echo "     attempt $attempt: moves at $moves ms after it went on: $look"
    [ "$look" = spaced ] && spaced=$((spaced + 1))
    [ "$look" = burst ] && bursts=$((bursts + 1))
  done
  check "stalled at Timer=10: one late tick, the next a tick later, no burst of missed ones" \
    [ "$spaced" -ge 2 ]
else fail "the pet appears at Timer=10"; fi
stop_all_pets
stop_display

echo "== X11 end-to-end: a screen locker under openbox"
start_xvfb || exit 1
start_window_manager || { echo "FAIL openbox does not start"; exit 1; }
settings aside "Mode=1\nRight Margin=512\n"
settings stay "Mode=2\nLeft Margin=512\nFullscreen=0\n"
start_pet aside
start_pet stay
if wait_for_pet aside && wait_for_pet stay; then
  # An input-only window over the whole screen shows nothing, and hides nothing.
  if open_helper catcher catcher 0 0 1024 768; then
    check "an input-only override-redirect window over the screen sends no pet away" \
      eval 'probe watch "${wins[aside]}" 1000 | grep -q " maps 0 " && viewable aside'
  else fail "the probe's input-only window opens"; fi
  stop_helper catcher
  if open_helper locker override 0 0 1024 768; then
    locker=$(helper_id locker)
    check "a full-screen override-redirect window of another program: the pet steps aside" \
      wait_for "unmapped aside" 50
    check "with Fullscreen=0 the pet stays, below it" eval 'viewable stay && above "$locker" "${wins[stay]}"'
    if open_helper window plain 300 200 400 300; then
      window=$(helper_id window)
      check "a window mapped then: the pet stays above it, and below the locker" \
        wait_for "above ${wins[stay]} $window && above $locker ${wins[stay]}" 30
      check "the pet that stepped aside stays away" \
        eval 'probe watch "${wins[aside]}" 1000 | grep -q " maps 0 " && unmapped aside'
      stop_helper locker
      check "the locker gone, the pet comes back, above the window" \
        wait_for "viewable aside && above ${wins[aside]} $window" 50
      check "both live" eval 'lives aside && lives stay'
    else fail "a window of the probe's opens under openbox"; fi
  else fail "the probe's override-redirect window opens"; fi
else fail "two pets appear under openbox"; fi
stop_helpers
stop_all_pets
stop_display

echo "== X11 end-to-end: a window that comes up over a screen locker, without a window manager"
start_xvfb || exit 1
settings under "Mode=1\nFullscreen=0\n"
start_pet under
if wait_for_pet under && open_helper locker override 0 0 1024 768 && open_helper window plain 300 200 400 300; then
  locker=$(helper_id locker) window=$(helper_id window)
  # Mapped at the top of the stack, over the locker too: the pet may not follow it there.
  check "the pet is not raised over the locker" \
    eval 'probe watch "${wins[under]}" 1000 >/dev/null && above "$locker" "${wins[under]}"'
  stop_helper locker
  check "the locker gone, the pet goes above the window" wait_for "above ${wins[under]} $window" 30
else fail "the pet, an override-redirect window over the screen and a window over that appear"; fi
stop_helpers
stop_all_pets
stop_display

echo "== X11 end-to-end: a window that raises itself without end"
start_xvfb || exit 1
# Side by side; the second ticks once a minute, so that nothing but the stack's own news
# wakes it once the window is quiet.
settings calm "Mode=1\nRight Margin=512\n"
settings still "Mode=1\nLeft Margin=512\nTimer=60000\n"
start_pet calm
start_pet still
war_ms=4000
if wait_for_pet calm && wait_for_pet still; then
  cpu_before=$(( $(cpu_us calm) + $(cpu_us still) ))
  watchers=()
  for pet in calm still; do
    "$probe_bin" watch "${wins[$pet]}" "$war_ms" >"$work/war-$pet.txt" &
    watchers+=($!)
  done
  # Over most of the screen, raising itself for 4 s.
  if open_helper raiser raiser 0 0 1024 700 "$war_ms"; then
    raiser=$(helper_id raiser)
    wait_for "grep -q '^quiet' '$work/raiser.txt'" 100
    cpu=$(( $(cpu_us calm) + $(cpu_us still) - cpu_before ))
    wait "${watchers[@]}"
    restacks_calm=$(awk '{ print $15 }' "$work/war-calm.txt") restacks_still=$(awk '{ print $15 }' "$work/war-still.txt")
    echo "     $(tail -n 1 "$work/raiser.txt"); the pets: $restacks_calm and $restacks_still restacks," \
      "$((cpu / 1000)) ms of processor time together"
    check "the pets restack themselves at most 5 times a second meanwhile" \
      eval '[ "${restacks_calm:-999}" -le $((war_ms / 200)) ] && [ "${restacks_still:-999}" -le $((war_ms / 200)) ]'
    check "and take less than 2 % of a processor together" [ "$cpu" -le $((war_ms * 20)) ]
    check "once it is quiet, both stand above it again, the one that does not tick too" \
      wait_for "above ${wins[calm]} $raiser && above ${wins[still]} $raiser" 30
  else wait "${watchers[@]}"; fail "the probe's raising window opens"; fi
else fail "two pets appear"; fi
stop_helpers
stop_all_pets
stop_display

# The held pet at scale 1, the spot grabbed at scale 2 (in the pet's own pixels) under the
# pointer.
held_at_scale_1() {
  [ "$(rect scaled | cut -d' ' -f3,4)" = "50 50" ] &&
    at_offset scaled "$grip_x" "$grip_y" $((-grab_dx / 2)) $((-grab_dy / 2))
}

echo "== X11 end-to-end: the display's scaling changed while the pet runs"
start_xvfb || exit 1
settings scaled "Mode=1\n"
start_pet scaled
if wait_for_pet scaled; then
  "$probe_bin" await-size "${wins[scaled]}" 100 5000 >"$work/resized.txt" &
  watcher=$!
  wait_for "grep -q ready '$work/resized.txt'" 50
  echo 'Xft.dpi: 192' | xrdb -merge
  scales[scaled]=2
  wait "$watcher"
  read -r -a before <<<"$(grep '^before ' "$work/resized.txt")"
  read -r -a after <<<"$(grep '^after ' "$work/resized.txt")"
  check "Xft.dpi 192 merged: the pet at scale 2 (100 x 100) at once" \
    eval '[ "${after[3]:-}" = 100 ] && [ "${after[4]}" = 100 ] || { sed "s/^/     /" "$work/resized.txt"; false; }'
  # Its corner stays where it was (on whole pet pixels of the new scale), as far as the
  # screen's edges allow.
  ex=$(( before[1] / 2 * 2 )) ey=$(( before[2] / 2 * 2 ))
  [ "$ex" -gt $((1024 - 100)) ] && ex=$((1024 - 100))
  [ "$ey" -gt $((768 - 100)) ] && ey=$((768 - 100))
  check "where it was" eval '[ "${after[1]:-} ${after[2]:-}" = "$ex $ey" ] ||
    { echo "     from ${before[*]:1}: expected at $ex $ey"; sed "s/^/     /" "$work/resized.txt"; false; }'
  check "showing a picture at scale 2 (scale-2.png)" shows_a_frame scaled scale-2
  if take_hold scaled 8 8; then
    echo 'Xft.dpi: 96' | xrdb -merge
    scales[scaled]=1
    # The grabbed spot of the body, in the pet's own pixels, stays under the still pointer.
    check "held, Xft.dpi back to 96: scale 1, the grabbed spot under the pointer at once" \
      eval 'wait_for held_at_scale_1 30 ||
        { echo "     pointer $grip_x $grip_y, grabbed at $grab_dx $grab_dy, pet at $(rect scaled)"; false; }'
    xdotool mouseup 1
  else fail "take hold of the pet at scale 2"; fi
else fail "the pet appears"; fi
stop_all_pets
stop_display

echo "== X11 end-to-end: RandR's monitors set and deleted while the pet runs"
start_xvfb || exit 1
# Room for the pet right of its left margin on the whole screen, none on a half of it.
settings roams "Mode=1\nLeft Margin=600\n"
start_pet roams
if wait_for_pet roams; then
  check "it starts right of its margin" eval '[ "$(rect roams | cut -d" " -f1)" -ge 600 ]'
  # The screen's output taken by a monitor on its left half: the pet's monitor becomes
  # that one, where the margin leaves no room.
  if xrandr --setmonitor left 512/135x768/203+0+0 screen >/dev/null && [ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 1" ]
  then
    check "a monitor set on the left half: the pet goes inside it" \
      wait_for 'x=$(rect roams | cut -d" " -f1) && [ "$x" -le 462 ]' 30
    xrandr --delmonitor left
    check "that monitor deleted: the whole screen again, the pet right of its margin" \
      wait_for 'x=$(rect roams | cut -d" " -f1) && [ "$x" -ge 600 ]' 30
    check "and lives there" lives roams
  else skip "RandR monitors: this X server does not take xrandr --setmonitor"; fi
else fail "the pet appears"; fi
stop_all_pets
stop_display

finish_script "X11 end-to-end, manners"
