#!/usr/bin/env bash
# End-to-end smoke test of the real program under a virtual X server: start in an empty folder,
# check the window, change the size from the menu by keys, start a game, move tiles by clicks,
# pause and go on, leave with Alt+X, and check the score file byte for byte (in the data folder,
# as the start folder has none).
# Usage: tests/e2e/smoke.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: a first game"
folder="$E2E_TMP/empty"
mkdir -p "$folder"
e2e_start "$folder"

[ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "title: $(e2e_state title)"
client=$(e2e_state client)
[ "${client%%+*}" = "276x316" ] || e2e_fail "client size: $client"
menu=${client##*+}
size=$(xwininfo -id "$E2E_WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "276x$((316 + menu))" ] || e2e_fail "window size $size, not a 276 x 316 client under a $menu-pixel menu"
e2e_note "window \"Mozik.bmp  -  5 x 5\", client 276 x 316 under the menu"

e2e_menu s 4
e2e_expect size 4
e2e_expect title "Mozik.bmp  -  4 x 4"
e2e_note "Size menu by keys: 4 x 4"

e2e_key F2
e2e_expect running 1
e2e_expect gap 16
previous=0
for move in $(seq 8); do
  gap=$(e2e_state gap)
  mapfile -t beside < <(e2e_neighbours | grep -vx "$previous")
  p=${beside[$((move % ${#beside[@]}))]}
  e2e_click_tile "$p"
  e2e_expect gap "$p"
  previous=$gap
done
e2e_note "F2 started a game; 8 clicks moved tiles into the gap"

e2e_key ctrl+F2
e2e_expect paused 1
before=$(e2e_state grid)
e2e_click_tile "$(e2e_neighbours | head -n1)"
sleep 0.3
[ "$(e2e_state grid)" = "$before" ] || e2e_fail "a click moved a tile during the pause"
e2e_key ctrl+F2
e2e_expect paused 0
e2e_note "Ctrl+F2 paused (clicks ignored) and went on"

e2e_key alt+x
e2e_wait_exit
cmp -s "$E2E_DATA/Mozik/Mozik.ini" <(e2e_default_scores) || e2e_fail "the score file is not the default table"
[ -z "$(ls -A "$folder")" ] || e2e_fail "the start folder is not empty: $(ls -A "$folder")"
e2e_note "the default table (80 lines, code page 1251, CRLF) is in the data folder (XDG_DATA_HOME)/Mozik, and Alt+X ended the program"
echo "End-to-end smoke test passed."
