#!/usr/bin/env bash
# End-to-end: the game as a program of the desktop. A picture opens through F3 (Qt's own file
# dialog, in Russian); a cut one is refused with an error box and changes nothing; under a dark
# desktop theme the windows keep their light face.
source "$(dirname "$0")/lib.sh"
e2e_setup "pictures and the desktop"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
convert -size 320x240 -seed 7 plasma:fractal "$pictures/holiday.JPG"
head -c $(($(stat -c %s "$pictures/holiday.JPG") / 2)) "$pictures/holiday.JPG" >"$pictures/cut.jpg"

folder="$E2E_TMP/play"
e2e_start "$folder"
e2e_open_with_f3 "$pictures/holiday.JPG"
e2e_expect title "holiday.JPG  -  5 x 5"
e2e_play
# The game's state, without what changes with the clock (the seconds, the texts shown) and with the
# focus, which the error box takes for a while (the active window, the board's focus frame).
before=$(grep -vE '^(seconds|active|boardfocus|text\..*)=' "$E2E_STATE")
e2e_open_with_f3 "$pictures/cut.jpg"
e2e_answer Mozik Return
[ "$(grep -vE '^(seconds|active|boardfocus|text\..*)=' "$E2E_STATE")" = "$before" ] || e2e_fail "cut.jpg changed the game"
e2e_quit
e2e_note "F3 (its dialog titled \"Открыть\") opened a JPEG; a cut one was refused with an error box, the game ran on untouched"

if ls /usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so >/dev/null 2>&1; then
  QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark e2e_start "$folder"
  y=$(($(e2e_state client | sed 's/.*+//') + 20))
  e2e_wait_for 'face=$(e2e_pixel "$E2E_WID" 20 "$y"); [ "$face" = "srgb(239,239,239)" ]' "the tool bar's light face under a dark GTK theme"
  e2e_quit
  e2e_note "under the dark GTK theme the tool bar keeps its light face, $face"
else
  e2e_note "(no GTK platform theme installed: the dark theme was not tried)"
fi
