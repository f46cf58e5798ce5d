#!/usr/bin/env bash
# Runs every test: installs what is missing, builds natively and runs the engine and
# artwork tests, then the engine tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, a bounded fuzzing run of the list parsers, and finally
# cross-builds the Windows program and runs its tests under Wine on an Xvfb display of
# the run's own, with a Wine prefix of its own under the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TUVO_BUILD:-$root/build}
jobs=${TUVO_JOBS:-2}

bash "$root/scripts/setup.sh" all

echo "== native build and tests"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=ON >/dev/null
# Every part is built here: a test or benchmark left out for want of a package fails the run.
if [ -s "$build/native/not-built.txt" ]; then
  sed 's/^/not built: /' "$build/native/not-built.txt" >&2
  exit 1
fi
cmake --build "$build/native" -j "$jobs"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

echo "== end-to-end tests of the native X11 program, each on a display of its own"
bash "$root/tests/e2e-x11/pet-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/dialogs-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/settings-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/fonts-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/dialogs-scale-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/desktop-e2e.sh" "$build/native"
bash "$root/tests/e2e-x11/manners-e2e.sh" "$build/native"

echo "== end-to-end tests of the X11 program through XWayland on a headless sway"
bash "$root/tests/e2e-wayland/xwayland-e2e.sh" "$build/native"
echo "== end-to-end tests of the native Wayland pet on a headless sway"
bash "$root/tests/e2e-wayland/native-e2e.sh" "$build/native"

echo "== end-to-end tests on a second compositor with a layer shell, a headless phoc"
bash "$root/tests/e2e-wayland/phoc-e2e.sh" "$build/native"

echo "== the run command without a display: the native pet filmed"
env -u DISPLAY TUVO_RUN_SECONDS=6 TUVO_BUILD="$build" bash "$root/scripts/run.sh" >"$build/run.log" 2>&1 ||
  { cat "$build/run.log"; echo "run.sh: failed without a display" >&2; exit 1; }
for picture in tuvo.gif tuvo-closeup.gif tuvo-closeup.png tuvo-strip.png; do
  [ -s "$build/run/$picture" ] || { echo "run.sh: no $picture" >&2; exit 1; }
done
# The close-up shows the cat: pixels of its outline's ink, crisp at three times its size.
ink=$(convert "$build/run/tuvo-closeup.png" -fill black +opaque 'rgb(44,26,20)' -fill white \
  -opaque 'rgb(44,26,20)' -format '%[fx:round(mean*w*h)]' info:)
[ "$ink" -ge 500 ] || { echo "run.sh: the close-up shows no cat ($ink ink pixels)" >&2; exit 1; }
echo "run.sh: $(grep -c . <<<"$(ls "$build/run/frames")") frames filmed, the cat in the close-up"

echo "== engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$build/asan" -DCMAKE_BUILD_TYPE=Debug -DTUVO_SANITIZE=ON >/dev/null
cmake --build "$build/asan" -j "$jobs" --target engine_tests desktop_tests common_tests tuvo-sim
ctest --test-dir "$build/asan" --output-on-failure -j "$jobs" -L "engine|desktop|common"

echo "== parser fuzzing (libFuzzer, bounded)"
bash "$root/tests/fuzz/run-fuzz.sh" "$build/fuzz"

echo "== Windows build (mingw-w64) and its tests under Wine and Xvfb"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTUVO_ART_DIR="$build/native/art" >/dev/null
cmake --build "$build/win" -j "$jobs"
source "$root/scripts/wine-env.sh" "$build/win"
trap wine_env_stop EXIT
wine_env_start
# Without a window manager Wine waits some 2 s for each managed window it closes; the
# Windows-side tests open and close many, so they run with Wine's windows unmanaged. The
# end-to-end tests afterwards run with Wine's default again.
x11_driver='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11_driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
ctest --test-dir "$build/win" --output-on-failure -L windows

echo "== Windows-side tests again, built with undefined-behaviour traps and run-time checks"
cmake -S "$root" -B "$build/win-checks" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Debug -DTUVO_RUNTIME_CHECKS=ON -DTUVO_ART_DIR="$build/native/art" >/dev/null
cmake --build "$build/win-checks" -j "$jobs" --target tuvo_windows_tests
ctest --test-dir "$build/win-checks" --output-on-failure -L windows
wine reg delete "$x11_driver" /v Managed /f >/dev/null 2>&1
wineserver -w

# end-to-end
bash "$root/tests/e2e/dialogs-e2e.sh" "$build/win" "$build/native/art"
bash "$root/tests/e2e/run-e2e.sh" "$build/win" "$build/native/art"
bash "$root/tests/e2e/desktop-e2e.sh" "$build/win" "$build/native/art"

echo "== short soak: every display mode at the 10 ms tick, with drags and dialogs"
bash "$root/tools/soak/soak.sh" "$build/win" --changes 400 --moves 40 --round 4

echo "== release package"
{ read -r zip; read -r setup; read -r deb; } < <(bash "$root/scripts/package.sh" "$build/win")
[ -f "$zip" ] && [ -f "$setup" ] || { echo "release package: no zip or installer" >&2; exit 1; }
python3 - "$zip" <<'PY'
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
want = {"tuvo-1.0.0.0/tuvo.exe", "tuvo-1.0.0.0/README.txt", "tuvo-1.0.0.0/screenshot.png"}
missing = want - names
sys.exit("release zip lacks " + ", ".join(sorted(missing)) if missing else 0)
PY
echo "release: $zip $setup $deb"

echo "== the Debian package: files, control fields, lintian, and the program unpacked and run"
bash "$root/tests/install/deb-e2e.sh" "$deb" "$build/native"

echo "== the installer under Wine: install, sign-in start, settings, reinstall, uninstall"
bash "$root/tests/install/install-e2e.sh" "$setup" "$build/win"
