#!/usr/bin/env bash
# End-to-end: any picture a click away. A picture named on the command line and one chosen in the
# open dialog (which starts in the first one's folder) head the File menu's Open Recent; after a
# restart, Open Recent brings back the second-last; Built-in Picture brings the game's own back.
source "$(dirname "$0")/lib.sh"
e2e_setup "recent pictures and the built-in one"
folder="$E2E_TMP/play"
mkdir -p "$E2E_TMP/pictures"
convert -size 90x60 xc:red "$E2E_TMP/pictures/red.png"
convert -size 60x90 xc:blue "$E2E_TMP/pictures/blue.png"

e2e_start "$folder" "$E2E_TMP/pictures/red.png"
e2e_expect title "red.png  -  5 x 5"
e2e_open_with_f3 blue.png  # no folder: the dialog starts in the last picture's
e2e_expect title "blue.png  -  5 x 5"
e2e_quit

E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect title "blue.png  -  5 x 5"
e2e_focus "$E2E_WID"
e2e_menu f r submenu  # Open Recent, its newest first: blue.png, red.png
e2e_key Down Return  # the first is chosen as the submenu opens
e2e_expect title "red.png  -  5 x 5"
e2e_note "after a restart, Open Recent brought back the second-last picture, red.png"
e2e_focus "$E2E_WID"
e2e_menu f b
e2e_expect title "Mozik.bmp  -  5 x 5"
e2e_note "Built-in Picture brought the game's own back"
e2e_quit
grep -q "^1\\\\Path=@ByteArray($E2E_TMP/pictures/red.png)" "$E2E_CONFIG/Mozik/Mozik.conf" ||
  e2e_fail "the list kept is not red.png first: $(grep Path "$E2E_CONFIG/Mozik/Mozik.conf")"
