#!/usr/bin/env bash
# End-to-end: pictures that could hurt the game, named on the command line. Tiny files that declare
# 6000 x 6000 pixels are refused with a message and the game goes on; flat pictures of that size
# open; a progressive JPEG of 3000 scans is refused at once; a file cut short while it is read is
# told, not a crash. Prints for each the time until the window shows and the peak resident memory,
# held to 150 MiB for a refused picture; for one opened, to 300 MiB for a JPEG (a progressive one
# holds all its coefficients while it is decoded, even at a reduced scale: some 280 MiB here), the
# picture at 4 bytes a pixel and 150 MiB more otherwise.
source "$(dirname "$0")/lib.sh"
e2e_setup "hostile and large pictures"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
"$(dirname "$MOZIK")/tests/e2e/mozik-test-pictures" "$pictures"
refused_limit=$((150 * 1024))  # KiB
jpeg_limit=$((300 * 1024))
opened_limit=$((6000 * 6000 * 4 / 1024 + 150 * 1024))

# since START: the milliseconds from START (date +%s%N) until now.
since() {
  echo $((($(date +%s%N) - $1) / 1000000))
}

# start_timed PICTURE: starts the game with the picture; $shown: the milliseconds until its window,
# on the clock and in the program's CPU time.
start_timed() {
  started=$(date +%s%N)
  e2e_start "$E2E_TMP/play" "$1"
  shown="$(since "$started") ms ($(e2e_cpu_ms) ms of CPU time)"
}

# refused_and_going_on WHAT: after the error box the built-in picture is still there and a game
# starts; checks the peak memory.
refused_and_going_on() {
  local memory
  e2e_answer Mozik Return
  [ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "$1 replaced the built-in picture"
  e2e_focus "$E2E_WID"
  e2e_play
  memory=$(e2e_peak_memory)
  [ "$memory" -le "$refused_limit" ] || e2e_fail "$1: peak memory $((memory / 1024)) MiB"
  e2e_quit
  e2e_note "$1: refused with a message, the game went on; window in $shown, peak $((memory / 1024)) MiB"
}

for kind in jpg progressive.jpg xbm rle.bmp gif pbm png; do
  start_timed "$pictures/short.$kind"
  refused_and_going_on "short.$kind ($(stat -c %s "$pictures/short.$kind") bytes, 6000 x 6000 declared)"

  start_timed "$pictures/flat.$kind"
  # Read on a worker, which a busy machine may hold up for long: bounded by the time it computes.
  e2e_wait_for_work '[ "$(e2e_state title)" = "flat.$kind  -  5 x 5" ] && [ "$(e2e_state busy)" = 0 ]' "flat.$kind to be read" 60
  taken=$(since "$started")
  e2e_shot root "$(e2e_tile 13)" "$E2E_TMP/board.png"  # the board is drawn
  [ -z "$(e2e_windows_named '^Mozik$')" ] || e2e_fail "flat.$kind: an error box"
  memory=$(e2e_peak_memory)
  limit=$opened_limit
  [[ $kind != *jpg ]] || limit=$jpeg_limit
  [ "$memory" -le "$limit" ] || e2e_fail "flat.$kind: peak memory $((memory / 1024)) MiB, more than $((limit / 1024))"
  e2e_quit
  e2e_note "flat.$kind ($(stat -c %s "$pictures/flat.$kind") bytes, 6000 x 6000): opened; window in $shown, picture in $taken ms, peak $((memory / 1024)) MiB"
done

# A start held up by the file would fail at the wait's deadline, long before decoding 3000 scans.
start_timed "$pictures/scans.jpg"
e2e_window Mozik >/dev/null
refused_and_going_on "scans.jpg ($(stat -c %s "$pictures/scans.jpg") bytes, 6000 x 6000 in 3000 scans, told in $(since "$started") ms)"

# The game waits at the gate between the check of the file's length and its reading: the writer
# gets through once the game is there, cuts the file and lets it go on.
gate="$E2E_TMP/gate"
mkfifo "$gate"
cp "$pictures/flat.png" "$pictures/shrinking.png"
timeout 30 bash -c 'exec 3>"$0" && truncate -s 100 "$1"' "$gate" "$pictures/shrinking.png" &
cutter=$!
MOZIK_TEST_PICTURE_GATE="$gate" start_timed "$pictures/shrinking.png"
wait "$cutter" || e2e_fail "the file was not cut at the gate"
[ "$(stat -c %s "$pictures/shrinking.png")" -eq 100 ] || e2e_fail "the file was not cut"
refused_and_going_on "shrinking.png (cut from $(stat -c %s "$pictures/flat.png") to 100 bytes while read)"
