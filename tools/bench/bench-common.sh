# Sourced by the benchmarks of the real programs (wine_bench.sh, x11_bench.sh): takes
# process ids and gives their CPU time, peak memory and shares of a core, the processes of
# a Wine prefix, and a pointer that wanders over the display while a program is measured.
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
# the same seed; a place within bench_pointer_clearance pixels of the measured window
# (when one is given) is skipped, so the pointer never enters the pet.
bench_pointer_pid=
bench_pointer_seed=4242
bench_pointer_clearance=100
bench_pointer_walk() {  # [WINDOW]
  local x y X Y WIDTH HEIGHT gap=$bench_pointer_clearance
  RANDOM=$bench_pointer_seed
  while :; do
    x=$((RANDOM % 1000 + 12)) y=$((RANDOM % 740 + 14))
    if [ -n "${1:-}" ] && eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" &&
      [ "$x" -gt $((X - gap)) ] && [ "$x" -lt $((X + WIDTH + gap)) ] &&
      [ "$y" -gt $((Y - gap)) ] && [ "$y" -lt $((Y + HEIGHT + gap)) ]; then
      continue
    fi
    xdotool mousemove "$x" "$y" 2>/dev/null
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
