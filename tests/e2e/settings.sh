#!/usr/bin/env bash
# End-to-end: what the game keeps between runs, under a window manager. A first start without a
# settings file is the layout's (pixel for pixel the first start of another build, when
# MOZIK_BASELINE names one); 6 x 6, a picture chosen in the open dialog, a larger window and the
# status line come back after Alt+X in a new start, in the same window size; a wide picture kept
# in proportion shows its middle square; the status line counts the moves, each tile of a line;
# a garbage settings file starts the game as at first.
# Usage: tests/e2e/settings.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
e2e_window_manager
echo "== End-to-end: settings kept between runs"
folder="$E2E_TMP/play"
mkdir -p "$folder"

# first_start FILE: photographs the first start of $MOZIK in a fresh home, checks its layout and
# leaves it by Alt+X.
first_start() {
  e2e_start "$folder"
  [ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "first start: title $(e2e_state title)"
  [ "$(e2e_state client | cut -d+ -f1)" = 276x316 ] || e2e_fail "first start: client $(e2e_state client)"
  xdotool mousemove 1900 1150
  e2e_shot "$E2E_WID" "$(window_size)+0+0" "$1"
  e2e_key alt+x
  e2e_wait_exit
}

# window_size: the main window's size, "WxH".
window_size() {
  xwininfo -id "$E2E_WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# tile_colour P: the colour in the middle of the tile at P on the screen.
tile_colour() {
  local tile size at
  tile=$(e2e_tile "$1")
  size=${tile%%+*}
  at=${tile#*+}
  import -window root -crop "1x1+$((${at%+*} + ${size%x*} / 2))+$((${at#*+} + ${size#*x} / 2))" +repage \
    -format '%[pixel:p{0,0}]' info: 2>/dev/null
}

first_start "$E2E_TMP/first.png"
if [ -n "${MOZIK_BASELINE:-}" ]; then
  mozik=$MOZIK
  MOZIK=$(realpath "$MOZIK_BASELINE")
  first_start "$E2E_TMP/baseline.png"
  MOZIK=$mozik
  differing=$(compare -metric AE "$E2E_TMP/first.png" "$E2E_TMP/baseline.png" null: 2>&1 || true)
  [ "$differing" = 0 ] || e2e_fail "the first start differs from $MOZIK_BASELINE's in $differing pixels"
  e2e_note "the first start is $MOZIK_BASELINE's pixel for pixel ($(identify -format %wx%h "$E2E_TMP/first.png"), 0 differing)"
fi
e2e_note "the first start without settings: \"Mozik.bmp  -  5 x 5\", client 276 x 316"

# Red at the sides; the middle square yellow, green, blue and white in its quarters.
convert \( -size 50x50 xc:yellow xc:lime +append \) \( -size 50x50 xc:blue xc:white +append \) -append \
  "$E2E_TMP/middle.png"
convert -size 100x100 xc:red "$E2E_TMP/middle.png" -size 100x100 xc:red +append "$E2E_TMP/wide.png"

e2e_start "$folder"
e2e_menu s 6
e2e_expect size 6
dialogs=$(e2e_windows_shown)
e2e_key F3
e2e_wait_for "[ \$(e2e_windows_shown) -gt $dialogs ]" "the open dialog"
sleep 0.5  # its folder is listed
e2e_key ctrl+a
xdotool type --delay 20 "$E2E_TMP/wide.png"
e2e_key Return
e2e_expect title "wide.png  -  6 x 6"
e2e_focus "$E2E_WID"
e2e_menu g s
e2e_expect statusline 1
xdotool windowsize "$E2E_WID" 640 720
e2e_wait_for '[ "$(e2e_state tileside)" -gt 41 ]' "the board to grow"
[ "$(tile_colour 1)" = "srgb(255,0,0)" ] || e2e_fail "the wide picture squeezed: tile 1 is $(tile_colour 1)"
client=$(e2e_state client | cut -d+ -f1)
size=$(window_size)
e2e_key alt+x
e2e_wait_exit
e2e_note "6 x 6, wide.png from the open dialog, the status line on, the window made $size (client $client); Alt+X"

E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect title "wide.png  -  6 x 6"
e2e_expect statusline 1
e2e_wait_for '[ "$(e2e_state client | cut -d+ -f1)" = "$client" ]' "the client of $client"
[ "$(window_size)" = "$size" ] || e2e_fail "the window came back $(window_size), not $size"
e2e_note "the next start: \"wide.png  -  6 x 6\", the status line, the window $size again"

e2e_menu g k
e2e_expect proportions 1
for corner in "1 srgb(255,255,0)" "6 srgb(0,255,0)" "31 srgb(0,0,255)" "36 srgb(255,255,255)"; do
  read -r p colour <<<"$corner"
  e2e_wait_for '[ "$(tile_colour "$p")" = "$colour" ]' "tile $p in $colour (it is $(tile_colour "$p"))"
done
e2e_note "Keep Proportions: the corners of the board are the corners of the picture's middle square"

e2e_key F2
e2e_expect running 1
e2e_expect status "Ходов: 0"
e2e_click_tile 35
e2e_expect status "Ходов: 1"
e2e_click_tile 33  # a line of two
e2e_expect status "Ходов: 3"
e2e_note "the status line counts the moves: $(e2e_state status)"
e2e_key alt+x
e2e_wait_exit

e2e_start "$folder"  # a fresh home, to put the garbage in before the next start
e2e_key alt+x
e2e_wait_exit
head -c 4096 /dev/urandom >"$E2E_CONFIG/Mozik/Mozik.conf"
E2E_REUSE_HOME=1 e2e_start "$folder"
[ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "garbage settings: title $(e2e_state title)"
xdotool mousemove 1900 1150
e2e_shot "$E2E_WID" "$(window_size)+0+0" "$E2E_TMP/garbage.png"
e2e_same_picture "$E2E_TMP/first.png" "$E2E_TMP/garbage.png" || e2e_fail "garbage settings: not the first start's window"
e2e_key alt+x
e2e_wait_exit
e2e_note "a settings file of 4 KiB of garbage: the first start's window, pixel for pixel"
echo "End-to-end settings test passed."
