#!/usr/bin/env bash
# End-to-end: pictures that could hurt the game, named on the command line of the real program.
# Tiny files that declare 6000 x 6000 pixels are refused with a message and the game goes on;
# flat pictures of that size open; a progressive JPEG of 3000 scans is refused at once; a file
# cut short while it is read is told, not a crash; a picture held up while it is read does not
# hold the window back. Prints for each the time until the window shows (and until the picture is
# in) and the peak resident memory, and holds the memory to its bounds: 150 MiB for a refused
# picture, the picture at 4 bytes a pixel and 150 MiB more for one that opens.
# Usage: tests/e2e/pictures.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: hostile and large pictures"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
"$(dirname "$MOZIK")/tests/e2e/mozik-test-pictures" "$pictures"
folder="$E2E_TMP/play"
mkdir -p "$folder"
refused_limit=$((150 * 1024))                     # KiB
opened_limit=$((6000 * 6000 * 4 / 1024 + 150 * 1024))

# start_timed PICTURE: starts the game with the picture; $shown is the milliseconds until its
# window showed, $started when it was started.
start_timed() {
  started=$(date +%s%N)
  e2e_start "$folder" "$1"
  shown=$(since "$started")
}

# since START: the milliseconds from START (date +%s%N) until now.
since() {
  echo $((($(date +%s%N) - $1) / 1000000))
}

# refused_and_going_on WHAT: after the error box, the built-in picture is still there and a game
# starts; checks the peak memory, ends the game, notes what happened.
refused_and_going_on() {
  local memory
  e2e_close_error_box
  [ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "$1 replaced the built-in picture"
  e2e_focus "$E2E_WID"
  e2e_key F2
  e2e_expect running 1
  memory=$(e2e_peak_memory)
  [ "$memory" -le "$refused_limit" ] || e2e_fail "$1: peak memory $((memory / 1024)) MiB"
  e2e_key alt+x
  e2e_wait_exit
  e2e_note "$1: refused with a message, the game went on; window in $shown ms, peak $((memory / 1024)) MiB"
}

for picture in short.jpg short.progressive.jpg short.xbm short.rle.bmp short.gif short.pbm short.png; do
  start_timed "$pictures/$picture"
  refused_and_going_on "$picture ($(stat -c %s "$pictures/$picture") bytes, 6000 x 6000 declared)"
done

for picture in flat.jpg flat.progressive.jpg flat.xbm flat.rle.bmp flat.gif flat.pbm flat.png; do
  start_timed "$pictures/$picture"
  e2e_expect title "$picture  -  5 x 5"
  e2e_expect busy 0
  taken=$(since "$started")
  e2e_screen_shot "$(e2e_tile 13)" "$E2E_TMP/board.png"  # the board is drawn
  [ -z "$(e2e_windows_named '^Mozik$')" ] || e2e_fail "$picture: an error box"
  memory=$(e2e_peak_memory)
  [ "$memory" -le "$opened_limit" ] || e2e_fail "$picture: peak memory $((memory / 1024)) MiB"
  e2e_key alt+x
  e2e_wait_exit
  e2e_note "$picture ($(stat -c %s "$pictures/$picture") bytes, 6000 x 6000): opened; window in $shown ms, picture in $taken ms, peak $((memory / 1024)) MiB"
done

# A file that held the start up would fail at the wait's deadline, long before the minutes that
# decoding 3000 scans takes.
started=$(date +%s%N)
start_timed "$pictures/scans.jpg"
e2e_window Mozik >/dev/null
told=$((($(date +%s%N) - started) / 1000000))
refused_and_going_on "scans.jpg ($(stat -c %s "$pictures/scans.jpg") bytes, 6000 x 6000 in 3000 scans, told in $told ms)"

# A picture whose reading is held up at the gate for as long as the test likes: the window shows
# all the same, with the built-in picture while the player waits, and the board changes once the
# picture is there.
gate="$E2E_TMP/gate"
mkfifo "$gate"
MOZIK_TEST_PICTURE_GATE="$gate" start_timed "$pictures/flat.png"
[ "$(e2e_state title)/$(e2e_state busy)" = "Mozik.bmp  -  5 x 5/1" ] ||
  e2e_fail "a window held up by its picture: $(e2e_state title), busy=$(e2e_state busy)"
timeout 30 bash -c 'exec 3>"$0"' "$gate" || e2e_fail "the picture was not read at the gate"
e2e_expect title "flat.png  -  5 x 5"
e2e_expect busy 0
e2e_key alt+x
e2e_wait_exit
e2e_note "flat.png held up while read: the window showed in $shown ms with the built-in picture, then took the picture"

# The game waits at the gate between the check of the file's length and its reading: the writer
# gets through once the game is there, cuts the file and lets it go on.
cp "$pictures/flat.png" "$pictures/shrinking.png"
timeout 30 bash -c 'exec 3>"$0" && truncate -s 100 "$1"' "$gate" "$pictures/shrinking.png" &
cutter=$!
MOZIK_TEST_PICTURE_GATE="$gate" start_timed "$pictures/shrinking.png"
wait "$cutter" || e2e_fail "the file was not cut at the gate"
[ "$(stat -c %s "$pictures/shrinking.png")" -eq 100 ] || e2e_fail "the file was not cut"
refused_and_going_on "shrinking.png (cut from $(stat -c %s "$pictures/flat.png") to 100 bytes while read)"
echo "End-to-end picture test passed."
