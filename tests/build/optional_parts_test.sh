#!/usr/bin/env bash
# The native build on a machine without the test command's packages: takes cmake, the
# source folder and a scratch folder, and configures there as if GoogleTest, Google
# Benchmark, the XTest library or Wayland were missing; the program must still be
# configured, and each missing part named once in not-built.txt.
#   optional_parts_test.sh CMAKE SOURCE SCRATCH
set -u
cmake=$1 source=$2 scratch=$3
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
rm -rf "$scratch" && mkdir -p "$scratch"

# configure NAME ARGS...: a fresh folder of its own; true when CMake configured it.
configure() {
  local folder="$scratch/$1"; shift
  "$cmake" -S "$source" -B "$folder" -DCMAKE_BUILD_TYPE=Release "$@" >"$folder.log" 2>&1 ||
    { tail -5 "$folder.log"; false; }
}
# has_target NAME TARGET: the configured build can make TARGET.
has_target() { "$cmake" --build "$scratch/$1" --target help 2>/dev/null | grep -q "\.\.\. $2\$"; }
# not_built NAME: the parts the configuration left out, one a line.
not_built() { cat "$scratch/$1/not-built.txt" 2>/dev/null; }

# Without GoogleTest: no tests at all, and one line for them.
check "without GoogleTest the program is configured" configure no-gtest -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
check "without GoogleTest tuvo is a target" has_target no-gtest tuvo
check "without GoogleTest no test is a target" eval '! has_target no-gtest x11_tests && ! has_target no-gtest engine_tests'
check "without GoogleTest one line says the tests are not built" \
  eval '[ "$(not_built no-gtest)" = "the native tests and benchmarks (GoogleTest not found; it is in libgtest-dev)" ]'

# GoogleTest without Google Benchmark or XTest (an empty library path is one CMake takes as
# looked for and not there): the tests, less the benchmark and the end-to-end probe.
check "without Benchmark and XTest the program is configured" \
  configure no-bench-xtst -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DX11_Xtst_LIB=
check "without Benchmark and XTest the tests are targets" \
  eval 'has_target no-bench-xtst tuvo && has_target no-bench-xtst x11_tests'
check "without Benchmark and XTest neither the benchmark nor the probe is a target" \
  eval '! has_target no-bench-xtst engine_bench && ! has_target no-bench-xtst tuvo_x11_probe'
check "without Benchmark and XTest each is named once" eval '[ "$(not_built no-bench-xtst | sort)" = "$(printf "%s\n" \
  "the X11 end-to-end tests'"'"' probe (the XTest library not found; it is in libxtst-dev)" \
  "the engine benchmark (Google Benchmark not found; it is in libbenchmark-dev)")" ]'

# Without Wayland's scanner (or its client library or protocols): the X11 pet alone.
check "without Wayland the program is configured" configure no-wayland -DTUVO_WAYLAND_SCANNER=
check "without Wayland tuvo is a target and the Wayland pet shell is not" \
  eval 'has_target no-wayland tuvo && ! has_target no-wayland tuvo_wayland_shell && ! has_target no-wayland wayland_tests'
check "without Wayland one line says so" eval '[ "$(not_built no-wayland)" = "the native Wayland pet and the Wayland tests \
(libwayland-client, wayland-scanner or wayland-protocols not found; they are in libwayland-dev and wayland-protocols)" ]'

# Everything there: nothing left out.
check "with everything installed nothing is left out" eval 'configure all && [ -z "$(not_built all)" ] &&
  has_target all engine_bench && has_target all tuvo_x11_probe && has_target all tuvo_wayland_shell'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ] && rm -rf "$scratch"
[ $failed -eq 0 ]
