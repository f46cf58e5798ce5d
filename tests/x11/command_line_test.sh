#!/usr/bin/env bash
# The real tuvo's command line, without a display: help, version, an unknown option, no
# display at all, and the autostart entry written for the binary and removed again.
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

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
