#!/usr/bin/env bash
# End-to-end: the game as a program of the desktop. Pictures of other formats open through F3
# (Qt's own file dialog, in Russian) and from the command line; cut ones are refused with an
# error box and change nothing; under a dark desktop theme the windows keep their light face.
# Usage: tests/e2e/desktop.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: pictures and the desktop"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
convert -size 300x200 -seed 3 plasma:orange-navy "$pictures/sunset.png"
convert -size 320x240 -seed 7 plasma:fractal "$pictures/holiday.JPG"
# Each cut to half its length.
head -c $(($(stat -c %s "$pictures/sunset.png") / 2)) "$pictures/sunset.png" >"$pictures/cut.png"
head -c $(($(stat -c %s "$pictures/holiday.JPG") / 2)) "$pictures/holiday.JPG" >"$pictures/cut.jpg"

# open_with_f3 PATH: chooses the file in the open dialog by typing its name.
open_with_f3() {
  e2e_key F3
  local dialog
  dialog=$(e2e_window "Открыть")
  e2e_focus "$dialog"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 5 "$1"
  e2e_key Return
}

folder="$E2E_TMP/play"
mkdir -p "$folder"
e2e_start "$folder"
open_with_f3 "$pictures/sunset.png"
e2e_expect title "sunset.png  -  5 x 5"
e2e_focus "$E2E_WID"
open_with_f3 "$pictures/holiday.JPG"
e2e_expect title "holiday.JPG  -  5 x 5"
e2e_note "F3 opened a PNG and a JPEG (the dialog is titled \"Открыть\")"

e2e_focus "$E2E_WID"
e2e_key F2
e2e_expect running 1
before=$(grep -vE '^(seconds|active)=' "$E2E_STATE")
for cut in cut.png cut.jpg; do
  e2e_focus "$E2E_WID"
  open_with_f3 "$pictures/$cut"
  e2e_close_error_box
  [ "$(grep -vE '^(seconds|active)=' "$E2E_STATE")" = "$before" ] || e2e_fail "$cut changed the game"
done
e2e_note "a cut PNG and a cut JPEG were refused with an error box; the game ran on untouched"
e2e_focus "$E2E_WID"
e2e_key alt+x
e2e_wait_exit

e2e_start "$folder" "$pictures/holiday.JPG"
e2e_expect title "holiday.JPG  -  5 x 5"
e2e_key alt+x
e2e_wait_exit
e2e_start "$folder" "$pictures/cut.png"
e2e_close_error_box
[ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "a cut picture replaced the built-in one"
e2e_focus "$E2E_WID"
e2e_key alt+x
e2e_wait_exit
e2e_note "\"mozik PICTURE\" opened a JPEG; a cut PNG was told over the window and the built-in picture stayed"

if [ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes/libqgtk3.so ] || ls /usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so >/dev/null 2>&1; then
  QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark e2e_start "$folder"
  y=$(($(e2e_state client | sed 's/.*+//') + 20))
  e2e_wait_for 'face=$(e2e_pixel 20 "$y"); [ "$face" = "srgb(239,239,239)" ]' "the tool bar's light face under a dark GTK theme"
  e2e_key alt+x
  e2e_wait_exit
  e2e_note "under the dark GTK theme the tool bar keeps its light face, $face"
else
  e2e_note "(no GTK platform theme installed: the dark theme was not tried)"
fi
echo "End-to-end desktop test passed."
