#!/usr/bin/env bash
# End-to-end: the pictures players have today, named on the command line. A WebP, TIFF, SVG, SVGZ,
# HEIC and AVIF made here open and show their four coloured quarters where they belong; a phone's
# 48-megapixel JPEG stored on its side with EXIF orientation 6 opens upright; a 108-megapixel JPEG
# opens, decoded at a reduced scale, with peak memory under 300 MiB; bombs (a HEIC grid of 100,000
# tiles, a TIFF of 10,000 pages or of a 4-gigapixel strip, an SVGZ inflating to 256 MiB) are
# refused with a message and the game goes on. Prints for each the time until the window shows,
# the time until the picture is on the board, and the peak resident memory: each format small and
# at 12 million pixels (3 for HEIC and AVIF, whose encoders are slow to make them).
source "$(dirname "$0")/lib.sh"
e2e_setup "picture formats, orientation and large photos"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
QT_QPA_PLATFORM=offscreen "$(dirname "$MOZIK")/tests/e2e/mozik-test-pictures" --formats "$pictures"
jpeg_limit=$((300 * 1024))  # KiB
refused_limit=$((150 * 1024))

since() {
  echo $((($(date +%s%N) - $1) / 1000000))
}

# near EXPECTED GOT: two "srgb(r,g,b)" colours within 40 of each other in every channel.
near() {
  local a b i
  IFS=',' read -ra a <<<"$(tr -dc '0-9,' <<<"$1")"
  IFS=',' read -ra b <<<"$(tr -dc '0-9,' <<<"$2")"
  for i in 0 1 2; do
    [ $((a[i] - b[i])) -le 40 ] && [ $((b[i] - a[i])) -le 40 ] || return 1
  done
}

# quarters_shown WHAT: the corner tiles of the 5 x 5 board show red, green, blue and yellow from
# the top left clockwise, as the upright picture has them: read from one photograph of the board,
# taken once it has settled.
quarters_shown() {
  local w h x1 y1 x2 y2 tile colour left top
  IFS='x+' read -r w h x1 y1 <<<"$(e2e_tile 1)"
  IFS='x+' read -r w h x2 y2 <<<"$(e2e_tile 25)"
  e2e_shot root "$((x2 + w - x1))x$((y2 + h - y1))+$x1+$y1" "$E2E_TMP/board.png"
  for tile in "1 srgb(220,30,30)" "5 srgb(30,200,40)" "25 srgb(40,50,210)" "21 srgb(230,220,20)"; do
    IFS='x+' read -r w h left top <<<"$(e2e_tile "${tile%% *}")"
    colour=$(convert "$E2E_TMP/board.png" -format "%[pixel:p{$((left - x1 + w / 2)),$((top - y1 + h / 2))}]" info:)
    near "${tile#* }" "$colour" || e2e_fail "$1: tile ${tile%% *} shows $colour, not ${tile#* }"
  done
}

# opens FILE LIMIT-KIB [PICTURE-SIZE]: starts the game with the file, waits for it on the board,
# checks its quarters and the peak memory, and prints the times.
opens() {
  local started shown taken memory
  started=$(date +%s%N)
  e2e_start "$E2E_TMP/play" "$pictures/$1"
  shown=$(since "$started")
  # Read on a worker, which a busy machine may hold up for long: bounded by the time it computes.
  # The condition is evaluated inside the helper, where $1 is no longer the file: its name goes in now.
  e2e_wait_for_work "[ \"\$(e2e_state title)\" = \"$1  -  5 x 5\" ] && [ \"\$(e2e_state busy)\" = 0 ]" "$1 to be read" 60
  taken=$(since "$started")
  [ -z "$(e2e_windows_named '^Mozik$')" ] || e2e_fail "$1: an error box"
  [ -z "${3:-}" ] || e2e_expect picture "$3"
  quarters_shown "$1"
  memory=$(e2e_peak_memory)
  [ "$memory" -le "$2" ] || e2e_fail "$1: peak memory $((memory / 1024)) MiB"
  e2e_quit
  e2e_note "$1 ($(stat -c %s "$pictures/$1") bytes): window in $shown ms, picture in $taken ms ($((taken - shown)) ms after the window), peak $((memory / 1024)) MiB"
}

# refused FILE: the game tells why in a box and goes on with the built-in picture.
refused() {
  local started shown memory
  started=$(date +%s%N)
  e2e_start "$E2E_TMP/play" "$pictures/$1"
  shown=$(since "$started")
  e2e_window Mozik >/dev/null
  local told
  told=$(since "$started")
  e2e_answer Mozik Return
  [ "$(e2e_state title)" = "Mozik.bmp  -  5 x 5" ] || e2e_fail "$1 replaced the built-in picture"
  e2e_play
  memory=$(e2e_peak_memory)
  [ "$memory" -le "$refused_limit" ] || e2e_fail "$1: peak memory $((memory / 1024)) MiB"
  e2e_quit
  e2e_note "$1 ($(stat -c %s "$pictures/$1") bytes): refused, the game went on; window in $shown ms, told in $told ms, peak $((memory / 1024)) MiB"
}

others_limit=$((4000 * 3000 * 4 / 1024 + 200 * 1024))  # 4 bytes a pixel and 200 MiB
for format in webp tiff svg svgz heic avif png jpeg; do
  opens "quarters.$format" "$others_limit"
  opens "large.$format" "$others_limit"
done
# Stored 8000 x 6000 on its side: upright it is taller than wide, its shorter side the screen's.
opens phone-48mp.jpg "$jpeg_limit" 1200x1600
opens photo-108mp.jpg "$jpeg_limit" 1600x1200
for bomb in bomb.heic bomb.tiff strip.tiff bomb.svgz; do
  refused "$bomb"
done
