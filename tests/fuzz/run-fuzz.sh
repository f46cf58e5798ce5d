#!/usr/bin/env bash
# Builds the parser fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded number of inputs from a seed
# corpus of table strings. Any crash or sanitizer report fails the run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/build/fuzz}
runs=${TUVO_FUZZ_RUNS:-2000000}
mkdir -p "$out/corpus"

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/engine" "$here/fuzz_parsers.cpp" "$root/engine/parse.cpp" "$root/engine/alloc.cpp" \
  "$root/engine/random.cpp" "$root/engine/compile.cpp" "$root/engine/validate.cpp" \
  "$root/engine/step.cpp" "$root/engine/values.cpp" "$root/engine/tables.cpp" \
  -o "$out/fuzz_parsers"

i=0
for seed in "1,15,16,2,r16,r15,r1" "22,23,23,22,r3, r22" "12-50,13-50" "r1-100" \
            "2-8,3-40,8-8,r8-8" "4-20:4,4-20:25" "*43-10,r7-20:*4" "-15" "r8" "10"; do
  for kind in 0 1 2 3; do
    printf "\\x0$kind%s" "$seed" >"$out/corpus/seed$i"
    i=$((i + 1))
  done
done

"$out/fuzz_parsers" -runs="$runs" -max_len=300 -seed=1 "$out/corpus" 2>"$out/fuzz.log" || {
  tail -40 "$out/fuzz.log"
  exit 1
}
tail -1 "$out/fuzz.log"
echo "fuzz: $runs inputs, no fault"
