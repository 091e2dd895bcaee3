#!/usr/bin/env bash
# End-to-end: sound with no sound device (no sound server to be reached). The sound library loads
# once the window is there; each move asks for a click (one for a line of tiles), a finished 4 x 4
# picture for a chime; nothing is told and nothing waits: the start, the moves and Alt+X are as
# quick as ever. With sound off (kept in the settings) the library is never loaded.
source "$(dirname "$0")/lib.sh"
e2e_setup "sound without a sound device"
export PULSE_SERVER="unix:$E2E_TMP/no-sound-server" PULSE_RUNTIME_PATH="$E2E_TMP/pulse"
started=$SECONDS
e2e_start "$E2E_TMP/play"
e2e_expect soundplayer loaded
e2e_note "the sound library loaded after the window showed, $((SECONDS - started)) s after the start"
e2e_size 4
e2e_play
e2e_click_tile 13  # three tiles of the bottom row: one click
e2e_expect moves 3
e2e_expect sounds 1
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
e2e_click_home "${moves[@]}"
e2e_expect sounds $((1 + ${#moves[@]} + 1))
e2e_note "${#moves[@]} moves home after a line of three: $(e2e_state sounds) sounds asked for, a click each and a chime"
e2e_answer Message Return
e2e_answer "High Scores" Return
quit_at=$SECONDS
e2e_quit
e2e_note "Alt+X ended the program within $((SECONDS - quit_at)) s"

E2E_REUSE_HOME=1 e2e_start "$E2E_TMP/play"
e2e_menu g s
e2e_key s Return  # "&Sound" after "&Status Line"
e2e_expect sound 0
e2e_quit
E2E_REUSE_HOME=1 e2e_start "$E2E_TMP/play"
e2e_expect sound 0
e2e_play
e2e_click_tile "$(e2e_neighbours | head -n1)"
e2e_expect moves 1
sleep 0.5
[ "$(e2e_state soundplayer)" = off ] && [ "$(e2e_state sounds)" = 0 ] || e2e_fail "sound off: $(e2e_state soundplayer), $(e2e_state sounds) sounds"
e2e_note "sound off is kept, and the library is never loaded then"
e2e_quit
