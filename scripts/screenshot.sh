#!/usr/bin/env bash
# Makes the pictures of the game in docs/: screenshot.png, the README's picture of the main window
# during a game (the game runs under a virtual X server with a window manager, its window made
# larger than at the start, starts a 4 x 4 game, slides a few tiles and asks for a hint, then the
# window is photographed), and screenshot-fullscreen.png, a 5 x 5 game with numbered tiles on the
# whole screen, brought to 1280 x 800, and screenshot-statistics.png, the statistics window after
# six 4 x 4 games played home (the second with a hint). The AppStream metadata shows all three.
# Needs the packages scripts/setup.sh installs and a built build/mozik.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/mozik ] || { scripts/setup.sh; cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null; cmake --build build --target mozik -j"$(nproc)"; }
source tests/e2e/lib.sh

e2e_setup "the README's screenshot" wm
e2e_start "$E2E_TMP/play"
xdotool windowsize "$E2E_WID" 560 640
e2e_wait_for '[ "$(e2e_state tileside)" -gt 50 ]' "the board to grow"
e2e_size 4
e2e_play
previous=0
for move in 1 2 3 4 5; do
  gap=$(e2e_state gap)
  p=$(e2e_neighbours | grep -vx "$previous" | sed -n 1p)
  e2e_click_tile "$p"
  e2e_expect gap "$p"
  previous=$gap
done
e2e_key h
e2e_wait_for '[ "$(e2e_state marked)" != 0 ]' "the hint"

xdotool mousemove 1900 1100
sleep 0.3  # the sharp cut and the last slide are long over
mkdir -p docs
import -window "$E2E_WID" docs/screenshot.png
echo "Wrote docs/screenshot.png"

e2e_menu s 5
e2e_answer Mozik Return  # yes, this game is given up
e2e_expect size 5
e2e_play
e2e_menu g n
e2e_expect numbers 1
e2e_key F11
e2e_expect fullscreen 1
e2e_wait_for '[ "$(e2e_state tileside)" -gt 200 ]' "the board to fill the screen"
IFS='x+' read -r _ _ left top <<<"$(e2e_tile 1)"
IFS='x+' read -r width height right bottom <<<"$(e2e_tile 25)"
e2e_shot root "$((right + width - left))x$((bottom + height - top))+$left+$top" "$E2E_TMP/board.png"  # the board drawn (the clock ticks on)
xdotool mousemove 1919 1199
import -window root -resize 1280x800 docs/screenshot-fullscreen.png
e2e_quit
echo "Wrote docs/screenshot-fullscreen.png"

# wander MOVES: that many tiles slid, never the one just moved back.
wander() {
  local previous=0 gap p
  for _ in $(seq "$1"); do
    gap=$(e2e_state gap)
    p=$(e2e_neighbours | grep -vx "$previous" | shuf -n1)
    e2e_click_tile "$p"
    e2e_expect gap "$p"
    previous=$gap
  done
}

# The games of the statistics window: a few moves of the player's own, then mozik-solve's way home,
# so that each game has its own moves and time; the name typed at the first record, taken again.
e2e_start "$E2E_TMP/statistics"
e2e_size 4
for game in 1 2 3 4 5 6; do
  e2e_play
  wander $((game * 4))
  if [ "$game" = 2 ]; then
    e2e_key h
    e2e_wait_for '[ "$(e2e_state hinted)" != 0 ]' "the hint"
  fi
  read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
  e2e_click_home "${moves[@]}"
  e2e_expect running 0
  e2e_focus "$(e2e_window Message)"
  [ "$game" != 1 ] || xdotool type --delay 20 Anna
  e2e_key Return
  e2e_wait_for '[ -z "$(e2e_windows_named "^Message\$")" ]' "the result dialog to close"
  e2e_answer "High Scores" Return
done
e2e_focus "$E2E_WID"
e2e_key ctrl+i
e2e_expect stats.rows 6
statistics=$(e2e_window "Статистика")
xdotool mousemove 1900 1100
e2e_shot "$statistics" "$(xwininfo -id "$statistics" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h "+0+0"}')" docs/screenshot-statistics.png
e2e_quit
echo "Wrote docs/screenshot-statistics.png"
