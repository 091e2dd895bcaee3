#!/usr/bin/env bash
# End-to-end: settings files the game could not have written, on a screen of 1280 x 1024 under a
# window manager. A remembered window of 65536 x 65536 comes back within the screen, its frame
# too, at a resident size under 100 MiB, and only a place and size within the screen is written
# back; a key of 40,000 bytes of 0x80 gives, after a change, a settings file under the 64 KiB the
# game reads, and the change comes back at the next start.
source "$(dirname "$0")/lib.sh"
E2E_SCREEN=1280x1024
e2e_setup "settings within bounds" wm
folder="$E2E_TMP/play"
settings() { echo "$E2E_CONFIG/Mozik/Mozik.conf"; }

# The window's frame on the screen, "X Y W H": its client as X places it, and the frame's
# extents the window manager sets on it.
frame() {
  local x y w h left right top bottom
  read -r x y w h < <(xwininfo -id "$E2E_WID" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')
  IFS=', ' read -r left right top bottom < <(xprop -id "$E2E_WID" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
  [ -n "$bottom" ] || return 1  # not framed yet
  echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# within X Y W H: the rectangle lies on the screen.
within() {
  [ "$#" = 4 ] && [ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ $(($1 + $3)) -le 1280 ] && [ $(($2 + $4)) -le 1024 ]
}

# The geometry the settings file holds, "X Y W H".
kept_geometry() {
  sed -n 's/^Geometry=@Rect(\(-\?[0-9]* -\?[0-9]* [0-9]* [0-9]*\))$/\1/p' "$(settings)"
}

e2e_start "$folder"
e2e_quit
printf '[Window]\nGeometry=@Rect(0 0 65536 65536)\n' >"$(settings)"
E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_wait_for 'within $(frame)' "the window and its frame within the screen (the frame: $(frame || echo none yet); the client: $(xwininfo -id "$E2E_WID" | awk '/Absolute upper-left/ {p = p $NF " "} /Width:|Height:/ {p = p $2 " "} END {print p}'))"
e2e_wait_for 'within $(kept_geometry)' "a place and size within the screen in the settings file"
peak=$(e2e_peak_memory)
rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$E2E_PID/status")
[ "$peak" -lt $((100 * 1024)) ] || e2e_fail "the window of 65536 x 65536 took $peak KiB at its peak"
e2e_note "a remembered 65536 x 65536 window: its frame $(frame | awk '{print $3 "x" $4 "+" $1 "+" $2}') on the screen," \
  "$((rss / 1024)) MiB resident (peak $((peak / 1024)) MiB), kept as $(kept_geometry)"
e2e_quit
within $(kept_geometry) || e2e_fail "the window was written back at $(kept_geometry)"

{
  printf '[Board]\nSize=6\n[Elsewhere]\nKey='
  head -c 40000 /dev/zero | tr '\0' '\200'
  printf '\n'
} >"$(settings)"
E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect size 6
e2e_size 4
e2e_wait_for 'grep -q "^Size=4" "$(settings)"' "the change in the settings file"
bytes=$(stat -c %s "$(settings)")
[ "$bytes" -lt 65536 ] || e2e_fail "a settings file of $bytes bytes was written"
e2e_quit
E2E_REUSE_HOME=1 e2e_start "$folder"
e2e_expect size 4
e2e_note "a key of 40,000 bytes of 0x80: the settings file is $bytes bytes after a change, and the change came back"
e2e_quit
