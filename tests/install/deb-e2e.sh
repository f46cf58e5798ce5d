#!/usr/bin/env bash
# Checks of the Linux program's Debian package: takes the .deb and a build folder, and
# reports its files (owners, modes), its control fields and shared-library dependencies,
# lintian's verdict, and the package unpacked into a scratch root under the build folder
# (never installed into the machine): the program's version, its documents, the desktop
# entry's program and icon, and the pet window of the unpacked program on an Xvfb display
# of this check's own, reading its settings from XDG_CONFIG_HOME, ended by a signal.
# Every wait is for a condition, with a bound.
#   deb-e2e.sh PACKAGE BUILD
set -uo pipefail
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/e2e/lib.sh"
version=$(sed -n 's/^#define TUVO_VERSION_TEXT "\(.*\)"$/\1/p' "$root/resources/version.h")
arch=$(dpkg --print-architecture)
[ -f "$deb" ] || { echo "FAIL no package $deb"; exit 1; }
[ "$(basename "$deb")" = "tuvo_${version}_${arch}.deb" ] && pass "the package is named tuvo_${version}_${arch}.deb" ||
  fail "package name $(basename "$deb")"

work=$(mkdir -p "$2" && cd "$2" && pwd)/deb-e2e
rm -rf "$work" && mkdir -p "$work"
scratch="$work/root"
xvfb_pid=
pet_pid=
stop_all() {
  [ -n "$pet_pid" ] && kill "$pet_pid" 2>/dev/null && wait "$pet_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap stop_all EXIT

source "$(dirname "$0")/../../scripts/wait.sh"
source "$(dirname "$0")/../../scripts/x-display.sh"

echo "== Debian package: its files"
# Every file the package holds, with its mode; nothing else may be in it.
files=(
  "-rwxr-xr-x ./usr/games/tuvo"
  "-rw-r--r-- ./usr/share/applications/tuvo.desktop"
  "-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/tuvo.png"
  "-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/tuvo.png"
  "-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/tuvo.png"
  "-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/tuvo.png"
  "-rw-r--r-- ./usr/share/man/man6/tuvo.6.gz"
  "-rw-r--r-- ./usr/share/doc/tuvo/copyright"
  "-rw-r--r-- ./usr/share/doc/tuvo/README"
  "-rw-r--r-- ./usr/share/doc/tuvo/changelog.gz"
)
listing=$(dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }')
held=$(awk '$1 !~ /^d/ { print $1, $3 }' <<<"$listing" | sort)
want=$(printf '%s\n' "${files[@]}" | sort)
[ "$held" = "$want" ] && pass "it holds the program, the desktop entry, four icons, the manual page and three documents, with their modes" ||
  fail "files differ from the expected ones: $(diff <(echo "$want") <(echo "$held") | grep '^[<>]' | tr '\n' ' ')"
others=$(awk '$2 != "root/root"' <<<"$listing")
[ -z "$others" ] && pass "everything in it belongs to root/root" || fail "other owners: $(tr '\n' ' ' <<<"$others")"
odd_dirs=$(awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"' <<<"$listing")
[ -z "$odd_dirs" ] && pass "every folder is drwxr-xr-x" || fail "folders: $(tr '\n' ' ' <<<"$odd_dirs")"
outside=$(awk '$3 != "./" && $3 !~ /^\.\/usr\//' <<<"$listing")
[ -z "$outside" ] && pass "everything lies under /usr" || fail "outside /usr: $(tr '\n' ' ' <<<"$outside")"

dpkg-deb -x "$deb" "$scratch" && pass "it unpacks into the scratch root $scratch" || fail "dpkg-deb -x"
program="$scratch/usr/games/tuvo"

echo "== Debian package: its control fields"
fields=(
  "Package|tuvo"
  "Version|$version"
  "Architecture|$arch"
  "Section|games"
  "Priority|optional"
  "Maintainer|Tuvo authors <tuvo@example.org>"
)
for pair in "${fields[@]}"; do
  name=${pair%%|*} value=${pair#*|}
  got=$(dpkg-deb -f "$deb" "$name")
  [ "$got" = "$value" ] && pass "$name: $value" || fail "$name is '$got', not '$value'"
done
description=$(dpkg-deb -f "$deb" Description)
synopsis=$(head -1 <<<"$description")
[ -n "$synopsis" ] && [ "${#synopsis}" -lt 80 ] && [ "$(wc -l <<<"$description")" -ge 3 ] &&
  pass "Description: a synopsis under 80 characters and a long description" || fail "Description: $description"
# The menu and dialogs need a face with Chinese characters: one of two, as one dependency.
font_choice=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ *$//' | grep -x 'fonts-wqy-microhei | fonts-noto-cjk')
[ -n "$font_choice" ] && pass "Depends names a Chinese face: $font_choice" ||
  fail "Depends ($(dpkg-deb -f "$deb" Depends)) lacks 'fonts-wqy-microhei | fonts-noto-cjk'"
recommends=$(dpkg-deb -f "$deb" Recommends)
[ -z "$recommends" ] && pass "no Recommends: the face is no longer optional" || fail "Recommends: $recommends"
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{ print $1 }')
# Each library the program itself links comes from a package the Depends field names:
# found by the dynamic loader's cache and dpkg's own list of whose file it is.
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
unnamed=
for library in $needed; do
  path=$(ldconfig -p | awk -v l="$library" '$1 == l && /x86-64|x86_64|64bit/ { print $NF; exit }')
  [ -n "$path" ] || path=$(ldconfig -p | awk -v l="$library" '$1 == l { print $NF; exit }')
  owner=$( (dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null) | head -1 | cut -d: -f1)
  grep -qx "$owner" <<<"$depends" || unnamed+="$library ($owner) "
done
[ -n "$needed" ] && [ -z "$unnamed" ] &&
  pass "Depends names the package of every library it links: $(tr '\n' ' ' <<<"$needed")" ||
  fail "Depends ($(tr '\n' ' ' <<<"$depends")) lacks $unnamed"
unnamed=
for library in libx11-6 libxext6 libxrandr2 libxinerama1 libfltk1.3; do
  grep -qx "$library" <<<"$depends" || unnamed+="$library "
done
[ -z "$unnamed" ] && pass "Depends holds the X11 and FLTK libraries" || fail "Depends lacks $unnamed"

echo "== Debian package: lintian"
lintian --fail-on error --display-info "$deb" >"$work/lintian.txt" 2>&1
status=$?
sed 's/^/     /' "$work/lintian.txt"
[ "$status" -eq 0 ] && ! grep -q '^E: ' "$work/lintian.txt" && pass "lintian reports no error" ||
  fail "lintian reports errors (exit $status)"

echo "== Debian package: unpacked into a scratch root"
file -b "$program" | grep -q ', stripped' && pass "the program is stripped" || fail "the program: $(file -b "$program")"
out=$("$program" --version 2>&1)
[ "$out" = "tuvo $version" ] && pass "the unpacked program says \"tuvo $version\"" || fail "--version said '$out'"

# The manual page renders without a warning, names the version and every option the
# program's help lists and every key the settings file is read for.
manual="$scratch/usr/share/man/man6/tuvo.6.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
[ -z "$warnings" ] && pass "the manual page renders without warnings" || fail "man warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$manual" 2>/dev/null | col -b)
missing=
grep -q "tuvo $version" <<<"$page" || missing+="the version "
for option in $("$program" --help | grep -oE -- '(^|[ ,])--?[a-z][a-z0-9=-]*' | tr -d ' ,'); do
  grep -qwF -- "$option" <<<"$page" || missing+="$option "
done
while read -r key; do
  grep -qF -- "$key" <<<"$page" || missing+="'$key' "
done < <(grep -o 'read("[^"]*"' "$root/common/settings_rules.cpp" | cut -d'"' -f2)
[ -z "$missing" ] && pass "the manual page names the version, every option of --help and every settings key" ||
  fail "the manual page lacks $missing"
changes=$(zcat "$scratch/usr/share/doc/tuvo/changelog.gz" | dpkg-parsechangelog -l - -S Version 2>&1)
[ "$changes" = "$version" ] && pass "the changelog's latest entry is version $version" || fail "changelog: $changes"
head -1 "$scratch/usr/share/doc/tuvo/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' &&
  pass "the copyright file is in Debian's machine-readable format" || fail "copyright: $(head -1 "$scratch/usr/share/doc/tuvo/copyright")"

echo "== Debian package: the desktop entry"
entry="$scratch/usr/share/applications/tuvo.desktop"
entry_value() { sed -n "s/^$1=//p" "$entry"; }
if command -v desktop-file-validate >/dev/null; then
  complaints=$(desktop-file-validate "$entry" 2>&1)
  [ -z "$complaints" ] && pass "desktop-file-validate accepts the entry" || fail "desktop-file-validate: $complaints"
fi
exec_value=$(entry_value Exec)
found=$(PATH="$scratch/usr/games:/usr/bin:/bin" command -v "$exec_value")
[ "$found" = "$program" ] && pass "its Exec ($exec_value) is the unpacked program on a PATH with /usr/games" ||
  fail "Exec '$exec_value' resolves to '$found'"
icon=$(entry_value Icon)
bad_icons=
for size in 16 32 48 256; do
  picture="$scratch/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  file -b "$picture" 2>/dev/null | grep -q "^PNG image data, $size x $size," || bad_icons+="${size}x$size "
done
[ -n "$icon" ] && [ -z "$bad_icons" ] && pass "its Icon ($icon) is a PNG of its own size in each of the four hicolor folders" ||
  fail "Icon '$icon' does not resolve at $bad_icons"

echo "== Debian package: the unpacked program on a display"
# An Xvfb display of this check's own, on a number no server holds, answering before the
# program starts. (A number Xvfb picks itself is the lowest free one, which once led to
# "cannot open display ':0'" after the Wayland tests' servers.)
display_number=$(free_display_number)
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_number"
if ! wait_for xdpyinfo 100; then
  fail "Xvfb :$display_number did not start"
  echo "== Debian package: $failures failure(s)"
  exit 1
fi
unset WAYLAND_DISPLAY WAYLAND_SOCKET  # the unpacked program on that X display, not a session's compositor
# The settings come from XDG_CONFIG_HOME: twice the size shows that they were read.
mkdir -p "$work/config/tuvo" "$work/home"
printf '[Setup]\nScale=2\n' >"$work/config/tuvo/tuvo.ini"
touch "$work/started"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" "$program" >"$work/pet.out" 2>&1 &
pet_pid=$!
# The pet's window: WM_CLASS tuvo, owned by this process by its _NET_WM_PID, shown.
pet_window() {
  local w
  for w in $(xdotool search --classname '^tuvo$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_PID 2>/dev/null | grep -q "= $pet_pid\$" &&
      xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$w"; return 0; }
  done
  return 1
}
if wait_for pet_window 200; then
  window=$(pet_window)
  pass "the unpacked program shows its pet window (WM_CLASS tuvo, _NET_WM_PID $pet_pid)"
  size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
  [ "$size" = 100x100 ] && pass "it read Scale=2 from \$XDG_CONFIG_HOME/tuvo/tuvo.ini (a 100 x 100 window)" ||
    fail "window size $size, not 100x100"
else
  fail "no pet window of process $pet_pid within 20 s: $(tr '\n' ' ' <"$work/pet.out")"
fi
kill -TERM "$pet_pid" 2>/dev/null
if wait_for '! kill -0 "$pet_pid"' 100; then
  wait "$pet_pid"
  status=$?
  pet_pid=
  [ "$status" -eq 143 ] && pass "it ends at SIGTERM" || fail "after SIGTERM its status is $status"
  wait_for '! xdotool search --classname "^tuvo$"' 50 && pass "its window is gone with it" ||
    fail "a tuvo window outlived the process"
else
  fail "it was still running 10 s after SIGTERM"
fi
[ ! -s "$work/pet.out" ] && pass "it wrote nothing to its output" || fail "its output: $(tr '\n' ' ' <"$work/pet.out")"
written=$(find "$scratch" "$work/config" "$work/home" -newer "$work/started" ! -type d)
[ -z "$written" ] && pass "it wrote no file beside itself, in its settings or in the home folder" ||
  fail "written: $(tr '\n' ' ' <<<"$written")"

echo "== Debian package: $failures failure(s)"
[ "$failures" -eq 0 ]
