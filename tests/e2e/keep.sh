#!/usr/bin/env bash
# End-to-end: a game left in progress comes back. A 4 x 4 game left by Alt+X, with a move taken
# back, comes back paused at the same board, moves and seconds, with the length of a shortest
# solution from its shuffled start, and its move to make again still works; one left by SIGTERM
# comes back the same way. A start that names a picture
# leaves the kept game for a later start; a new board ends the game and its kept file goes.
source "$(dirname "$0")/lib.sh"
e2e_setup "a game kept between runs"
folder="$E2E_TMP/play"

# snapshot: what must come back, from the last report of a game that has ended.
snapshot() {
  echo "size=$(e2e_state size) grid=$(e2e_state grid) moves=$(e2e_state moves) seconds=$(e2e_state seconds)"
}

# expect_back SNAPSHOT: the game came back as it was left, paused.
expect_back() {
  e2e_expect running 1
  e2e_expect paused 1
  [ "$(snapshot)" = "$1" ] || e2e_fail "the game came back as \"$(snapshot)\", not as \"$1\""
}

# slide_and_tick: a move, and the clock past its next second.
slide_and_tick() {
  local moves seconds
  moves=$(e2e_state moves) seconds=$(e2e_state seconds)
  e2e_click_tile "$(e2e_neighbours | sed -n 1p)"
  e2e_wait_for '[ "$(e2e_state moves)" != "$moves" ]' "a move"
  e2e_wait_for '[ "$(e2e_state seconds)" -gt "$seconds" ]' "the clock to go on"
}

e2e_start "$folder"
e2e_size 4
e2e_play
# The tables are built at a low priority, which a busy machine may starve: bounded by the time they take.
e2e_wait_for_work '[ -s "$E2E_CACHE/Mozik/solver-tables-4x4.bin" ] && [[ "$(e2e_state status)" == *"Кратчайшее решение: "* ]]' \
  "the 4 x 4 tables and the length of a shortest solution" 120
shortest=$(e2e_state status | grep -o 'Кратчайшее решение: [0-9]*')
slide_and_tick
slide_and_tick
before_undo=$(e2e_state grid)
e2e_key ctrl+z
e2e_wait_for '[ "$(e2e_state grid)" != "$before_undo" ]' "the take-back"
e2e_quit
left=$(snapshot)
[ -s "$E2E_STATE_HOME/Mozik/game" ] || e2e_fail "no game was kept in $E2E_STATE_HOME/Mozik/game"
E2E_REUSE_HOME=1 e2e_start "$folder"
expect_back "$left"
e2e_wait_for '[[ "$(e2e_state status)" == *"$shortest"* ]]' "\"$shortest\" (it says \"$(e2e_state status)\")"
e2e_note "left by Alt+X, it came back paused: $left, $shortest"
e2e_focus "$E2E_WID"
e2e_key ctrl+F2
e2e_expect paused 0
e2e_key ctrl+shift+z
e2e_expect grid "$before_undo"
e2e_note "the move taken back before Alt+X is made again after the restart"

slide_and_tick
kill -TERM "$E2E_PID"
e2e_wait_for '! kill -0 "$E2E_PID" 2>/dev/null' "the program to end on SIGTERM"
wait "$E2E_PID" || e2e_fail "the program ended on SIGTERM with status $?"
left=$(snapshot)
E2E_REUSE_HOME=1 e2e_start "$folder"
expect_back "$left"
e2e_note "left by SIGTERM, it came back paused: $left"
e2e_quit

convert -size 64x64 xc:orange "$E2E_TMP/named.png"
E2E_REUSE_HOME=1 e2e_start "$folder" "$E2E_TMP/named.png"
e2e_expect title "named.png  -  4 x 4"
e2e_expect running 0
e2e_quit
E2E_REUSE_HOME=1 e2e_start "$folder"
expect_back "$left"
e2e_note "a start that named a picture left the kept game for the next start"

e2e_menu s 5
e2e_answer Mozik Return  # Yes, abandon the game taken up again
e2e_expect size 5
[ ! -e "$E2E_STATE_HOME/Mozik/game" ] || e2e_fail "the kept game stayed after a new board ended it"
e2e_quit
E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect size 5
e2e_expect running 0
e2e_note "a new board ended the game: its file went, and the next start has no game"
e2e_quit
