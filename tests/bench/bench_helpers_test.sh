#!/usr/bin/env bash
# The benchmarks' helpers: takes tools/bench/bench-common.sh, the first-frame helper and
# the real tuvo, and checks the figures they give: ratios and megabytes with unmeasured
# inputs, CPU time since a table, and, on an Xvfb display of its own, the helper's
# answers for a pet that shows, a program that ends first and one that never shows.
#   bench_helpers_test.sh FIRST_FRAME_HELPER TUVO
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
helper=$1 tuvo=$2
source "$root/tools/bench/bench-common.sh"
source "$root/scripts/wait.sh"
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
# The process is stopped (state T in /proc/PID/stat, after the parenthesised command
# name) and off the CPU: its CPU time the same in two reads a tenth of a second apart.
stopped() {
  local before
  [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" = T ] || return 1
  before=$(bench_cpu_ns "$1")
  sleep 0.1
  [ "$(bench_cpu_ns "$1")" = "$before" ]
}
folder=$(mktemp -d)
sleeper="" xvfb=""
finish() {
  [ -n "$sleeper" ] && kill -KILL "$sleeper" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$folder"
}
trap finish EXIT

# bench_ratio A B -> expected; bench_mb KIB -> expected
while read -r a b want; do
  check "ratio of '$a' and '$b' is $want" [ "$(bench_ratio "${a#.}" "${b#.}")" = "$want" ]
done <<'TABLE'
3 2 1.50
1000000 3000000 0.33
- 2 -
3 - -
. 2 -
3 . -
3 0 -
TABLE
while read -r kib want; do
  check "$kib KiB is $want MB" [ "$(bench_mb "${kib#.}")" = "$want" ]
done <<'TABLE'
11719 12.0
6836 7.0
- -
. -
TABLE

# A stopped process uses no CPU while it is measured, so its figures are exact. A process
# just started may still be starting up, on a busy machine for some time, even when it is
# about to sleep: this one is stopped, and measured once it is off the CPU.
sleep 60 &
sleeper=$!
kill -STOP "$sleeper"
wait_for 'stopped "$sleeper"' 100 || echo "the process $sleeper did not stop within 10 s"
ns=$(bench_cpu_ns "$sleeper")
check "a process's CPU time is a number" [ "$ns" -ge 0 ]
check "time since the table: now less then" [ "$(bench_cpu_since "$sleeper 100" "$sleeper")" -eq $((ns - 100)) ]
check "a process missing from the table counts whole" [ "$(bench_cpu_since "1 5" "$sleeper")" -eq "$ns" ]
check "processes not given count nothing" [ "$(bench_cpu_since "$sleeper 0")" -eq 0 ]
check "a process that is gone has no CPU time" [ "$(bench_cpu_ns 999999999)" -eq 0 ]
check "its peak memory is a number of KiB" [ "$(bench_peak_kib "$sleeper")" -gt 0 ]

if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed: the first-frame helper is not tried"
  echo "$passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
fi
n=$((200 + RANDOM % 300))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 640x480x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

# The pet, from a folder with its own settings, ticking once a minute so that it stays put.
cp "$tuvo" "$folder/tuvo"
printf '[Setup]\nMode=1\nTimer=60000\n' >"$folder/tuvo.ini"
"$helper" 10000 "$folder/tuvo" >"$folder/out" &
helper_pid=$!
for _ in $(seq 150); do grep -q shown_ms "$folder/out" && break; sleep 0.1; done
read -r _ pid _ window _ mapped _ shown _ x y <"$folder/out"
check "the pet's line names its process" [ -e "/proc/${pid:-0}" ]
check "the pet shows after it is mapped" awk -v m="${mapped:--1}" -v s="${shown:--1}" 'BEGIN { exit !(m > 0 && s >= m) }'
X=-100 Y=-100
eval "$(xdotool getwindowgeometry --shell "${window:-0}" 2>/dev/null)"
inside() { [ "$1" -ge "$3" ] && [ "$1" -lt $(($3 + 50)) ] && [ "$2" -ge "$4" ] && [ "$2" -lt $(($4 + 50)) ]; }
check "the point of its picture lies in its window" inside "${x:--1}" "${y:--1}" "$X" "$Y"
kill "${pid:-0}" 2>/dev/null
wait "$helper_pid"
check "the helper ends with the pet" [ ! -e "/proc/$helper_pid" ]

out=$("$helper" 5000 true); status=$?
check "a program that ends first: status 4" [ $status -eq 4 ]
check "a program that ends first: says so" grep -q "ended before it showed" <<<"$out"
out=$("$helper" 300 sleep 30); status=$?
check "a program that never shows: status 3 at the limit" [ $status -eq 3 ]
check "a program that never shows: no time" grep -q "shown_ms -" <<<"$out"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
