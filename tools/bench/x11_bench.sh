#!/usr/bin/env bash
# Prints figures, tests nothing: what the native X11 program tuvo costs beside oneko (a
# tiny classic X11 program, the yardstick) and beside tuvo.exe under Wine.
# In ONE Xvfb run (1024 x 768 x 24, a display of its own, -noreset so that the server
# never resets between programs), with the pointer moving every 2 s away from the pet,
# each for SECONDS at the 150 ms tick, one after the other:
#   oneko; tuvo in display modes 1, 2 and 0 at scale 1, and the same at scale 2
#   ("Scale=2" in the tuvo.ini beside a copy of the binary); tuvo.exe under Wine in modes
#   1, 2 and 0 (skipped, with a line saying why, without Wine or the Windows build).
# Per program: its own CPU (% of one core, all threads, from schedstat; for Wine also
# wineserver and the prefix's other processes), the X server's CPU over the same
# seconds, peak resident memory (VmHWM), and for tuvo the time from the exec to the first
# frame on screen. That time comes from build/native's tuvo-first-frame, which forks and
# execs the program, sees its window mapped (MapNotify on the root, the window's
# _NET_WM_PID) and then reads the window's place on the root about every 0.5 ms until a
# pixel differs from the screen before the start. Each program gets 2 s to settle after
# it shows before its SECONDS begin. Then the ratios against the targets, one verdict line
# each, and, for information, tuvo's peak memory once its menu, the About box and the
# Options dialog have been opened (FLTK's connection and input method, fontconfig's
# match and the Chinese face come in only then).
# The exit status is 0 whatever the figures say; a program that does not show gets "-"
# for its figures and a line saying so. Only a failed build ends it otherwise.
#   x11_bench.sh [--quick] [--no-wine] [--seconds N] [NATIVE_BUILD [WINDOWS_BUILD]]
# Defaults: build/native, build/win, 45 s; --quick is 10 s each without Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/bench/bench-common.sh"

seconds=45 with_wine=1
while [ $# -gt 0 ]; do
  case $1 in
    --quick) seconds=10 with_wine=0; shift ;;
    --no-wine) with_wine=0; shift ;;
    --seconds) seconds=$2; shift 2 ;;
    -*) echo "x11_bench: unknown option $1" >&2; exit 64 ;;
    *) break ;;
  esac
done
native=$(mkdir -p "${1:-$root/build/native}" && cd "${1:-$root/build/native}" && pwd)
windows=${2:-$root/build/win}
settle=2            # seconds a program runs before it is measured
first_frame_limit=5000  # ms tuvo-first-frame waits for the picture
oneko=/usr/games/oneko
[ -x "$oneko" ] || oneko=$(command -v oneko || true)
[ -n "$oneko" ] || { echo "x11_bench: oneko is not installed (apt-get install oneko): nothing measured"; exit 0; }

[ -f "$native/CMakeCache.txt" ] ||
  cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >/dev/null
cmake --build "$native" -j 2 --target tuvo tuvo-first-frame >/dev/null
tuvo="$native/linux/tuvo"
first_frame="$native/tools/bench/x11/tuvo-first-frame"

# Wine's part: why it is left out, or nothing.
no_wine=
if [ "$with_wine" = 0 ]; then
  no_wine="left out as asked"
elif ! command -v wine >/dev/null; then
  no_wine="Wine is not installed"
elif [ ! -f "$windows/CMakeCache.txt" ]; then
  no_wine="no Windows build in $windows (build it as scripts/test.sh does)"
elif ! cmake --build "$windows" -j 2 --target tuvo >/dev/null 2>&1 || [ ! -f "$windows/app/tuvo.exe" ]; then
  no_wine="the Windows build in $windows does not build tuvo.exe"
fi

work="$native/x11-bench"
rm -rf "$work/run" && mkdir -p "$work/run"
# The display and, for tuvo.exe, a Wine prefix of the benchmark's own under $work.
source "$root/scripts/wine-env.sh" "$work"
pet_pid="" helper_pid=""
finish() {
  stop_program
  bench_pointer_stop
  wine_env_stop
}
trap finish EXIT
TUVO_XVFB_ARGS=-noreset wine_env_start_display
xvfb=$wine_env_xvfb_pid
if [ -z "$no_wine" ]; then
  # A prefix the tests made ready is copied rather than created again (~15 s).
  if [ -f "$windows/wineprefix/.tuvo-ready" ] && [ ! -f "$WINEPREFIX/.tuvo-ready" ]; then
    rm -rf "$WINEPREFIX" && cp -a "$windows/wineprefix" "$WINEPREFIX"
  fi
  wine_env_make_prefix
  wineserver -w  # nothing of Wine runs while the native programs are measured
fi

stop_program() {
  bench_pointer_stop
  [ -n "$pet_pid" ] && kill "$pet_pid" 2>/dev/null
  [ -n "$pet_pid" ] && { wait "$pet_pid" 2>/dev/null || true; }
  [ -n "$helper_pid" ] && { wait "$helper_pid" 2>/dev/null || true; }
  # An orphan (the helper's child) is reaped by init: wait until it is gone.
  local tries=50
  while [ -n "$pet_pid" ] && [ -e "/proc/$pet_pid" ] && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  pet_pid="" helper_pid=""
}

# Measures $pet_pid once it has settled; sets own_ns, others_ns (the processes that
# $others_of, a command, lists), xvfb_ns and peak_kib.
measure() {
  sleep "$settle"
  local own0 x0 others0
  # shellcheck disable=SC2046
  others0=$(bench_cpu_table $($others_of)) own0=$(bench_cpu_ns "$pet_pid") x0=$(bench_cpu_ns "$xvfb")
  sleep "$seconds"
  own_ns=$(($(bench_cpu_ns "$pet_pid") - own0)) xvfb_ns=$(($(bench_cpu_ns "$xvfb") - x0))
  # shellcheck disable=SC2046
  others_ns=$(bench_cpu_since "$others0" $($others_of))
  peak_kib=$(bench_peak_kib "$pet_pid")
}
no_others() { :; }
wine_others() { bench_wine_pids "$pet_pid"; }

row() {  # label, first frame ms
  local others="-"
  [ "$others_of" = no_others ] || others="$(bench_percent "$others_ns" "$seconds")%"
  printf '%-30s %8s%% %9s %8s%% %9s %10s\n' "$1" "$(bench_percent "$own_ns" "$seconds")" "$others" \
    "$(bench_percent "$xvfb_ns" "$seconds")" "$(bench_mb "$peak_kib")" "$2"
}

# The row of a program that did not show, and its figures left unmeasured.
missing_row() {  # label, why
  own_ns=- others_ns=- xvfb_ns=- peak_kib=- shown_ms=-
  printf '%-30s %s\n' "$1" "not measured: $2"
}

# Starts tuvo from a folder of its own with the settings given, through the first-frame
# helper; sets pet_pid, pet_window, shown_ms and pet_x, pet_y (a point of its picture).
# Fails, with the reason in start_failure, when it does not show.
start_tuvo() {  # folder, settings
  local dir="$work/run/$1" line
  mkdir -p "$dir"
  cp "$tuvo" "$dir/tuvo"
  printf '[Setup]\n%b' "$2" >"$dir/tuvo.ini"
  "$first_frame" "$first_frame_limit" "$dir/tuvo" >"$dir/first-frame.txt" 2>"$dir/stderr.txt" &
  helper_pid=$!
  wine_env_wait "grep -q shown_ms '$dir/first-frame.txt'" $((first_frame_limit / 100 + 50)) || true
  line=$(cat "$dir/first-frame.txt")
  # pid P window W mapped_ms M shown_ms S at X Y
  read -r _ pet_pid _ pet_window _ _ _ shown_ms _ pet_x pet_y <<<"$line"
  case $line in *" at "*) return 0 ;; esac
  start_failure="it did not show (${line:-no answer}) $(head -c 200 "$dir/stderr.txt")"
  stop_program
  return 1
}

declare -A cpu xcpu kib shown
measure_tuvo() {  # key, label, settings
  others_of=no_others
  if start_tuvo "$1" "$3"; then
    bench_pointer_start "$pet_window"
    measure
    stop_program
    row "$2" "$shown_ms ms"
  else
    missing_row "$2" "$start_failure"
  fi
  cpu[$1]=$own_ns xcpu[$1]=$xvfb_ns kib[$1]=$peak_kib shown[$1]=$shown_ms
}

unset WAYLAND_DISPLAY WAYLAND_SOCKET  # the pets on that X display, not a session's compositor
echo "x11_bench: $seconds s each at the 150 ms tick on Xvfb $DISPLAY; load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-30s %9s %9s %9s %9s %10s\n' "" "own CPU" "Wine's" "Xvfb" "peak MB" "1st frame"

"$oneko" >/dev/null 2>&1 &
pet_pid=$!
others_of=no_others
if wine_env_wait "xdotool search --onlyvisible --name oneko" 100; then
  bench_pointer_start "$(xdotool search --onlyvisible --name oneko | head -1)"
  measure
  stop_program
  row "oneko (the yardstick)" "-"
else
  stop_program
  missing_row "oneko (the yardstick)" "it did not show"
fi
oneko_ns=$own_ns oneko_x=$xvfb_ns

for scale in 1 2; do
  for mode in 1 2 0; do
    label="tuvo, mode $mode, scale $scale"
    measure_tuvo "$mode-$scale" "$label" "Mode=$mode\nScale=$scale\n"
  done
done

declare -A wine_cpu
if [ -n "$no_wine" ]; then
  echo "tuvo.exe under Wine: skipped, $no_wine"
else
  for mode in 1 2 0; do
    mkdir -p "$work/run/wine$mode"
    cp "$windows/app/tuvo.exe" "$work/run/wine$mode/"
    printf '[Setup]\r\nMode=%s\r\n' "$mode" >"$work/run/wine$mode/tuvo.ini"
    (cd "$work/run/wine$mode" && exec wine tuvo.exe) >/dev/null 2>&1 &
    pet_pid=$!
    others_of=wine_others
    wine_cpu[$mode]=-
    if ! wine_env_wait "xdotool search --onlyvisible --pid $pet_pid" 300; then
      stop_program
      missing_row "tuvo.exe under Wine, mode $mode" "it did not show"
      continue
    fi
    bench_pointer_start "$(xdotool search --onlyvisible --pid "$pet_pid" | head -1)"
    measure
    stop_program
    wine_cpu[$mode]=$((own_ns + others_ns))
    row "tuvo.exe under Wine, mode $mode" "-"
  done
  wineserver -k && wineserver -w
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "Against the targets"
for mode in 1 2 0; do
  limit=1.5
  [ "$mode" = 0 ] && limit=2
  bench_verdict "tuvo CPU / oneko CPU, mode $mode" "$(bench_ratio "${cpu[$mode-1]}" "$oneko_ns")" "$limit"
done
for scale in 1 2; do
  for mode in 1 2 0; do
    bench_verdict "Xvfb CPU beside tuvo / beside oneko, mode $mode, scale $scale" \
      "$(bench_ratio "${xcpu[$mode-$scale]}" "$oneko_x")" 1.5
  done
done
for scale in 1 2; do
  for mode in 1 2 0; do
    bench_verdict "tuvo peak memory, mode $mode, scale $scale" "$(bench_mb "${kib[$mode-$scale]}")" 12 " MB"
  done
done
for mode in 1 2 0; do
  bench_verdict "tuvo CPU at scale 2 / at scale 1, mode $mode" "$(bench_ratio "${cpu[$mode-2]}" "${cpu[$mode-1]}")" 1.5
done
for scale in 1 2; do
  for mode in 1 2 0; do
    bench_verdict "tuvo first frame, mode $mode, scale $scale" "${shown[$mode-$scale]}" 200 " ms"
  done
done
if [ -z "$no_wine" ]; then
  echo
  echo "For comparison (no target): tuvo / tuvo.exe with Wine's processes, CPU"
  for mode in 1 2 0; do
    echo "  mode $mode: $(bench_ratio "${cpu[$mode-1]}" "${wine_cpu[$mode]}");" \
      "tuvo.exe with Wine's processes / oneko: $(bench_ratio "${wine_cpu[$mode]}" "$oneko_ns")"
  done
fi

# For information: the menu and the dialogs bring in FLTK's connection, fontconfig and
# the Chinese face. The pet ticks once a minute here, so that it stays where it was
# clicked; keys choose the entries (the menu takes the keyboard) and Escape closes the
# dialogs.
echo
menu_peak() {  # the menu's key for a dialog, a pattern of the dialog's title
  xdotool mousemove "$pet_x" "$pet_y" click 3
  wine_env_wait "[ \$(xdotool search --onlyvisible --pid $pet_pid | wc -l) -gt 1 ]" 50 || return 1
  xdotool key "$1"
  wine_env_wait "xdotool search --onlyvisible --name '$2'" 50 || return 1
  sleep 1  # the About box's animation has drawn a few frames
  xdotool windowfocus "$(xdotool search --onlyvisible --name "$2" | head -1)" key Escape
  wine_env_wait "! xdotool search --onlyvisible --name '$2'" 50 || return 1
  bench_mb "$(bench_peak_kib "$pet_pid")"
}
# What is resident now: file pages of fonts (shared with every program that draws with
# them), and the process's private memory.
resident_parts() {
  local fonts
  fonts=$(awk '/^[0-9a-f]+-[0-9a-f]+ / { font = $6 ~ /\.(ttc|ttf|otf|pfb)$/ }
    font && $1 == "Rss:" { k += $2 } END { print k + 0 }' "/proc/$pet_pid/smaps")
  echo "of what is resident then, $(bench_mb "$fonts") MB are the font files' pages and" \
    "$(bench_mb "$(awk '$1 == "RssAnon:" { print $2 }' "/proc/$pet_pid/status")") MB private memory"
}
if ! start_tuvo menu "Mode=1\nTimer=60000\n"; then
  echo "Information: tuvo's peak memory after the menu and dialogs not measured: $start_failure"
  exit 0
fi
alone=$(bench_mb "$(bench_peak_kib "$pet_pid")")
# Title patterns in ASCII: xdotool's patterns do not match the Chinese characters.
after_about=$(menu_peak a " Tuvo\$" || echo "-")
after_options=$(menu_peak o "^Tuvo - " || echo "-")
parts=$(resident_parts)
stop_program
echo "Information: tuvo's peak memory (mode 1, scale 1): $alone MB alone; $after_about MB once the menu and the" \
  "About box have been open; $after_options MB once the Options dialog has been open too ($parts)"
exit 0
