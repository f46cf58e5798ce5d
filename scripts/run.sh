#!/usr/bin/env bash
# Runs the pet. Until the Windows program exists this builds the headless simulator and
# lets the built-in cat live for a while, printing its trace.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TUVO_BUILD:-$root/build}

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j 2 --target tuvo-sim
"$build/native/tools/sim/tuvo-sim" "$@"
