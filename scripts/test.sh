#!/usr/bin/env bash
# Runs every test: installs what is missing, builds natively and runs the engine and
# artwork tests, then the engine tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded fuzzing run of the list parsers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TUVO_BUILD:-$root/build}
jobs=${TUVO_JOBS:-2}

bash "$root/scripts/setup.sh"

echo "== native build and tests"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j "$jobs"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

echo "== engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$build/asan" -DCMAKE_BUILD_TYPE=Debug -DTUVO_SANITIZE=ON >/dev/null
cmake --build "$build/asan" -j "$jobs" --target engine_tests tuvo-sim
ctest --test-dir "$build/asan" --output-on-failure -j "$jobs" -L engine

echo "== parser fuzzing (libFuzzer, bounded)"
bash "$root/tests/fuzz/run-fuzz.sh" "$build/fuzz"
