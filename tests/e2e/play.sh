#!/usr/bin/env bash
# End-to-end: a first game. A start in an empty folder shows the layout's window; clicks move
# tiles, none during a pause; H marks a tile beside the gap until the next move; held Space shows
# the whole picture and its release brings the board back unchanged; Solve on a shuffled 4 x 4
# board ends with the whole picture, the clock stopped and no result; Alt+X leaves the default
# score file in the data folder and nothing in the start folder.
source "$(dirname "$0")/lib.sh"
e2e_setup "a first game, hint, peek and solve"
folder="$E2E_TMP/play"
e2e_start "$folder"
scores="$E2E_DATA/Mozik/Mozik.ini"
e2e_wait_for '[ -s "$scores" ]' "the score file"
written=$(stat -c %Y "$scores")

[ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "title: $(e2e_state title)"
client=$(e2e_state client)
size=$(e2e_window_size)
[ "${client%%+*}" = "276x316" ] && [ "$size" = "276x$((316 + ${client##*+}))" ] ||
  e2e_fail "window $size, client $client: not a 276 x 316 client under the menu"
e2e_note "window \"Mozik.bmp  -  5 x 5\", client 276 x 316 under the menu"

# The whole picture as the 1 x 1 board shows it, to compare the peek with.
e2e_size 1
e2e_shot root "$(e2e_tile 1)" "$E2E_TMP/whole.png"
e2e_size 4
e2e_play
previous=0
for move in $(seq 6); do
  gap=$(e2e_state gap)
  mapfile -t beside < <(e2e_neighbours | grep -vx "$previous")
  p=${beside[$((move % ${#beside[@]}))]}
  e2e_click_tile "$p"
  e2e_expect gap "$p"
  previous=$gap
done
e2e_key ctrl+F2
e2e_expect paused 1
before=$(e2e_state grid)
e2e_click_tile "$(e2e_neighbours | sed -n 1p)"
sleep 0.3
[ "$(e2e_state grid)" = "$before" ] || e2e_fail "a click moved a tile during the pause"
e2e_key ctrl+F2
e2e_expect paused 0
e2e_note "6 clicks moved tiles into the gap; Ctrl+F2 paused (clicks ignored) and went on"

gap=$(e2e_state gap)
e2e_key h
e2e_wait_for '[ "$(e2e_state hinted)" != 0 ]' "a hint"
sleep 1  # the marker stays; on 4 x 4 it may go to a shortest move meanwhile, at any moment
cp "$E2E_STATE" "$E2E_TMP/seen"  # so the hint, the grid and the marker are read from one report
seen() { sed -n "s/^$1=//p" "$E2E_TMP/seen"; }
hinted=$(seen hinted)
read -ra grid <<<"$(seen grid)"
at=0
for i in "${!grid[@]}"; do [ "${grid[$i]}" = "$hinted" ] && at=$((i + 1)); done
e2e_neighbours | grep -x "$at" >/dev/null || e2e_fail "the hinted tile $hinted at $at is not beside the gap at $gap"
[ "$(seen marked)/$(seen gap)" = "$at/$gap" ] || e2e_fail "the marker is on $(e2e_state marked), not $at, or a tile moved"
e2e_click_tile "$at"
e2e_expect gap "$at"
e2e_expect marked 0
e2e_note "H marked tile $hinted, beside the gap, until the next move, and moved nothing"

# The peek lies over the tiles and the frames between them, taken once the board has settled.
IFS='x+' read -r _ _ left top <<<"$(e2e_tile 1)"
IFS='x+' read -r width height right bottom <<<"$(e2e_tile 16)"
picture="$((right + width - left))x$((bottom + height - top))+$left+$top"
e2e_shot root "$picture" "$E2E_TMP/before.png"
xdotool keydown space
e2e_expect peeking 1
sleep 0.6  # held long enough for the keyboard to repeat
[ "$(e2e_state peeking)" = 1 ] || e2e_fail "the peek ended while Space was held"
e2e_shot root "$picture" "$E2E_TMP/peek.png"
xdotool keyup space
e2e_expect peeking 0
e2e_shot root "$picture" "$E2E_TMP/after.png"
# Cut at another size than the 1 x 1 board's, the peek is near the whole picture brought to its
# size, far nearer than the board is.
convert "$E2E_TMP/whole.png" -resize "${picture%%+*}!" "$E2E_TMP/whole-sized.png"
distance() { compare -metric RMSE "$1" "$E2E_TMP/whole-sized.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
peek=$(distance "$E2E_TMP/peek.png") board=$(distance "$E2E_TMP/before.png")
awk -v p="$peek" -v b="$board" 'BEGIN { exit !(p < 0.05 && p * 4 < b) }' || e2e_fail "the peek is not the whole picture ($peek, the board $board)"
e2e_same_picture "$E2E_TMP/after.png" "$E2E_TMP/before.png" || e2e_fail "the board changed across the peek"
e2e_note "held Space showed the whole picture ($peek from it, the board $board); its release brought the board back"

e2e_menu g o
# A solution longer than the shortest waits for the tables, built at a low priority.
e2e_wait_for_work '[ "$(e2e_state running)" = 0 ] && [ "$(e2e_state solving)" = 0 ]' "the solution to play home" 120
stopped=$(e2e_state seconds)
[ "$(e2e_state grid)" = "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 0" ] || e2e_fail "the solve did not bring the picture home"
sleep 1.2
[ "$(e2e_state seconds)" = "$stopped" ] || e2e_fail "the clock went on after the solve"
[ -z "$(e2e_windows_named '^(Message|High Scores)$')" ] || e2e_fail "a result dialog opened"
e2e_quit
cmp -s "$scores" <(e2e_default_scores) || e2e_fail "the score file is not the default table"
[ "$(stat -c %Y "$scores")" = "$written" ] || e2e_fail "the score file was written again"
[ -z "$(ls -A "$folder")" ] || e2e_fail "the start folder is not empty: $(ls -A "$folder")"
e2e_note "Solve played the board home, the clock stopped at $stopped s, no result; the default score file untouched in the data folder"
