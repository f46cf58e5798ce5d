#!/usr/bin/env bash
# End-to-end tests of the installer under Wine, in a Wine prefix and an Xvfb display of
# their own (the prefix is made afresh under WINDOWS_BUILD/install-e2e in each run):
# a silent install and what it leaves (files, Start-menu entry, sign-in value, Apps
# entry), the pet started at sign-in from the installed folder and its Options saved
# there, an install refused while that pet runs, a second install that keeps the
# settings, the pages' language, and a silent uninstall that leaves nothing of ours.
# Every wait is for a condition, with a bound.
#   install-e2e.sh INSTALLER WINDOWS_BUILD
set -uo pipefail
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
build=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
probe_exe="$build/tests/e2e/tuvo_probe.exe"
dprobe="$build/tests/e2e/tuvo_dialog_probe.exe"
version=$(sed -n 's/^#define TUVO_VERSION_TEXT "\(.*\)"$/\1/p' "$here/../../resources/version.h")
[ -f "$setup" ] && [ -f "$probe_exe" ] && [ -f "$dprobe" ] || { echo "FAIL installer or probes missing"; exit 1; }

work="$build/install-e2e"
rm -rf "$work" && mkdir -p "$work"
source "$here/../../scripts/wine-env.sh" "$work"
# No desktop entries of the host for the Start-menu shortcut: Wine's menu builder is off.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
source "$here/../e2e/lib.sh"
trap wine_env_stop EXIT
wine_env_start || { echo "FAIL the Wine environment did not start"; exit 1; }
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
user=$(basename "$user_dir")
dir="$user_dir/AppData/Local/Programs/Tuvo"
win_dir="C:\\users\\$user\\AppData\\Local\\Programs\\Tuvo"
link="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tuvo.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
apps_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tuvo'

# The pet and the dialogs' texts need a Chinese code page; so does the installer's Chinese.
zh() { LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"; }
install_silently() { wine "$setup" /S >/dev/null 2>&1; }
reg_value() {  # key value: the value's data, empty when it is missing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}
ini() { tr -d '\r' <"$dir/tuvo.ini" 2>/dev/null; }
pet_visible() { wine "$probe_exe" window 2>/dev/null | grep -q 'visible 1'; }
# Processes of this prefix running the installed tuvo.exe, as "pid working-directory".
installed_pets() {
  local p
  for p in $(pgrep -f 'tuvo\.exe'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | head -1 | grep -qiF "$win_dir\\tuvo.exe" &&
      echo "$p $(readlink "/proc/$p/cwd")"
  done
}

echo "== installer: a silent install"
if install_silently; then pass "silent install succeeds"; else fail "silent install exit code $?"; fi
cmp -s "$dir/tuvo.exe" "$build/app/tuvo.exe" && [ -f "$dir/README.txt" ] && [ -f "$dir/uninstall.exe" ] &&
  [ ! -e "$dir/tuvo.ini" ] && pass "tuvo.exe, README.txt and uninstall.exe are in %LOCALAPPDATA%\\Programs\\Tuvo" ||
  fail "installed files: $(ls "$dir" 2>&1 | tr '\n' ' ')"
# A shell link holds its target's path in the local code page.
[ -f "$link" ] && grep -qaF "$win_dir\\tuvo.exe" "$link" && pass "the Start-menu entry points at the installed tuvo.exe" ||
  fail "Start-menu entry $link"
[ "$(reg_value "$run_key" Tuvo)" = "\"$win_dir\\tuvo.exe\"" ] && pass "the sign-in value is set (selected by default)" ||
  fail "Run value: '$(reg_value "$run_key" Tuvo)'"
size=$(reg_value "$apps_key" EstimatedSize)
[ "$(reg_value "$apps_key" DisplayName)" = Tuvo ] && [ "$(reg_value "$apps_key" DisplayVersion)" = "$version" ] &&
  [ "$(reg_value "$apps_key" Publisher)" = Tuvo ] && [ "$(reg_value "$apps_key" DisplayIcon)" = "$win_dir\\tuvo.exe,0" ] &&
  [ "$(reg_value "$apps_key" UninstallString)" = "\"$win_dir\\uninstall.exe\"" ] &&
  [ $((size)) -ge $(( $(stat -c %s "$dir/tuvo.exe") / 1024 )) ] &&
  pass "the Apps entry has name, version $version, publisher, icon, size and uninstall string" ||
  fail "Apps entry: $(wine reg query "$apps_key" 2>&1 | tr -d '\r' | tr '\n' ' ')"

echo "== installer: the pet at sign-in"
# A new session of the prefix runs the sign-in values, as Windows does at sign-in.
zh wineboot >/dev/null 2>&1
if wine_env_wait '[ -n "$(installed_pets)" ] && pet_visible' 300; then
  read -r pid cwd <<<"$(installed_pets | head -1)"
  pass "a new session starts the installed tuvo.exe (working folder $(basename "$cwd"))"
  if choose o && wine_env_wait "dp list | grep -q '^options '" 50; then
    dp set options 1007 250 && dp press options 1
    wine_env_wait 'ini | grep -qx Timer=250' 50 && pass "the Options dialog saves tuvo.ini in the installed folder" ||
      fail "tuvo.ini after OK: $(ini | tr '\n' ' ')"
    [ "$cwd" = "$dir" ] || [ ! -e "$cwd/tuvo.ini" ] || fail "a tuvo.ini in the working folder $cwd"
  else fail "Options opens from the installed pet's menu"; fi

  echo "== installer: an install while the pet runs"
  before=$(stat -c %Y "$dir/uninstall.exe")
  install_silently; code=$?
  [ "$code" = 2 ] && [ "$(stat -c %Y "$dir/uninstall.exe")" = "$before" ] && cmp -s "$dir/tuvo.exe" "$build/app/tuvo.exe" &&
    ini | grep -qx Timer=250 && pass "a silent install over the running pet ends with code 2 and writes nothing" ||
    fail "install over the running pet: exit code $code"
  if choose e && wine_env_wait '[ -z "$(installed_pets)" ]' 100; then pass "Exit ends the installed pet"
  else fail "the installed pet did not end"; kill "$pid" 2>/dev/null; fi
else fail "a new session starts the installed tuvo.exe"; fi
wineserver -w

echo "== installer: a second install over the first"
[ -f "$dir/tuvo.ini" ] || printf '[Setup]\r\nTimer=250\r\n' >"$dir/tuvo.ini"  # the steps above failed
kept=$(ini)
if install_silently; then pass "the second silent install succeeds"; else fail "second install exit code $?"; fi
[ "$(ini)" = "$kept" ] && [ -f "$dir/tuvo.exe" ] && pass "it keeps the user's tuvo.ini" || fail "tuvo.ini after reinstall: $(ini | tr '\n' ' ')"

echo "== installer: the pages' language follows the system's"
for case in "zh_CN.UTF-8 Tuvo $version 安装" "en_US.UTF-8 Tuvo $version Setup"; do
  read -r locale want <<<"$case"
  LANG=$locale LC_ALL=$locale wine "$setup" >/dev/null 2>&1 &
  wine_env_wait "xdotool search --name '^Tuvo $version'" 300
  shown=$(xdotool search --name "^Tuvo $version" getwindowname 2>/dev/null | head -1)
  [ "$shown" = "$want" ] && pass "under $locale the installer is titled \"$want\"" || fail "under $locale: title '$shown'"
  kill $! 2>/dev/null; wait $! 2>/dev/null
done
wineserver -w

echo "== installer: a silent uninstall"
# The uninstaller runs from a copy of itself in the temporary folder, so that it can
# delete itself: this waits for that copy to end.
wine "$dir/uninstall.exe" /S >/dev/null 2>&1 && wine_env_wait '[ ! -e "$dir" ]' 300
timeout 60 wineserver -w
[ ! -e "$dir" ] && [ ! -e "$link" ] && pass "the installed folder, tuvo.ini and the Start-menu entry are gone" ||
  fail "left behind: $(ls -A "$dir" 2>&1 | tr '\n' ' ') $(ls "$link" 2>/dev/null)"
wine reg query "$run_key" /v Tuvo >/dev/null 2>&1 && fail "the sign-in value is still there" || pass "the sign-in value is gone"
wine reg query "$apps_key" >/dev/null 2>&1 && fail "the Apps entry is still there" || pass "the Apps entry is gone"
wineserver -w
# Nothing in the prefix's files or registry names the program any more; the uninstaller's
# temporary copy (not named so) is marked for deletion at the next restart.
left=$(find "$WINEPREFIX/drive_c" -iname '*tuvo*' 2>/dev/null; grep -il tuvo "$WINEPREFIX"/*.reg)
[ -z "$left" ] && pass "no file or registry entry of ours is left" || fail "left behind: $(tr '\n' ' ' <<<"$left")"

echo "== installer: $failures failure(s)"
[ "$failures" -eq 0 ]
