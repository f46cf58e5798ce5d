#!/usr/bin/env bash
# End-to-end tests of the real native tuvo's settings file through its Options dialog, on an
# Xvfb display of their own with openbox: a save that fails (a read-only folder, a folder
# named tuvo.ini, a full disk) says so in a box naming the file and the reason, and changes
# nothing; a writable file in a read-only folder is saved in place; and the menu, the Options
# dialog and the About box leave no file in the home folder but the settings.
# Usage: settings-e2e.sh NATIVE_BUILD
# The boxes' screenshots are kept in NATIVE_BUILD/e2e-x11/settings.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" settings
trap 'stop_all_pets; stop_display' EXIT
start_xvfb || exit 1
start_window_manager || { echo "FAIL openbox does not start"; exit 1; }

# dialog ID X Y W H TITLE of the dialog with exactly that title.
dialog_line() {
  probe dialogs | awk -v t="$1" '{ line = $0; $1 = $2 = $3 = $4 = $5 = $6 = ""; sub(/^ +/, "") } $0 == t { print line }'
}
dialog_open() { [ -n "$(dialog_line "$1")" ]; }
last_error() { tail -n 1 "$work/$1/stderr"; }
lines() { tr -d '\r' <"$1"; }

# Starts pet NAME from a copy of the binary in its folder, with no tuvo.ini beside it unless
# one was put there, running the command given (which ends with ./tuvo) in that folder.
start_pet_with() {  # name command...
  local name=$1; shift
  mkdir -p "$work/$name"
  cp "$tuvo" "$work/$name/tuvo"
  (cd "$work/$name" && exec "$@") >"$work/$name/stdout" 2>"$work/$name/stderr" &
  pids[$name]=$!
  wins[$name]=
  scales[$name]=1
}
# The superuser's power over permissions given up: the pet meets them as a user does.
as_user=(env)
[ "$(id -u)" = 0 ] && as_user=(setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search,-fowner)

# Opens the Options dialog, types 300 into the speed field and presses Enter.
save_300() {  # pet
  choose "$1" o && wait_for "dialog_open '$options_title'" 50 || return 1
  xdotool key Tab Tab Tab Tab Tab Tab
  xdotool type 300
  xdotool key Return
}

# The save fails: a box "Tuvo" whose text, also the last line on stderr, names FILE and the
# REASON; Enter closes it, and the dialog closes after it.
save_fails() {  # pet file reason
  local wanted="Cannot save the settings to $2: $3"
  save_300 "$1" && wait_for "dialog_open Tuvo" 50 || { echo "     no box; stderr: $(last_error "$1")"; return 1; }
  local d; read -r -a d <<<"$(dialog_line Tuvo | head -n 1 | cut -d' ' -f3-6)"
  import -window root -crop "${d[2]}x${d[3]}+${d[0]}+${d[1]}" +repage "$work/$1-box.png" 2>/dev/null
  wait_for "[ \"\$(last_error '$1')\" = '$wanted' ]" 20 ||
    { echo "     stderr: $(last_error "$1")"; xdotool key Return; return 1; }
  xdotool key Return
  wait_for "! dialog_open Tuvo && ! dialog_open '$options_title'" 50 || { echo "     the box or the dialog stays"; return 1; }
  running "$1" || { echo "     the pet ended"; return 1; }
}

echo "== X11 end-to-end: failed saves say so"
# A settings folder that takes no file.
mkdir -p "$work/closed/config/tuvo" && chmod 555 "$work/closed/config/tuvo"
start_pet_with closed env XDG_CONFIG_HOME="$work/closed/config" "${as_user[@]}" ./tuvo
if wait_for_pet closed; then
  check "a read-only settings folder: the box names the file and says \"Permission denied\" (closed-box.png)" \
    save_fails closed "$work/closed/config/tuvo/tuvo.ini" "Permission denied"
  check "... and nothing is made in it" [ -z "$(ls -A "$work/closed/config/tuvo")" ]
else fail "the pet with a read-only settings folder starts"; fi
stop_pet closed

# A folder where the file should be.
mkdir -p "$work/folder/config/tuvo/tuvo.ini"
start_pet_with folder env XDG_CONFIG_HOME="$work/folder/config" ./tuvo
if wait_for_pet folder; then
  check "a folder named tuvo.ini: the box says \"Is a directory\"" \
    save_fails folder "$work/folder/config/tuvo/tuvo.ini" "Is a directory"
else fail "the pet with a folder named tuvo.ini starts"; fi
stop_pet folder

# A full disk: the settings on a small file system of their own, filled up (in a mount
# namespace of the pet's own, which ends with it). Where nothing can be mounted, a file size
# limit stops the write instead.
old_ini=$'[Setup]\r\nMode=1\r\nTimer=150\r\n'
mkdir -p "$work/full/config"
if unshare -m --propagation private true 2>/dev/null &&
  unshare -m --propagation private mount -t tmpfs -o size=16k tmpfs "$work/full/config" 2>/dev/null; then
  start_pet_with full unshare -m --propagation private sh -c '
    mount -t tmpfs -o size=16k tmpfs config && mkdir config/tuvo && printf "$1" >config/tuvo/tuvo.ini &&
      { dd if=/dev/zero of=config/filler bs=4k 2>/dev/null; true; } &&
      XDG_CONFIG_HOME="$PWD/config" exec ./tuvo' sh "$old_ini"
  in_pet() { nsenter --target "${pids[full]}" --mount "$@"; }
  reason="No space left on device"
else
  skip "nothing can be mounted here: a file size limit stands in for the full disk"
  mkdir -p "$work/full/config/tuvo" && printf '%s' "$old_ini" >"$work/full/config/tuvo/tuvo.ini"
  # (Its stderr goes through a pipe to a copier started before the limit: a file written
  # under the limit would take nothing.)
  start_pet_with full bash -c 'exec 2> >(exec cat >&2); ulimit -f 0; XDG_CONFIG_HOME="$PWD/config" exec ./tuvo'
  in_pet() { "$@"; }
  reason="File too large"
fi
if wait_for_pet full; then
  check "a full disk: the box says \"$reason\"" save_fails full "$work/full/config/tuvo/tuvo.ini" "$reason"
  check "... the old file stays whole and nothing is left beside it" \
    eval '[ "$(in_pet cat "$work/full/config/tuvo/tuvo.ini")" = "$(printf "%s" "$old_ini")" ] &&
      [ "$(in_pet ls "$work/full/config/tuvo")" = tuvo.ini ]'
else fail "the pet with a full disk starts"; fi
stop_pet full

echo "== X11 end-to-end: a portable copy in a read-only folder"
mkdir -p "$work/portable"
printf '[Setup]\r\nMode=1\r\n' >"$work/portable/tuvo.ini"
start_pet_with portable env XDG_CONFIG_HOME="$work/portable/config" "${as_user[@]}" ./tuvo
chmod 555 "$work/portable"
if wait_for_pet portable && save_300 portable; then
  check "its tuvo.ini is saved in place: Timer=300" \
    eval 'wait_for "! dialog_open \"$options_title\"" 30 && lines "$work/portable/tuvo.ini" | grep -qx Timer=300'
  check "... with no box and nothing else in the folder" \
    eval '! dialog_open Tuvo && [ -z "$(ls -A "$work/portable" | grep -vx -e tuvo -e tuvo.ini -e stdout -e stderr)" ]'
else fail "the portable pet's Options dialog"; fi
stop_pet portable
chmod 755 "$work/portable"

echo "== X11 end-to-end: no file in the home folder but the settings"
home="$work/home/user"
mkdir -p "$home"
start_pet_with home env -u XDG_CONFIG_HOME HOME="$home" ./tuvo
if wait_for_pet home; then
  open_menu home && xdotool key c && wait_for '! menu_open' 30 || fail "the menu opens and closes"
  save_300 home && wait_for "! dialog_open '$options_title'" 30 || fail "the Options dialog saves"
  choose home a && wait_for "dialog_open '$about_title'" 50 && xdotool key Escape &&
    wait_for "! dialog_open '$about_title'" 30 || fail "the About box opens and closes"
  check "the menu, Options and About leave only .config/tuvo/tuvo.ini under \$HOME" \
    eval '[ "$(cd "$home" && find . -mindepth 1 | sort | tr "\n" " ")" = "./.config ./.config/tuvo ./.config/tuvo/tuvo.ini " ] ||
      { echo "     found: $(cd "$home" && find . -mindepth 1 | tr "\n" " ")"; false; }'
  check "... which holds the tick saved" eval 'lines "$home/.config/tuvo/tuvo.ini" | grep -qx Timer=300'
else fail "the pet with a home of its own starts"; fi
stop_pet home

finish_script "X11 end-to-end, settings"
