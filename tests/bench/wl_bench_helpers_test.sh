#!/usr/bin/env bash
# The Wayland benchmark's helpers: takes tools/bench/bench-common.sh, the Wayland
# first-frame helper and a native build with the Wayland test bed, and checks the pointer's
# walk over an area, the finding of a session's processes among others', and, on a headless
# sway of its own, sway's and Xwayland's processes found and the helper's answers for a pet
# that shows, a program that ends first, one that never shows, and no compositor.
#   wl_bench_helpers_test.sh WL_FIRST_FRAME_HELPER NATIVE_BUILD
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
helper=$1
source "$root/tools/bench/bench-common.sh"
source "$root/tests/e2e-wayland/lib.sh"
passed=0 failed=0
# (lib.sh's check counts into its own failures; this one into passed and failed.)
test_that() {  # NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
folder=$(mktemp -d)
sleepers=()
finish() {
  local p
  for p in "${sleepers[@]}"; do kill "$p" 2>/dev/null; done
  stop_sway
  rm -rf "$folder"
}
trap finish EXIT

# --- the pointer's walk ----------------------------------------------------------------
# The first COUNT places of a walk over AREA, at once: the walk's 2 s pauses skipped.
walk_places() {  # area count
  (
    sleep() { :; }
    moves=0
    record() { echo "$1 $2"; moves=$((moves + 1)); [ "$moves" -lt "$count" ] || exit 0; }
    count=$2 bench_pointer_area=$1 bench_pointer_mover=record
    bench_pointer_walk
  )
}
inside_area() {  # places left top width height: each place 12 to 14 pixels in
  awk -v l="$2" -v t="$3" -v w="$4" -v h="$5" '
    $1 < l + 12 || $1 > l + w - 12 || $2 < t + 14 || $2 > t + h - 14 { bad++ } END { exit bad > 0 || NR == 0 }' <<<"$1"
}
test_that "the X11 benchmark's walk is the one it always was" \
  [ "$(walk_places "$bench_pointer_area" 3 | tr '\n' ' ')" = "869 353 77 512 81 103 " ]
places=$(walk_places "1020 0 260 800" 300)
test_that "a walk over a strip stays inside it" inside_area "$places" 1020 0 260 800
test_that "a walk over a strip reaches across it" \
  awk '{ x[$1 < 1150] = 1; y[$2 < 400] = 1 } END { exit !(length(x) == 2 && length(y) == 2) }' <<<"$places"

# --- a session's processes ---------------------------------------------------------------
# Processes as a compositor's session has them: named "sleep", each with a runtime folder
# (one whose name starts with the other's), and one named otherwise in the first folder.
as_session() {  # runtime program...
  env XDG_RUNTIME_DIR="$1" "${@:2}" >/dev/null 2>&1 &
  sleepers+=($!)
}
named() { [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ]; }
as_session "$folder/run" sleep 60
mine=$!
as_session "$folder/run2" sleep 60
as_session "$folder/run" tail -f /dev/null
wait_for "named ${sleepers[0]} sleep && named ${sleepers[1]} sleep && named ${sleepers[2]} tail" 100 ||
  echo "the session's processes did not start within 10 s"
test_that "the session's process of that name, and no other" [ "$(bench_session_pids sleep "$folder/run")" = "$mine" ]
test_that "no process of a name the session has none of" [ -z "$(bench_session_pids sleep "$folder/none")" ]

# --- on a headless sway --------------------------------------------------------------------
missing=
for tool in sway swaymsg grim Xwayland xhost; do command -v "$tool" >/dev/null || missing+=" $tool"; done
if [ -n "$missing" ]; then
  echo "no$missing: the helpers are not tried on a compositor"
  echo "$passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
fi
wayland_begin "$2" bench-helpers
start_sway 1280x800 || { echo "FAILED: sway starts"; exit 1; }

read -r -a found <<<"$(bench_session_pids sway "$runtime")"
test_that "one sway in the test bed's runtime folder, the one it started" \
  eval '[ "${#found[@]}" = 1 ] && { [ "${found[0]}" = "$sway_pid" ] || [ "$(ps -o ppid= -p "${found[0]}" | tr -d " ")" = "$sway_pid" ]; }'
read -r -a found <<<"$(bench_session_pids Xwayland "$runtime")"
test_that "one Xwayland in it, the one of its X display" \
  eval '[ "${#found[@]}" = 1 ] && tr "\0" " " <"/proc/${found[0]}/cmdline" | grep -q "^Xwayland $DISPLAY "'

# Times a resting pet (its first tick a minute away, so that it stays where it showed);
# sets line, pid, shown, box (X Y W H).
first_frame_of() {  # name command...
  mkdir -p "$work/$1"
  cp "$tuvo" "$work/$1/tuvo"
  printf '[Setup]\nMode=1\nTimer=60000\n' >"$work/$1/tuvo.ini"
  "$helper" 10000 "${@:2}" >"$work/$1/out" &
  helper_pid=$!
  wait_for "grep -q -e shown_ms -e ended '$work/$1/out'" 150
  line=$(cat "$work/$1/out")
  read -r _ pid _ shown _ _ _ box <<<"$line"
  read -r -a box <<<"$box"
}
# The box lies inside X Y W H, and is at most 50 x 50 (the pet's window at scale 1).
box_within() {  # x y w h
  [ "${#box[@]}" = 4 ] && [ "${box[2]}" -le 50 ] && [ "${box[3]}" -le 50 ] &&
    [ "${box[0]}" -ge "$1" ] && [ $((box[0] + box[2])) -le $(($1 + $3)) ] &&
    [ "${box[1]}" -ge "$2" ] && [ $((box[1] + box[3])) -le $(($2 + $4)) ] ||
    { echo "     box ${box[*]}, not within $*"; false; }
}
in_time() { awk -v s="${shown:--1}" 'BEGIN { exit !(s > 0 && s < 10000) }'; }
ends_with_pet() {
  kill "${pid:-0}" 2>/dev/null
  wait_for "! kill -0 $helper_pid" 100
}

first_frame_of x11 env -u WAYLAND_DISPLAY "$work/x11/tuvo"
test_that "the X11 pet through XWayland: its line names its process ($line)" [ -e "/proc/${pid:-0}" ]
test_that "the X11 pet through XWayland: a time within the limit" in_time
window=$("$probe_bin" pets | awk -v p="${pid:-0}" '$3 == p { print $4, $5, $6, $7 }')
test_that "the X11 pet through XWayland: what changed lies in its window ($window)" box_within $window
test_that "the X11 pet through XWayland: the helper ends with the pet" ends_with_pet

if "$tuvo" --help 2>/dev/null | grep -q -- '--backend=wayland'; then
  first_frame_of native "$work/native/tuvo" --backend=wayland
  test_that "the native pet: its line names its process ($line)" [ -e "/proc/${pid:-0}" ]
  test_that "the native pet: a time within the limit" in_time
  shot native
  test_that "the native pet: what changed is where a screenshot then finds the cat" \
    eval 'box_within 0 0 1280 800 && find_pet_in native 1 "${box[@]}" | grep -q "^pet "'
  test_that "the native pet: the helper ends with the pet" ends_with_pet
else
  echo "$tuvo has no native Wayland pet: its first frame is not tried"
fi

out=$("$helper" 300 sleep 30); status=$?
read -r _ pid _ <<<"$out"
test_that "a program that never shows: status 3 at the limit" [ $status -eq 3 ]
test_that "a program that never shows: no time ($out)" grep -q "shown_ms -" <<<"$out"
test_that "a program that never shows: ended by the helper" [ ! -e "/proc/${pid:-0}" ]
out=$("$helper" 5000 true); status=$?
test_that "a program that ends first: status 4, and says so ($out)" eval '[ $status -eq 4 ] && grep -q "ended before" <<<"$out"'
out=$(WAYLAND_DISPLAY=wayland-none "$helper" 5000 true 2>&1); status=$?
test_that "no compositor: status 1, and says so ($out)" eval '[ $status -eq 1 ] && grep -q "cannot connect" <<<"$out"'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
