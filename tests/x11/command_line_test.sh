#!/usr/bin/env bash
# The real tuvo's command line, without a display: help, version, an unknown option, no
# display at all, the status when an answer cannot be written, and the autostart entry
# written for the binary and removed again: valid, for paths with blanks and control
# characters, never cut short by a file size limit, refused for a path it cannot hold,
# and in the account's home without HOME.
set -u
tuvo=$1
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

out=$("$tuvo" --version); status=$?
check "version prints the version" [ "$out" = "tuvo 1.0.0.0" ]
check "version exits 0" [ $status -eq 0 ]

out=$("$tuvo" --help); status=$?
check "help prints the usage" grep -q '^Usage: tuvo' <<< "$out"
check "help lists --autostart=on" grep -q -- '--autostart=on' <<< "$out"
check "help exits 0" [ $status -eq 0 ]
short=$("$tuvo" -h); status=$?
check "-h prints the same usage" [ "$short" = "$out" ]
check "-h exits 0" [ $status -eq 0 ]
check "help lists -h" grep -q -- '^  -h, --help ' <<< "$out"

# An answer that cannot be written (a full device) is an error: status 1 and one line
# saying why, whatever the option.
for option in --help -h --version --autostart=off; do
  err=$(XDG_CONFIG_HOME="$folder/config" "$tuvo" "$option" 2>&1 >/dev/full); status=$?
  check "$option to a full device exits 1" [ $status -eq 1 ]
  check "$option to a full device says so in one line" \
    [ "$err" = "tuvo: cannot write to standard output: No space left on device" ]
done

err=$("$tuvo" --nope 2>&1 >/dev/null); status=$?
check "an unknown option is named" [ "$err" = "tuvo: unknown option '--nope' (try --help)" ]
check "an unknown option exits 2" [ $status -eq 2 ]

err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET XDG_CONFIG_HOME="$folder/config" "$tuvo" 2>&1 >/dev/null); status=$?
check "no display: one line" [ "$(wc -l <<< "$err")" -eq 1 ]
check "no display: says so" grep -q '^tuvo: cannot open display' <<< "$err"
check "no display exits 1" [ $status -eq 1 ]
check "no display writes no settings" [ ! -e "$folder/config" ]

out=$(XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=on); status=$?
entry="$folder/config/autostart/tuvo.desktop"
check "autostart on exits 0" [ $status -eq 0 ]
check "autostart on says what it wrote" grep -q "$entry" <<< "$out"
check "the entry runs this binary" grep -qx "Exec=$(readlink -f "$tuvo")" "$entry"
check "the entry is an application" grep -qx "Type=Application" "$entry"
out=$(XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=off); status=$?
check "autostart off exits 0" [ $status -eq 0 ]
check "autostart off removes the entry" [ ! -e "$entry" ]
XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=off >/dev/null; status=$?
check "autostart off without an entry exits 0" [ $status -eq 0 ]

validates() {  # entry
  command -v desktop-file-validate >/dev/null || { echo "(no desktop-file-validate: desktop-file-utils)"; return 1; }
  desktop-file-validate "$1" || { cat "$1"; false; }
}
out=$(XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=on)
check "the entry passes desktop-file-validate" validates "$entry"
check "the entry's TryExec is this binary" grep -qx "TryExec=$(readlink -f "$tuvo")" "$entry"
check "the entry has the Chinese comment" grep -q "^Comment\[zh_CN\]=" "$entry"

# A path with a space, a tab and a newline: quoted and escaped, and still valid.
odd="$folder/my pets"$'\t'"and"$'\n'"more"
mkdir -p "$odd" && cp "$tuvo" "$odd/tuvo"
XDG_CONFIG_HOME="$folder/odd" "$odd/tuvo" --autostart=on >/dev/null; status=$?
check "a path with blanks and a newline: exit 0" [ $status -eq 0 ]
check "... its Exec quotes and escapes it" grep -qxF 'Exec="'"$folder"'/my pets\tand\nmore/tuvo"' "$folder/odd/autostart/tuvo.desktop"
check "... and the entry is valid" validates "$folder/odd/autostart/tuvo.desktop"

# A path that is not UTF-8 cannot be held by the entry.
bad="$folder/"$'\xff'
mkdir -p "$bad" && cp "$tuvo" "$bad/tuvo"
err=$(XDG_CONFIG_HOME="$folder/bad" "$bad/tuvo" --autostart=on 2>&1 >/dev/null); status=$?
check "a path that is not UTF-8 is refused with exit status 1" [ $status -eq 1 ]
check "... saying why" grep -q "not UTF-8" <<< "$err"
check "... and writes no entry" [ ! -e "$folder/bad" ]

# Under a file size limit the write fails as a write, and nothing is cut or left behind.
XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=off >/dev/null
printf '[Desktop Entry]\nType=Application\nName=Old\nExec=/old\n' >"$entry"
err=$(ulimit -f 0; XDG_CONFIG_HOME="$folder/config" "$tuvo" --autostart=on 2>&1 >/dev/null); status=$?
check "under a file size limit: exit status 1, not a signal" [ $status -eq 1 ]
check "... saying why" grep -q "File too large" <<< "$err"
check "... the old entry whole" grep -qx "Name=Old" "$entry"
check "... and nothing beside it" [ "$(ls "$folder/config/autostart")" = tuvo.desktop ]

# Without HOME the account's home is used: nobody's is /nonexistent, which it cannot make.
if [ "$(id -u)" = 0 ] && getent passwd nobody | grep -q ':/nonexistent:'; then
  plain="$folder/plain"
  mkdir -p "$plain" && cp "$tuvo" "$plain/tuvo" && chmod 777 "$folder" "$plain"
  err=$(cd "$plain" && env -u HOME -u XDG_CONFIG_HOME setpriv --reuid=nobody --regid=nogroup --clear-groups \
    ./tuvo --autostart=on 2>&1 >/dev/null); status=$?
  check "no HOME: the account's home (exit 1 where it cannot be made)" [ $status -eq 1 ]
  check "... named in the message" grep -q "/nonexistent/.config/autostart/tuvo.desktop" <<< "$err"
  check "... and nothing made beside the program" [ "$(ls "$plain")" = tuvo ]
fi

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
