#!/usr/bin/env bash
# End-to-end test of the real native tuvo's word about a missing Chinese face, on an Xvfb
# display of its own: a pet whose fontconfig knows only DejaVu opens its menu twice, the
# Options dialog and the About box, and says once on stderr that no face covers Chinese;
# a pet with the machine's fonts says nothing of the kind. Usage: fonts-e2e.sh NATIVE_BUILD
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
x11_begin "$1" fonts
trap 'stop_all_pets; stop_display' EXIT
start_xvfb || exit 1

no_face="tuvo: no installed font covers Chinese; the menu and dialogs show boxes"
dejavu=/usr/share/fonts/truetype/dejavu
[ -d "$dejavu" ] || { echo "FAIL no $dejavu (fonts-dejavu-core)"; exit 1; }

# The window of exactly that title is open.
dialog_open() { probe dialogs | awk -v t="$1" '{ $1 = $2 = $3 = $4 = $5 = $6 = ""; sub(/^ +/, "") } $0 == t { f = 1 } END { exit !f }'; }
said_no_face() { grep -cxF "$no_face" "$work/$1/stderr"; }

# Opens the menu and closes it, twice, then the Options dialog and the About box, each
# closed with Escape; true when every one of them opened and closed.
open_everything() {  # pet
  open_menu "$1" && xdotool key Escape && wait_for '! menu_open' 30 &&
    open_menu "$1" && xdotool key Escape && wait_for '! menu_open' 30 &&
    choose "$1" o && wait_for "dialog_open '$options_title'" 50 &&
    xdotool key Escape && wait_for "! dialog_open '$options_title'" 30 &&
    choose "$1" a && wait_for "dialog_open '$about_title'" 50 &&
    xdotool key Escape && wait_for "! dialog_open '$about_title'" 30
}

echo "== X11 end-to-end: no Chinese face"
# A fontconfig of the pet's own whose only folder holds DejaVu (Latin, Greek, Cyrillic).
mkdir -p "$work/fontconfig"
cat >"$work/fontconfig/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$dejavu</dir>
  <cachedir>$work/fontconfig/cache</cachedir>
</fontconfig>
EOF
# Kept in the top-left part of the screen, so that the menu and dialogs open beside it.
settings bare "Right Margin=600\nBottom Margin=450\n"
FONTCONFIG_FILE="$work/fontconfig/fonts.conf" start_pet bare
if wait_for_pet bare && open_everything bare; then
  pass "with DejaVu alone the menu opens twice, then Options and About"
  check "it says once on stderr that no face covers Chinese" \
    eval '[ "$(said_no_face bare)" = 1 ] || { echo "     said $(said_no_face bare) times: $(tr "\n" "|" <"$work/bare/stderr")"; false; }'
  check "the pet lives on" lives bare
else fail "with DejaVu alone the menu opens twice, then Options and About"; fi
stop_pet bare

echo "== X11 end-to-end: the machine's Chinese face"
settings pet "Right Margin=600\nBottom Margin=450\n"
start_pet pet
if wait_for_pet pet && open_everything pet; then
  check "with the machine's fonts it says nothing of a missing face" \
    eval '[ "$(said_no_face pet)" = 0 ] || { echo "     stderr: $(tr "\n" "|" <"$work/pet/stderr")"; false; }'
else fail "with the machine's fonts the menu opens twice, then Options and About"; fi

finish_script "X11 end-to-end, fonts"
