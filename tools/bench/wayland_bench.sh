#!/usr/bin/env bash
# Prints figures, tests nothing: what tuvo costs on a Wayland desktop, as the X11 program
# through XWayland and as the native Wayland pet, beside oneko through XWayland.
# On ONE headless sway (the Wayland test bed's, tests/e2e-wayland/lib.sh: output 1280 x
# 800, the desktop one solid colour, XWayland), each for SECONDS at the 150 ms tick, one
# after the other, with the virtual pointer moving every 2 s away from the pet:
#   the X11 program through XWayland (tuvo --backend=x11 where the program has that
#   option, else tuvo with WAYLAND_DISPLAY unset) in display modes 1, 2 and 0; the native
#   pet (tuvo --backend=wayland) in modes 1, 2 and 0, left out with a line saying why
#   when the program has no such option; oneko through XWayland.
# Every pet gets the same TUVO_SEED (TUVO_BENCH_SEED, default 1): the X11 program and the
# native pet of a mode do the same things tick for tick, as the engine's random choices
# are all the difference between two runs on the same output.
# The pets keep a right margin of 360 pixels and the pointer walks only right of it, so
# that it never comes near the pet without anyone asking where the pet is (a layer
# surface's place is known to no other client). The pointer walks there for oneko too,
# avoiding its X window as in x11_bench.sh (through XWayland, oneko sees the pointer
# only while it is over an X window).
# Per program: its own CPU, Xwayland's and sway's over the same seconds (% of one core,
# all threads, from schedstat; Xwayland and sway found as the processes of the test bed's
# runtime folder), its peak resident memory (VmHWM), and the time from its exec to its
# first frame on the output: tuvo-wl-first-frame (build/native) forks and execs the
# program, then has the compositor copy each output frame that changed (wlr screen copy)
# until one differs from the output before the start, and gives that frame's
# presentation time. A screenshot (grim) then has to show the cat, whole and crisp, for
# tuvo's figure to count. Each program gets 2 s to settle after it shows before its
# SECONDS begin. Then the verdicts against the targets, one line each.
# The exit status is 0 whatever the figures say; a program that does not show gets "-"
# for its figures and a line saying so. Only a failed build ends it otherwise.
#   wayland_bench.sh [--quick] [--seconds N] [NATIVE_BUILD]
# Defaults: build/native, 45 s (--quick: 10 s).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/bench/bench-common.sh"

seconds=45
while [ $# -gt 0 ]; do
  case $1 in
    --quick) seconds=10; shift ;;
    --seconds) seconds=$2; shift 2 ;;
    -*) echo "wayland_bench: unknown option $1" >&2; exit 64 ;;
    *) break ;;
  esac
done
native=$(mkdir -p "${1:-$root/build/native}" && cd "${1:-$root/build/native}" && pwd)
settle=2                # seconds a program runs before it is measured
first_frame_limit=5000  # ms tuvo-wl-first-frame waits for a frame
seed=${TUVO_BENCH_SEED:-1}  # the pets' behaviour, the same in every run
margin=360              # the pets' right margin; the pointer walks right of it
oneko=/usr/games/oneko
[ -x "$oneko" ] || oneko=$(command -v oneko || true)
for tool in sway swaymsg grim Xwayland xdotool xhost; do
  command -v "$tool" >/dev/null || { echo "wayland_bench: no $tool (scripts/setup.sh all installs it): nothing measured"; exit 0; }
done

# The pointer and the probes are the Wayland tests' own: a build with the tests.
[ -f "$native/CMakeCache.txt" ] || cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
if ! grep -q '^TUVO_TESTS:BOOL=ON' "$native/CMakeCache.txt" || [ ! -d "$native/tests/e2e-wayland" ]; then
  echo "wayland_bench: $native is built without the Wayland tests (-DTUVO_TESTS=ON, libwayland-dev): nothing measured"
  exit 0
fi
cmake --build "$native" -j 2 --target tuvo tuvo-wl-first-frame tuvo_wl_pointer tuvo_shot_probe tuvo_x11_probe >/dev/null
first_frame="$native/tools/bench/wayland/tuvo-wl-first-frame"

source "$root/tests/e2e-wayland/lib.sh"
TUVO_E2E_WORK="$native/wayland-bench" wayland_begin "$native" run
# How the program is started as the X11 client, and whether it has the native pet.
x11_env=(env -u WAYLAND_DISPLAY) x11_option=()
"$tuvo" --help 2>/dev/null | grep -q -- '--backend=x11' && x11_env=(env) x11_option=(--backend=x11)
no_native=
"$tuvo" --help 2>/dev/null | grep -q -- '--backend=wayland' ||
  no_native="$tuvo has no --backend=wayland: the native Wayland pet is not in this build"

pet_pid="" helper_pid="" pointer_in="" wanderer=""
finish() {
  set +e
  stop_program
  [ -n "$pointer_in" ] && exec {pointer_in}>&-
  [ -n "$wanderer" ] && wait "$wanderer"
  stop_sway
}
trap finish EXIT
trap '' PIPE  # a pointer that ended is no reason to end too
start_sway 1280x800 || exit 1
read -r -a sway_pids <<<"$(bench_session_pids sway "$runtime")"
read -r -a xwayland_pids <<<"$(bench_session_pids Xwayland "$runtime")"
if [ "${#sway_pids[@]}" != 1 ] || [ "${#xwayland_pids[@]}" != 1 ]; then
  echo "wayland_bench: not one sway and one Xwayland in $runtime (sway: ${sway_pids[*]}; Xwayland: ${xwayland_pids[*]}): nothing measured"
  exit 0
fi
sway_ps=${sway_pids[0]} xwayland_ps=${xwayland_pids[0]}

# One virtual pointer for the whole run, fed through a pipe: its device, and so sway's
# cursor, stays the same for every program. It is parked in the pointer's strip before
# each start.
mkfifo "$work/pointer"
"$pointer_bin" <"$work/pointer" >/dev/null 2>"$work/pointer.log" &
wanderer=$!
exec {pointer_in}>"$work/pointer"
wayland_pointer_to() { { echo "move $1 $2" >&"$pointer_in"; } 2>/dev/null || true; }
bench_pointer_mover=wayland_pointer_to
bench_pointer_area="$((1280 - margin + bench_pointer_clearance)) 0 $((margin - bench_pointer_clearance)) 800"
park_pointer() { wayland_pointer_to 1270 790; }

stop_program() {
  bench_pointer_stop
  [ -n "$pet_pid" ] && kill "$pet_pid" 2>/dev/null
  # The helper reaps the program; one that lost its helper is reaped by init.
  [ -n "$helper_pid" ] && { wait "$helper_pid" 2>/dev/null || true; }
  [ -n "$pet_pid" ] && wait_for "[ ! -e /proc/$pet_pid ]" 50
  pet_pid="" helper_pid=""
}

# Measures $pet_pid once it has settled; sets own_ns, xwayland_ns, sway_ns and peak_kib.
measure() {
  sleep "$settle"
  local own0 x0 s0
  own0=$(bench_cpu_ns "$pet_pid") x0=$(bench_cpu_ns "$xwayland_ps") s0=$(bench_cpu_ns "$sway_ps")
  sleep "$seconds"
  own_ns=$(($(bench_cpu_ns "$pet_pid") - own0)) xwayland_ns=$(($(bench_cpu_ns "$xwayland_ps") - x0))
  sway_ns=$(($(bench_cpu_ns "$sway_ps") - s0))
  peak_kib=$(bench_peak_kib "$pet_pid")
}

row() {  # label, first frame
  printf '%-34s %8s%% %8s%% %8s%% %8s %10s\n' "$1" "$(bench_percent "$own_ns" "$seconds")" \
    "$(bench_percent "$xwayland_ns" "$seconds")" "$(bench_percent "$sway_ns" "$seconds")" \
    "$(bench_mb "$peak_kib")" "$2"
}

# The row of a program that did not show, and its figures left unmeasured.
missing_row() {  # label, why
  own_ns=- xwayland_ns=- sway_ns=- peak_kib=- shown_ms=-
  printf '%-34s %s\n' "$1" "not measured: $2"
}

# Starts a program through the first-frame helper, its output in FOLDER; sets pet_pid and
# shown_ms. Fails, with the reason in start_failure, when nothing new shows.
start_shown() {  # folder command...
  local dir=$1 line
  shift
  park_pointer
  "$first_frame" "$first_frame_limit" "$@" >"$dir/first-frame.txt" 2>"$dir/stderr.txt" &
  helper_pid=$!
  wait_for "grep -q -e shown_ms -e ended '$dir/first-frame.txt'" $((first_frame_limit / 100 + 50)) || true
  line=$(cat "$dir/first-frame.txt")
  # pid P shown_ms S frames N box X Y W H
  read -r _ pet_pid _ shown_ms _ <<<"$line"
  case $line in *" box "*) return 0 ;; esac
  start_failure="nothing showed (${line:-no answer}) $(head -c 200 "$dir/stderr.txt")"
  stop_program
  return 1
}

# Whether a screenshot shows the cat, whole and crisp at scale 1, with nothing else but
# the desktop where the pet may be (the pointer's strip, where sway draws its cursor,
# left out): three looks, as one may fall between two of its frames.
cat_seen() {  # name
  local n out="no screenshot"
  for n in 1 2 3; do
    shot "$1" || continue
    out=$(find_pet_in "$1" 1 0 0 $((1280 - margin)) 800)
    [ "${out%% *}" = pet ] && { keep_png "$1"; return 0; }
  done
  keep_png "$1"
  seen_failure=$out
  return 1
}

declare -A cpu xcpu scpu kib shown
measure_tuvo() {  # key, label, settings, how (x11|wayland)
  local dir="$work/$1" first
  mkdir -p "$dir"
  cp "$tuvo" "$dir/tuvo"
  printf '[Setup]\n%bRight Margin=%s\n' "$3" "$margin" >"$dir/tuvo.ini"
  # The same seed for every pet: the X11 program and the native pet of a mode then do the
  # same things tick for tick, and their costs compare like for like.
  local start=(env "TUVO_SEED=$seed" "${x11_env[@]}" "$dir/tuvo" "${x11_option[@]}")
  [ "$4" = wayland ] && start=(env "TUVO_SEED=$seed" "$dir/tuvo" --backend=wayland)
  if start_shown "$dir" "${start[@]}"; then
    first="$shown_ms ms"
    if ! cat_seen "$1-first"; then
      echo "  ($2: the screenshot after its first frame shows no cat: $seen_failure; see $1-first.png)"
      first=- shown_ms=-
    fi
    bench_pointer_start
    measure
    stop_program
    row "$2" "$first"
  else
    missing_row "$2" "$start_failure"
  fi
  cpu[$1]=$own_ns xcpu[$1]=$xwayland_ns scpu[$1]=$sway_ns kib[$1]=$peak_kib shown[$1]=$shown_ms
}

echo "wayland_bench: $seconds s each at the 150 ms tick on a headless sway (Wayland $WAYLAND_DISPLAY, XWayland $DISPLAY);" \
  "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-34s %9s %9s %9s %8s %10s\n' "" "own CPU" "Xwayland" "sway" "peak MB" "1st frame"

for mode in 1 2 0; do
  measure_tuvo "x11-$mode" "tuvo (X11) through XWayland, mode $mode" "Mode=$mode\n" x11
done
for mode in 1 2 0; do
  if [ -n "$no_native" ]; then
    missing_row "tuvo (Wayland), mode $mode" "$no_native"
    cpu[wl-$mode]=- xcpu[wl-$mode]=- scpu[wl-$mode]=- kib[wl-$mode]=- shown[wl-$mode]=-
  else
    measure_tuvo "wl-$mode" "tuvo (Wayland), mode $mode" "Mode=$mode\n" wayland
  fi
done

if [ -z "$oneko" ]; then
  missing_row "oneko through XWayland" "oneko is not installed (apt-get install oneko)"
else
  mkdir -p "$work/oneko"
  if start_shown "$work/oneko" env -u WAYLAND_DISPLAY "$oneko"; then
    bench_pointer_start "$(xdotool search --onlyvisible --pid "$pet_pid" 2>/dev/null | head -1)"
    measure
    stop_program
    row "oneko through XWayland" "$shown_ms ms"
  else
    missing_row "oneko through XWayland" "$start_failure"
  fi
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

# The sum of several measured figures; "-" when any was not measured.
sum() {
  case " $* " in *" - "* | *"  "*) echo "-"; return ;; esac
  local t=0 n
  for n in "$@"; do t=$((t + n)); done
  echo "$t"
}

echo
echo "Against the targets"
for mode in 1 2 0; do
  bench_verdict "native pet's CPU / the X11 program's, mode $mode" \
    "$(bench_ratio "${cpu[wl-$mode]}" "${cpu[x11-$mode]}")" 1
done
for mode in 1 2 0; do
  bench_verdict "native pet + sway / X11 program + Xwayland + sway, mode $mode" \
    "$(bench_ratio "$(sum "${cpu[wl-$mode]}" "${scpu[wl-$mode]}")" \
      "$(sum "${cpu[x11-$mode]}" "${xcpu[x11-$mode]}" "${scpu[x11-$mode]}")")" 1
done
for mode in 1 2 0; do
  bench_verdict "native pet's peak memory, mode $mode" "$(bench_mb "${kib[wl-$mode]}")" 12 " MB"
done
for mode in 1 2 0; do
  bench_verdict "native pet's first frame, mode $mode" "${shown[wl-$mode]}" 200 " ms"
done
for mode in 1 2 0; do
  bench_verdict "X11 program's first frame through XWayland, mode $mode" "${shown[x11-$mode]}" 200 " ms"
done
exit 0
