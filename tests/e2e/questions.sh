#!/usr/bin/env bash
# End-to-end: nothing thrown away unasked, and windows where the player looks, under a window
# manager. Ctrl+N during a game with a move asks "Прервать игру?" with the moves and time: Escape
# (No) leaves the game as it was, Enter (Yes) gives a fresh shuffle; Clear Scores asks with the
# count of records, and No keeps the score file byte for byte; the result dialog opens centred on
# a main window moved to the right half of the screen; a second window opens offset from the first.
source "$(dirname "$0")/lib.sh"
e2e_setup "questions, and where the windows open" wm
folder="$E2E_TMP/play"

# question: the question box's text and what it is about, as the report reads them.
question() {
  echo "$(e2e_state text.QMessageBox.qt_msgbox_label) $(e2e_state text.QMessageBox.qt_msgbox_informativelabel)"
}

# middle WINDOW: the middle of a window's client area on the screen, "X Y".
middle() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x + int(w / 2), y + int(h / 2)}'
}

# The score file of the data folder, with two records among the empty places.
mkdir -p "$E2E_TMP/start-1/data/Mozik"
scores="$E2E_TMP/start-1/data/Mozik/Mozik.ini"
{ printf 'Anna\r\n12\r\n'; e2e_default_scores | tail -c +17 | head -c $((19 * 16)); printf 'Ivan\r\n95\r\n'
  e2e_default_scores | tail -c +$((21 * 16 + 1)); } >"$scores"
cp "$scores" "$E2E_TMP/scores.ini"
e2e_start "$folder"
e2e_size 4
e2e_play
e2e_click_tile "$(e2e_neighbours | sed -n 1p)"
e2e_expect moves 1
e2e_clock_at 2
grid=$(e2e_state grid)
e2e_key ctrl+n
e2e_wait_for '[ "$(question)" != " " ]' "the question"
question=$(question)
[[ "$question" == "Прервать игру? Ходов: 1. Время: "[0-9]*" с." ]] || e2e_fail "the question: $question"
e2e_answer Mozik Escape
e2e_expect text.QMessageBox.qt_msgbox_label ""
[ "$(e2e_state grid) $(e2e_state moves) $(e2e_state running)" = "$grid 1 1" ] || e2e_fail "No changed the game"
e2e_note "Ctrl+N asked \"$question\"; No left the game as it was"
e2e_key ctrl+n
e2e_answer Mozik Return
e2e_expect moves 0
[ "$(e2e_state running)" = 1 ] && [ "$(e2e_state grid)" != "$grid" ] || e2e_fail "Yes gave no fresh shuffle"
e2e_note "Yes gave a fresh shuffle: $(e2e_state grid)"

e2e_menu f c
e2e_wait_for '[ "$(question)" != " " ]' "the Clear Scores question"
question=$(question)
[[ "$question" == "Удалить 2 записи из таблицы результатов? "* ]] || e2e_fail "the question: $question"
e2e_answer Mozik Return  # No is the default of this one
cmp -s "$scores" "$E2E_TMP/scores.ini" || e2e_fail "No changed the score file"
e2e_note "Clear Scores asked \"$question\"; No kept the file byte for byte"

# The main window to the right half of the screen, and a game to its end there.
xdotool windowmove --sync "$E2E_WID" 1300 600
e2e_wait_for '[ "$(middle "$E2E_WID" | cut -d" " -f1)" -gt 1300 ]' "the window to move"
e2e_focus "$E2E_WID"
e2e_key ctrl+n
e2e_expect moves 0
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
[ "${#moves[@]}" -gt 0 ] || e2e_fail "mozik-solve found no moves"
e2e_click_home "${moves[@]}"
result=$(e2e_window Message)
read -r mx my <<<"$(middle "$E2E_WID")"
read -r dx dy <<<"$(middle "$result")"
[ $((dx - mx)) -ge -2 ] && [ $((dx - mx)) -le 2 ] && [ $((dy - my)) -ge -2 ] && [ $((dy - my)) -le 2 ] ||
  e2e_fail "the result dialog's middle is at $dx, $dy, the main window's at $mx, $my"
e2e_note "the result dialog opened centred on the main window moved to the right half: middles $dx,$dy and $mx,$my"
e2e_answer Message Return
e2e_answer "High Scores" Return

first=$(e2e_game)
E2E_REUSE_HOME=1 e2e_start "$folder"
first_wid=$(cut -d' ' -f2 <<<"$first")
read -r fx fy <<<"$(middle "$first_wid")"
read -r sx sy <<<"$(middle "$E2E_WID")"
[ "$fx $fy" != "$sx $sy" ] || e2e_fail "the second window opened exactly on the first, at $sx, $sy"
e2e_note "a second window opened at $sx, $sy, the first being at $fx, $fy"
e2e_quit
e2e_use "$first"
e2e_quit
