#!/usr/bin/env bash
# End-to-end: hints at once, and a window that never waits for the solver, from an empty cache
# folder: a 5 x 5 hint; a 4 x 4 game, whose tables are built in the background without the busy
# cursor, a hint meanwhile, which goes to a shortest move once they are ready; once they are
# stored, a hint on a new 4 x 4 board; in a fresh start, a size change and Exit, each right after
# H, while the tables are built. Each time runs from just before the key is sent to the report's
# change, and is printed; the bound is held on the program's CPU time (e2e_bounded), so that a busy
# machine cannot break it (the goals: a hint within 0.5 s, within 0.3 s on 4 x 4 with its tables
# ready; a size change at once).
source "$(dirname "$0")/lib.sh"

# timed WHAT LIMIT-MS KEY CONDITION: sends the key, waits for the condition, prints and bounds the time.
timed() {
  e2e_bounded "$1" "$2" "e2e_key $3" "$4"
}
new_game() {
  e2e_size "$1"
  e2e_play
}
hinted='[ "$(e2e_state hinted)" != 0 ]'
e2e_setup "hints at once, a window that never waits for the solver"
folder="$E2E_TMP/hints"
e2e_start "$folder"
tables="$E2E_CACHE/Mozik/solver-tables-4x4.bin"
new_game 5
timed "5 x 5 hint, fresh program, empty cache" 2000 h "$hinted"
new_game 4
timed "4 x 4 hint while the tables are built" 2000 h "$hinted"
[ "$(e2e_state shortest)" = 0 ] || e2e_fail "a shortest move before the tables were built"
e2e_wait_for_work '[ "$(e2e_state busy)" = 0 ] || e2e_fail "the busy cursor shows for the tables"; [ -s "$tables" ]' \
  "the tables to be stored" 120
e2e_expect shortest 1
e2e_wait_for '[[ "$(e2e_state status)" == *"Кратчайшее решение: "* ]]' "the shortest solution in the status line"
e2e_note "the tables were stored in the cache folder, the busy cursor never shown; the hint went to a shortest move; $(e2e_state status)"
new_game 4
timed "4 x 4 hint on a new board, the tables ready" 2000 h "$hinted"
e2e_note "(a shortest move: $(e2e_state shortest); past the search's budget the fast one comes first)"

# A fresh start: a size change, and Exit, each right after H, while the tables are built.
e2e_start "$folder"
new_game 4
e2e_key h
e2e_menu s
timed "H, then 6 x 6 while the tables are built" 1500 6 '[ "$(e2e_state size)" = 6 ]'
new_game 4
e2e_key h
timed "H, then Alt+X while the tables are built: the program gone" 3000 alt+x '! kill -0 "$E2E_PID" 2>/dev/null'
wait "$E2E_PID" || e2e_fail "the program ended with status $?"
[ ! -e "$E2E_CACHE/Mozik/solver-tables-4x4.bin" ] || e2e_note "(the tables were stored before the exit)"
