# Sourced by the benchmarks of the real programs (wine_bench.sh, x11_bench.sh,
# wayland_bench.sh): takes process ids and gives their CPU time, peak memory and shares of
# a core, the processes of a Wine prefix or of a compositor's session, a pointer that
# wanders over the display while a program is measured, and verdict lines.
#   source tools/bench/bench-common.sh      then: bench_cpu_ns PID, bench_pointer_start ...
# shellcheck shell=bash

# CPU time of a process, all its threads, in nanoseconds: the first field of each
# thread's schedstat (utime and stime in /proc/PID/stat count whole clock ticks, too
# coarse for a program that uses a tenth of a per cent of a core). 0 once it is gone.
bench_cpu_ns() {
  cat "/proc/$1/task/"*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f\n", t }'
}

# The CPU time of several processes together.
bench_sum_cpu_ns() {
  local p t=0
  for p in "$@"; do t=$((t + $(bench_cpu_ns "$p"))); done
  echo "$t"
}

# "PID NANOSECONDS" lines, one for each process given: where bench_cpu_since starts.
bench_cpu_table() {
  local p
  for p in "$@"; do echo "$p $(bench_cpu_ns "$p")"; done
}

# The CPU time the processes given used since TABLE: each one's time less its time in
# the table, all of it for one started since. One that ended meanwhile is not among them,
# and what it used is lost: list the processes that live through the measurement.
bench_cpu_since() {  # TABLE PID...
  local table=$1 p before t=0
  shift
  for p in "$@"; do
    before=$(awk -v p="$p" '$1 == p { print $2 }' <<<"$table")
    t=$((t + $(bench_cpu_ns "$p") - ${before:-0}))
  done
  echo "$t"
}

# Peak resident memory of a process (VmHWM), KiB.
bench_peak_kib() { awk '$1 == "VmHWM:" { print $2 }' "/proc/$1/status" 2>/dev/null; }

# Nanoseconds over SECONDS as a per cent of one core.
bench_percent() { awk -v t="$1" -v s="$2" 'BEGIN { printf "%.3f", 100 * t / 1e9 / s }'; }

# a / b with two decimals; "-" when either was not measured ("-" or empty) or b is 0.
bench_ratio() {
  case "$1|$2" in *-*|"|"*|*"|") echo "-"; return ;; esac
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

# KiB as MB (10^6 bytes) with one decimal; "-" when not measured.
bench_mb() {
  case $1 in "" | -) echo "-"; return ;; esac
  awk -v k="$1" 'BEGIN { printf "%.1f", k * 1024 / 1e6 }'
}

# The processes called NAME (their /proc/PID/comm) that run with XDG_RUNTIME_DIR=FOLDER:
# a compositor and its XWayland among those of other sessions on the machine.
bench_session_pids() {  # NAME FOLDER
  local p
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = "$1" ] || continue
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$2" && echo "${p#/proc/}"
  done
}

# The processes Wine runs for $WINEPREFIX, but for the one given.
bench_wine_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ "${p#/proc/}" = "$1" ] && continue
    case $(readlink "$p/exe" 2>/dev/null) in */wine/*) ;; *) continue ;; esac
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "${p#/proc/}"
  done
}

# The pointer moves to a new place every 2 s, so that oneko has a pointer to chase and
# every program sees the same input traffic. Each measurement starts the same walk, from
# the same seed, over bench_pointer_area (X Y WIDTH HEIGHT, 12 to 14 pixels in from its
# edges); a place within bench_pointer_clearance pixels of the measured X window (when
# one is given) is skipped, so the pointer never enters the pet. bench_pointer_mover is
# the command that takes the pointer to X Y: xdotool's, or a Wayland benchmark's own.
bench_pointer_pid=
bench_pointer_seed=4242
bench_pointer_clearance=100
bench_pointer_area="0 0 1024 768"
bench_pointer_mover=bench_pointer_xdotool
bench_pointer_xdotool() { xdotool mousemove "$1" "$2" 2>/dev/null; }
bench_pointer_walk() {  # [WINDOW]
  local x y X Y WIDTH HEIGHT gap=$bench_pointer_clearance left top width height
  read -r left top width height <<<"$bench_pointer_area"
  RANDOM=$bench_pointer_seed
  while :; do
    x=$((left + RANDOM % (width - 24) + 12)) y=$((top + RANDOM % (height - 28) + 14))
    if [ -n "${1:-}" ] && eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" &&
      [ "$x" -gt $((X - gap)) ] && [ "$x" -lt $((X + WIDTH + gap)) ] &&
      [ "$y" -gt $((Y - gap)) ] && [ "$y" -lt $((Y + HEIGHT + gap)) ]; then
      continue
    fi
    "$bench_pointer_mover" "$x" "$y"
    sleep 2
  done
}

bench_pointer_start() {  # [WINDOW]
  bench_pointer_stop
  bench_pointer_walk "${1:-}" >/dev/null 2>&1 &
  bench_pointer_pid=$!
}

bench_pointer_stop() {
  [ -n "$bench_pointer_pid" ] || return 0
  kill "$bench_pointer_pid" 2>/dev/null || true
  wait "$bench_pointer_pid" 2>/dev/null || true
  bench_pointer_pid=
}

# One verdict line: what, the figure, the limit; "met" when figure <= limit.
bench_verdict() {  # what figure limit [unit]
  awk -v what="$1" -v v="$2" -v limit="$3" -v unit="${4:-}" 'BEGIN {
    if (v == "-") { printf "  %-58s %8s   (at most %s%s)  NO FIGURE\n", what, v, limit, unit; exit }
    printf "  %-58s %8s   (at most %s%s)  %s\n", what, v unit, limit, unit, (v + 0 <= limit + 0) ? "met" : "MISSED" }'
}
