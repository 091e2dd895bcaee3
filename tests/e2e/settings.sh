#!/usr/bin/env bash
# End-to-end: what the game keeps between runs, under a window manager. A first start without
# settings, and one with a garbage settings file, show the same window pixel for pixel (the first
# start of another build too, when MOZIK_BASELINE names one); 6 x 6, a wide picture chosen in the
# open dialog, a larger window and the status line come back after Alt+X, in the same window size;
# kept in proportion, the wide picture shows its middle square; the status line counts the moves.
source "$(dirname "$0")/lib.sh"
e2e_setup "settings kept between runs" wm
folder="$E2E_TMP/play"

# photograph_and_exit FILE: the main window, the pointer out of its way; then Alt+X.
photograph_and_exit() {
  e2e_expect title "Mozik.bmp  -  5 x 5"
  xdotool mousemove 1900 1150
  e2e_shot "$E2E_WID" "$(e2e_window_size)+0+0" "$1"
  e2e_quit
}

e2e_start "$folder"
photograph_and_exit "$E2E_TMP/first.png"
head -c 4096 /dev/urandom >"$E2E_CONFIG/Mozik/Mozik.conf"
E2E_REUSE_HOME=1 e2e_start "$folder"
photograph_and_exit "$E2E_TMP/garbage.png"
e2e_same_picture "$E2E_TMP/first.png" "$E2E_TMP/garbage.png" || e2e_fail "a garbage settings file changed the window"
e2e_note "the first start, and one with 4 KiB of garbage for settings: the same window, pixel for pixel"
if [ -n "${MOZIK_BASELINE:-}" ]; then
  MOZIK=$(realpath "$MOZIK_BASELINE") e2e_start "$folder"
  photograph_and_exit "$E2E_TMP/baseline.png"
  e2e_same_picture "$E2E_TMP/first.png" "$E2E_TMP/baseline.png" || e2e_fail "the first start is not $MOZIK_BASELINE's"
  e2e_note "the first start is $MOZIK_BASELINE's pixel for pixel ($(identify -format %wx%h "$E2E_TMP/first.png"))"
fi

# Red at the sides; the middle square yellow, green, blue and white in its quarters.
convert -size 100x100 xc:red \( \( -size 50x50 xc:yellow xc:lime +append \) \( -size 50x50 xc:blue xc:white +append \) \
  -append \) -size 100x100 xc:red +append "$E2E_TMP/wide.png"
e2e_start "$folder"
e2e_size 6
e2e_open_with_f3 "$E2E_TMP/wide.png"
e2e_expect title "wide.png  -  6 x 6"
e2e_focus "$E2E_WID"
e2e_menu g s
e2e_key Return  # S is Status Line's and Sound's: it goes to Status Line first
e2e_expect statusline 1
xdotool windowsize "$E2E_WID" 640 720
e2e_wait_for '[ "$(e2e_state tileside)" -gt 41 ]' "the board to grow"
size=$(e2e_window_size)
e2e_quit
E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect title "wide.png  -  6 x 6"
e2e_expect statusline 1
[ "$(e2e_window_size)" = "$size" ] || e2e_fail "the window came back $(e2e_window_size), not $size"
e2e_note "6 x 6, wide.png from the open dialog, the status line and a window of $size came back after Alt+X"

e2e_menu g k
e2e_expect proportions 1
for corner in "1 srgb(255,255,0)" "6 srgb(0,255,0)" "31 srgb(0,0,255)" "36 srgb(255,255,255)"; do
  read -r p colour <<<"$corner"
  e2e_wait_for '[ "$(e2e_pixel root $(e2e_tile_middle "$p"))" = "$colour" ]' "tile $p in $colour"
done
e2e_note "kept in proportion, the board's corners are those of the picture's middle square"
e2e_key F2
e2e_expect status "Ходов: 0"
e2e_click_tile 35
e2e_expect status "Ходов: 1"
e2e_click_tile 33  # a line of two
e2e_expect status "Ходов: 3"
e2e_note "the status line counts the moves, each tile of a line: $(e2e_state status)"
e2e_quit
