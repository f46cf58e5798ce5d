#!/usr/bin/env bash
# Soak of the real tuvo.exe under Wine and Xvfb, printing its figures: the pet at the
# 10 ms tick until it has shown a given number of frame changes in display modes 2 and 1
# and a given number of moves in mode 0 (the three side by side, each in its own Wine
# prefix and X display), while the pet is dragged now and then and the About box and the
# Options dialog are opened and closed again and again. Afterwards the pet must still change
# shape and move, no message box may have appeared (a leaked region per frame exhausts
# the handle table and ends in the display's failure box), and the process's memory may
# not have grown beyond a small bound after its warm-up.
#   soak.sh WINDOWS_BUILD [--changes N] [--moves N] [--growth-kib N] [--round S] [--modes L]
# Defaults: 100000 frame changes, 10000 moves, 4096 KiB of growth, 20 s between the
# rounds of dragging and dialogs, modes "2 1 0".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?windows build folder}" && pwd)
shift
changes=100000 moves=10000 growth_limit=4096 round=20 modes="2 1 0"
while [ $# -gt 0 ]; do
  case $1 in
    --changes) changes=$2; shift 2 ;;
    --moves) moves=$2; shift 2 ;;
    --growth-kib) growth_limit=$2; shift 2 ;;
    --round) round=$2; shift 2 ;;
    --modes) modes=$2; shift 2 ;;
    *) echo "soak: unknown argument $1" >&2; exit 64 ;;
  esac
done
exe="$build/app/tuvo.exe"
probe="$build/tests/e2e/tuvo_probe.exe"
watch="$build/tools/soak/frame_watch.exe"
for f in "$exe" "$probe" "$watch"; do [ -f "$f" ] || { echo "soak: missing $f" >&2; exit 1; }; done

# One soak run in a subshell of its own: own display, own prefix, own folder.
#   soak_mode MODE TARGET KIND   KIND is regions or moves; prints one figures line
soak_mode() (
  local mode=$1 target=$2 kind=$3 dir="$build/soak/mode$1"
  mkdir -p "$dir/run"
  # A prefix made ready by the test run is copied rather than created again (~15 s).
  if [ -f "$build/wineprefix/.tuvo-ready" ] && [ ! -d "$dir/wineprefix" ]; then
    cp -a "$build/wineprefix" "$dir/wineprefix"
  fi
  source "$root/scripts/wine-env.sh" "$dir"
  trap wine_env_stop EXIT
  wine_env_start || { echo "mode $mode: FAIL no Wine environment"; exit 1; }
  cp "$exe" "$dir/run/tuvo.exe"
  printf '[Setup]\r\nMode=%s\r\nTimer=10\r\n' "$mode" >"$dir/run/tuvo.ini"
  (cd "$dir/run" && exec wine tuvo.exe) >/dev/null 2>&1 &
  wine_env_wait "wine '$probe' window | grep -q '^visible 1'" 300 ||
    { echo "mode $mode: FAIL the pet did not appear"; exit 1; }
  # The pet's process is the tuvo.exe that runs in this soak's prefix.
  local pid= p
  for p in $(pgrep -f 'tuvo\.exe'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && pid=$p
  done
  [ -n "$pid" ] || { echo "mode $mode: FAIL no tuvo.exe process found"; exit 1; }
  rss() { awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null; }
  hwm() { awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null; }
  # The watcher's figures: r frame changes and m moves, empty when it saw no pet.
  read_counts() { read -r _ r _ m _ <<<"$(grep '^regions ' <<<"$line")"; }
  pet_rect() { wine "$probe" window 2>/dev/null | tr -d '\r' | awk '$1 == "rect" { print $2, $3 }'; }

  # Life with interruptions: a watch of $round seconds, then a drag, the About box opened and
  # closed, the Options dialog opened and closed; repeated until the target is reached.
  local total=0 rounds=0 opened=0 start=$SECONDS base= line r m
  while [ "$total" -lt "$target" ]; do
    line=$(wine "$watch" "$round" $((target - total)) 2>/dev/null | tr -d '\r')
    case $line in box*) echo "mode $mode: FAIL message box: ${line#box }"; exit 1 ;; esac
    read_counts
    [ -n "$r" ] || { echo "mode $mode: FAIL the pet window vanished ($line)"; exit 1; }
    if [ "$kind" = regions ]; then total=$((total + r)); else total=$((total + m)); fi
    rounds=$((rounds + 1))
    read -r x y <<<"$(pet_rect)"
    [ -z "${x:-}" ] || xdotool mousemove $((x + 25)) $((y + 25)) mousedown 1 mousemove 400 300 mouseup 1
    # The menu's commands for About (40005) and Options (40007); the menu itself is the
    # end-to-end tests' business, a moving target for a soak at the 10 ms tick.
    for command in 40005 40007; do
      wine "$watch" command "$command" >/dev/null 2>&1
      # A loaded machine may take a while to build a dialog under Wine: up to 15 s.
      if wine_env_wait "[ \"\$(wine '$watch' dialogs | tr -d '\r')\" -gt 0 ]" 150; then
        opened=$((opened + 1))
        wine "$watch" close-dialogs >/dev/null 2>&1
        wine_env_wait "[ \"\$(wine '$watch' dialogs | tr -d '\r')\" = 0 ]" 50 || {
          echo "mode $mode: FAIL a dialog did not close"; exit 1; }
      else
        echo "mode $mode: command $command opened no dialog within 15 s (round $rounds)" >&2
      fi
    done
    # Memory is measured from the end of the first round: by then the dialogs' code, fonts
    # and pictures have been loaded once.
    [ -n "$base" ] || base=$(rss)
    [ $((SECONDS - start)) -lt 7200 ] || { echo "mode $mode: FAIL not done within 2 hours"; exit 1; }
  done
  local end_rss; end_rss=$(rss)
  # Still alive afterwards: the pet is dropped in mid-screen, where it falls and carries on,
  # and must show shape changes (modes 1, 2) and moves within at most six watches of 5 s
  # (a pet may well sit still for one of them).
  read -r x y <<<"$(pet_rect)"
  [ -z "${x:-}" ] || xdotool mousemove $((x + 25)) $((y + 25)) mousedown 1 mousemove 500 200 mouseup 1
  local alive=FAIL watches=0 r_sum=0 m_sum=0
  while [ "$watches" -lt 6 ] && [ "$alive" = FAIL ]; do
    line=$(wine "$watch" 5 2>/dev/null | tr -d '\r')
    read_counts
    r_sum=$((r_sum + ${r:-0})); m_sum=$((m_sum + ${m:-0})); watches=$((watches + 1))
    if [ "$m_sum" -gt 0 ] && { [ "$mode" = 0 ] || [ "$r_sum" -gt 0 ]; }; then alive=ok; fi
  done
  r=$r_sum m=$m_sum
  local grown=$((end_rss - base)) verdict=ok
  [ "$grown" -le "$growth_limit" ] || verdict=FAIL
  [ "$alive" = ok ] || verdict=FAIL
  [ "$opened" -eq $((2 * rounds)) ] || verdict=FAIL  # every opening must have worked
  echo "mode $mode: $verdict $kind $total in $((SECONDS - start)) s, $rounds rounds of drag + About + Options ($opened dialogs opened and closed);" \
       "rss after warm-up ${base} KiB, at end ${end_rss} KiB (growth ${grown} KiB, bound ${growth_limit}), peak $(hwm) KiB;" \
       "afterwards regions $r moves $m in $((5 * watches)) s"
  [ "$verdict" = ok ]
)

# The modes side by side, each on its own display and in its own prefix.
pids=()
for mode in $modes; do
  if [ "$mode" = 0 ]; then target=$moves kind=moves; else target=$changes kind=regions; fi
  soak_mode "$mode" "$target" "$kind" >"$build/soak-$mode.txt" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for mode in $modes; do cat "$build/soak-$mode.txt"; done
exit $status
