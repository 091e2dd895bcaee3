#!/usr/bin/env bash
# End-to-end: playing beyond the mouse. Arrow keys move tiles (Ctrl+Z is the board test's), H marks
# a tile beside the gap until the next move, held Space shows the whole picture and its release brings the board back
# unchanged, and Solve on a shuffled 4 x 4 board ends with the whole picture, the clock stopped
# and the score file untouched.
# Usage: tests/e2e/play.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: keys, undo, hint, peek and solve"
folder="$E2E_TMP/play"
mkdir -p "$folder"
e2e_start "$folder"
scores="$E2E_DATA/Mozik/Mozik.ini"
e2e_wait_for '[ -s "$scores" ]' "the score file"
cp -p "$scores" "$E2E_TMP/scores-before"

# The whole picture as the 1 x 1 board shows it, to compare the peek with.
e2e_menu s 1
e2e_expect size 1
e2e_screen_shot "$(e2e_tile 1)" "$E2E_TMP/whole.png"
e2e_menu s 4
e2e_expect size 4
e2e_key F2
e2e_expect running 1

e2e_key Right
e2e_expect gap 15
e2e_key Down
e2e_expect gap 11
e2e_key Left
e2e_expect gap 12
e2e_note "arrow keys slid the tiles beside the gap into it"

e2e_key h
e2e_wait_for '[ "$(e2e_state hinted)" != 0 ]' "a hint" 30
hinted=$(e2e_state hinted)
gap=$(e2e_state gap)
read -ra grid <<<"$(e2e_state grid)"
at=0
for i in "${!grid[@]}"; do [ "${grid[$i]}" = "$hinted" ] && at=$((i + 1)); done
e2e_neighbours | grep -x "$at" >/dev/null || e2e_fail "the hinted tile $hinted at $at is not beside the gap at $gap"
[ "$(e2e_state marked)" = "$at" ] || e2e_fail "the marker is on $(e2e_state marked), not on $at"
[ "$(e2e_state gap)" = "$gap" ] || e2e_fail "the hint moved a tile"
sleep 1
[ "$(e2e_state marked)" = "$at" ] || e2e_fail "the marker went before the next move"
e2e_click_tile "$at"
e2e_expect gap "$at"
e2e_expect marked 0
e2e_note "H marked tile $hinted, beside the gap, until the next move, and moved nothing"

# The board has settled by now. The peek's picture lies over the tiles and the frames between
# them: from the first tile's top-left corner to the last one's bottom-right.
IFS='x+' read -r _ _ left top <<<"$(e2e_tile 1)"
IFS='x+' read -r width height right bottom <<<"$(e2e_tile 16)"
picture="$((right + width - left))x$((bottom + height - top))+$left+$top"
e2e_screen_shot "$picture" "$E2E_TMP/before.png"
xdotool keydown space
e2e_expect peeking 1
sleep 0.6  # held long enough for the keyboard to repeat
[ "$(e2e_state peeking)" = 1 ] || e2e_fail "the peek ended while Space was held"
e2e_screen_shot "$picture" "$E2E_TMP/peek.png"
xdotool keyup space
e2e_expect peeking 0
e2e_screen_shot "$picture" "$E2E_TMP/after.png"
# Cut at another size than the 1 x 1 board's, the peek is near the whole picture brought to its
# size, far nearer than the board is.
convert "$E2E_TMP/whole.png" -resize "${picture%%+*}!" "$E2E_TMP/whole-sized.png"
distance() { compare -metric RMSE "$1" "$E2E_TMP/whole-sized.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
peek=$(distance "$E2E_TMP/peek.png") board=$(distance "$E2E_TMP/before.png")
e2e_note "distance from the whole picture: peek $peek, board $board"
awk -v p="$peek" -v b="$board" 'BEGIN { exit !(p < 0.05 && p * 4 < b) }' || e2e_fail "the peek is not the whole picture"
e2e_same_picture "$E2E_TMP/after.png" "$E2E_TMP/before.png" || e2e_fail "the board changed across the peek"
e2e_note "held Space showed the whole picture; its release brought the board back pixel for pixel"

e2e_menu g o
e2e_wait_for '[ "$(e2e_state running)" = 0 ] && [ "$(e2e_state solving)" = 0 ]' "the solution to play home" 60
stopped=$(e2e_state seconds)
[ "$(e2e_state grid)" = "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 0" ] || e2e_fail "the solve did not bring the picture home"
sleep 1.2
[ "$(e2e_state seconds)" = "$stopped" ] || e2e_fail "the clock went on after the solve"
[ -z "$(e2e_windows_named '^(Message|High Scores)$')" ] || e2e_fail "a result dialog opened"
cmp -s "$scores" "$E2E_TMP/scores-before" || e2e_fail "the score file changed"
[ "$(stat -c %Y "$scores")" = "$(stat -c %Y "$E2E_TMP/scores-before")" ] || e2e_fail "the score file was written"
e2e_key alt+x
e2e_wait_exit
cmp -s "$scores" "$E2E_TMP/scores-before" || e2e_fail "Exit saved a record"
e2e_note "Solve played the 4 x 4 board home; the clock stopped at $stopped s; no result, the score file untouched"
echo "End-to-end play test passed."
