#!/usr/bin/env bash
# The simulator seen from outside: one line per tick in the documented format, the same
# bytes for the same seed, events applied at their tick, and usage errors on bad input.
set -u
sim=$1
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}

"$sim" --seed 7 --ticks 500 >"$tmp/a" 2>"$tmp/a.err"
"$sim" --seed 7 --ticks 500 >"$tmp/b"
"$sim" --seed 8 --ticks 500 >"$tmp/c"
check "same seed, same bytes" cmp -s "$tmp/a" "$tmp/b"
check "other seed, other trace" bash -c "! cmp -s '$tmp/a' '$tmp/c'"
check "one line per tick plus the start" test "$(wc -l <"$tmp/a")" -eq 501
check "nothing on stderr for the built-in cat" test ! -s "$tmp/a.err"
check "eight integer fields, ticks in order" awk 'NF != 8 || $1 != NR - 1 { exit 1 }
  { for (i = 1; i <= 8; i++) if ($i !~ /^-?[0-9]+$/) exit 1 }' "$tmp/a"
check "starts on action 1, frame 0, image 0, plain" awk 'NR == 1 && !($2 == 1 && $3 == 0 && $7 == 0 && $8 == 0) { exit 1 }' "$tmp/a"
check "stays on a 1024 x 768 screen" awk '$5 < 0 || $5 > 974 || $6 < 0 || $6 > 718 { exit 1 }' "$tmp/a"

"$sim" --seed 3 --ticks 400 --screen 640 480 --margins 10 20 30 40 >"$tmp/m"
check "stays inside the margins" awk '$5 < 20 || $5 > 640 - 50 - 40 || $6 < 10 || $6 > 480 - 50 - 30 { exit 1 }' "$tmp/m"

# A grab at tick 5, a move at 6 and a release at 9: the pet sits where it was put while
# held, and the held ticks do not move it.
"$sim" --seed 7 --ticks 12 --event 6:move:300:200 --event 5:grab --event 9:release \
  --event 7:move:-50:9999 >"$tmp/d"
check "events before a grab are ignored" cmp -s <(head -5 "$tmp/d") <(head -5 "$tmp/a")
check "a move while held places the pet" awk 'NR == 7 && !($5 == 300 && $6 == 200) { exit 1 }' "$tmp/d"
check "a move is clamped to the screen" awk 'NR == 8 && !($5 == 0 && $6 == 718) { exit 1 }' "$tmp/d"
check "held ticks keep the position" awk 'NR == 9 && !($5 == 0 && $6 == 718) { exit 1 }' "$tmp/d"
"$sim" --seed 7 --ticks 12 --event 4:release --event 4:move:1:1 >"$tmp/e"
check "release and move without a grab do nothing" cmp -s "$tmp/e" <(head -13 "$tmp/a")

"$sim" --seed 1 --ticks 3 --timer 25 >/dev/null
check "timer option accepted" test $? -eq 0

for bad in "--ticks" "--ticks -1" "--seed x" "--screen 10" "--event 0:grab" "--event 3:jump" \
           "--event 3:move:1" "--margins 1 2 3" "--bogus"; do
  # shellcheck disable=SC2086
  "$sim" $bad >"$tmp/out" 2>"$tmp/err"
  status=$?
  check "bad arguments '$bad' exit 2 with usage" bash -c "[ $status -eq 2 ] && grep -q '^usage: tuvo-sim' '$tmp/err' && [ ! -s '$tmp/out' ]"
done

"$sim" --seed 1 --ticks 1 --screen 20 20 >"$tmp/small" 2>"$tmp/small.err"
check "a tiny screen still starts, with validator findings on stderr" \
  bash -c "[ -s '$tmp/small.err' ] && [ \$(wc -l <'$tmp/small') -eq 2 ]"

[ "$failures" -eq 0 ]
