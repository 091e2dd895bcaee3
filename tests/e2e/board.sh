#!/usr/bin/env bash
# End-to-end: a board that fills the window, under a window manager. The first start has the
# layout's size; a striped picture, grey at that size, is striped again once the window is about
# 900 x 1000 with tiles more than twice as wide; full screen (F11) gives the board most of the
# screen's height, and Escape leaves it; a move is caught on its way (a slide made to last until
# the test turns Animation off, which ends it at once); a line slides by one click and comes back by
# one Ctrl+Z.
source "$(dirname "$0")/lib.sh"
e2e_setup "a board that fills the window" wm
# Columns two pixels wide, black and white: a plain PBM.
row=$(printf '1 1 0 0 %.0s' $(seq 250))
{ echo P1; echo 1000 1000; for _ in $(seq 1000); do echo "$row"; done; } >"$E2E_TMP/stripes.pbm"
export MOZIK_TEST_SLIDE_MS=3600000  # an hour: a slide is on its way until Animation is turned off
e2e_start "$E2E_TMP/play" "$E2E_TMP/stripes.pbm"
e2e_expect title "stripes.pbm  -  5 x 5"

# contrast P: how far the pixels of tile P on the screen spread from grey (0) to black and white
# (0.5); striped C: whether such a spread C is more than 0.25.
contrast() {
  e2e_shot root "$(e2e_tile "$1")" "$E2E_TMP/tile.png"
  convert "$E2E_TMP/tile.png" -colorspace gray -format '%[fx:standard_deviation]' info:
}
striped() { awk -v c="$1" 'BEGIN { exit !(c > 0.25) }'; }

client=$(e2e_state client)
[ "${client%%+*}" = "276x316" ] && [ "$(e2e_state tileside)" = 50 ] || e2e_fail "first start: client $client, tiles of $(e2e_state tileside)"
e2e_note "the first start has the layout's client, 276 x 316, tiles of 50; the stripes are grey there ($(contrast 7))"

xdotool windowsize "$E2E_WID" 900 1000
e2e_wait_for '[ "$(e2e_state tileside)" -gt 100 ]' "the board to grow"
large=$(contrast 7)
striped "$large" || e2e_fail "a tile of $(e2e_state tileside) is not striped ($large)"
e2e_note "900 x 1000: client $(e2e_state client), tiles of $(e2e_state tileside), striped ($large)"

client=$(e2e_state client)
e2e_key F11
e2e_expect fullscreen 1
e2e_wait_for '[ "$(e2e_state tileside)" -gt 200 ]' "the board to fill the screen"
span=$(($(e2e_tile 25 | tr 'x+' '  ' | awk '{print $2 + $4}') - $(e2e_tile 1 | tr 'x+' '  ' | awk '{print $4}')))
[ "$span" -gt 900 ] || e2e_fail "full screen: the board spans $span of 1200 pixels"
e2e_note "F11: full screen, tiles of $(e2e_state tileside), the board $span pixels of the screen's 1200"
e2e_key Escape
e2e_expect fullscreen 0
e2e_expect client "$client"  # back to the size before, wherever the window manager put it
e2e_note "Escape left full screen"

e2e_play
start=$(e2e_state grid)
e2e_click_tile 21  # the whole bottom row toward the gap in the corner
e2e_expect gap 21
e2e_expect moves 4
e2e_expect sliding 1
e2e_shot root "$(e2e_tile 25)" "$E2E_TMP/moving.png"
[ "$(e2e_state sliding)" = 1 ] || e2e_fail "the slide ended before it was photographed"
e2e_menu g a
e2e_key Return  # A is Animation's and Pause When Away's: it goes to Animation first
e2e_expect animation 0
e2e_expect sliding 0
e2e_shot root "$(e2e_tile 25)" "$E2E_TMP/still.png"
! e2e_same_picture "$E2E_TMP/moving.png" "$E2E_TMP/still.png" || e2e_fail "the slide was not seen on its way"
e2e_note "one click on tile 21 slid four tiles at once in the game (4 moves), caught on their way on the screen; Animation off ended the slide"
e2e_key ctrl+z
e2e_expect grid "$start"
e2e_expect gap 25
e2e_note "one Ctrl+Z took the whole line back"
e2e_quit
