#!/usr/bin/env bash
# End-to-end: the history of games. Three 4 x 4 games are clicked home along mozik-solve's moves,
# the second with a hint; the statistics window (Ctrl+I) lists the three with their moves and
# seconds, the hinted one marked, and the ten best hold only the other two; sqlite3 reads the same
# rows from the database. Then two windows sharing the database finish a game each at the same
# moment, and both rows are there.
source "$(dirname "$0")/lib.sh"
e2e_setup "the history of games"
command -v sqlite3 >/dev/null || e2e_fail "sqlite3 is not installed"

# play [hint]: a game clicked home, with a hint first when asked; $played: its moves and seconds
# as the game reports them at its end.
play() {
  e2e_play
  if [ "${1:-}" = hint ]; then
    e2e_key h
    e2e_wait_for '[ "$(e2e_state hinted)" != 0 ]' "the hint"
  fi
  read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
  [ "${#moves[@]}" -gt 0 ] || e2e_fail "mozik-solve found no moves"
  e2e_click_home "${moves[@]}"
  e2e_expect running 0
  played="$(e2e_state moves) $(e2e_state seconds)"
}

status_matches() {
  [[ "$(e2e_state status)" =~ $1 ]]
}

# finish NAME: the result dialog, with the name typed when given, then the score dialog.
finish() {
  e2e_focus "$(e2e_window Message)"
  [ -z "${1:-}" ] || xdotool type --delay 20 "$1"
  e2e_key Return
  e2e_wait_for '[ -z "$(e2e_windows_named "^Message\$")" ]' "the result dialog to close"
  e2e_answer "High Scores" Return
}

e2e_start "$E2E_TMP/play"
e2e_size 4
play
read -r moves1 seconds1 <<<"$played"
finish Anna
# The tables for the shortest way are built at the first 4 x 4 game, at a low priority: it comes
# when they are ready.
e2e_wait_for_work 'status_matches "^Ходов: $moves1 · кратчайшее: [0-9]+  ·  Рисунок собран\$"' "the shortest in the status line" 120
play hint
read -r moves2 seconds2 <<<"$played"
finish  # the name box is off
play
read -r moves3 seconds3 <<<"$played"
finish  # the name typed before is taken again
e2e_note "three games: $moves1 moves in $seconds1 s, $moves2 in $seconds2 s (hinted), $moves3 in $seconds3 s"

# The ten best of 4 x 4 hold the first and the third game, under the name typed.
scores="$E2E_DATA/Mozik/Mozik.ini"
[ "$(head -n 40 "$scores" | grep -c '^Anna')" = 2 ] || e2e_fail "the 4 x 4 table: $(head -n 6 "$scores" | tr '\r\n' '  ')"
e2e_note "the ten best hold two games; the hinted one is not among them"

e2e_focus "$E2E_WID"
e2e_key ctrl+i
e2e_expect stats.shown 1
e2e_expect stats.rows 3
e2e_expect stats.size 4
row() { e2e_state "stats\\.row\\.$1"; }
[[ "$(row 1)" =~ ^seconds=$seconds3\ moves=$moves3\ shortest=[1-9][0-9]*\ hints=0\ outcome=finished\ marked=0\ name=Anna$ ]] || e2e_fail "row 1: $(row 1)"
[[ "$(row 2)" =~ ^seconds=$seconds2\ moves=$moves2\ shortest=[1-9][0-9]*\ hints=1\ outcome=finished\ marked=1\ name=$ ]] || e2e_fail "row 2: $(row 2)"
[[ "$(row 3)" =~ ^seconds=$seconds1\ moves=$moves1\ shortest=[1-9][0-9]*\ hints=0\ outcome=finished\ marked=0\ name=Anna$ ]] || e2e_fail "row 3: $(row 3)"
e2e_note "the statistics window lists the three games, the last first, the hinted one marked"

database="$E2E_DATA/Mozik/history.sqlite"
expected="$seconds1|$moves1|0|Anna
$seconds2|$moves2|1|
$seconds3|$moves3|0|Anna"
read_rows() { sqlite3 "$database" "SELECT seconds, moves, hints, name FROM games WHERE size = 4 ORDER BY id"; }
[ "$(read_rows)" = "$expected" ] || e2e_fail "sqlite3 reads: $(read_rows)"
e2e_note "sqlite3 reads the same rows from $database"
e2e_quit

# Two windows on one history, each with a table of ten one-second records (no name is asked, the
# row is written as the game ends), finishing a game each at the same moment.
folder="$E2E_TMP/records"
mkdir -p "$folder"
{ for i in $(seq 10); do printf 'Fast\r\n1\r\n'; done; e2e_default_scores | tail -c +$((10 * 16 + 1)); } >"$folder/Mozik.ini"
games=()
for x in 60 1000; do
  E2E_REUSE_HOME=1 e2e_start "$folder"
  xdotool windowmove "$E2E_WID" "$x" 100
  e2e_wait_for '[ "$(e2e_state tile.1 | cut -d+ -f2)" -ge "$x" ]' "the window at $x"
  e2e_size 4
  e2e_play
  games+=("$(e2e_game)")
done
e2e_clock_at 2  # slower than every record, in both
mapfile -t solutions < <(e2e_solutions "${games[@]}")
last=()
for i in 0 1; do  # every move but the last
  e2e_use "${games[$i]}"
  read -ra moves <<<"${solutions[$i]}"
  e2e_click_home "${moves[@]:0:${#moves[@]}-1}"
  last+=("${moves[-1]}")
done
for i in 0 1; do  # the last ones, one right after the other
  e2e_use "${games[$i]}"
  read -ra grid <<<"$(e2e_state grid)"
  for p in "${!grid[@]}"; do [ "${grid[$p]}" = "${last[$i]}" ] && e2e_click_tile $((p + 1)); done
done
for i in 0 1; do
  e2e_use "${games[$i]}"
  e2e_expect running 0
  finish
done
e2e_wait_for '[ "$(sqlite3 "$database" "SELECT count(*) FROM games")" = 5 ]' "both rows ($(sqlite3 "$database" "SELECT count(*) FROM games") in all)"
e2e_note "two windows finishing at once: both rows are in the history"
for game in "${games[@]}"; do
  e2e_use "$game"
  e2e_quit
done
