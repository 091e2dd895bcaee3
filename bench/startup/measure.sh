#!/usr/bin/env bash
# Start-up of the game against an empty main window of the same client size and Qt set-up: from
# launch to the window mapped and painted, and peak resident memory, as the median of RUNS runs
# of each, interleaved, under a virtual X server. Every run of the game starts in an empty folder
# with empty data, settings, cache and state folders, as a first start does, and with the settings
# file SETTINGS when one is given (a Mozik.conf, say with the sound off); and once more with a
# 5 x 5 game of 200 moves kept in its state folder, which it takes up.
# Usage: bench/startup/measure.sh [RUNS] [BUILD-DIR] [SETTINGS]   (scripts/bench.sh builds BUILD-DIR)
set -euo pipefail
runs=${1:-21}
build=$(realpath "${2:-build-bench}")
settings=${3:+$(realpath "$3")}
game="$build/mozik"
empty="$build/bench/startup/empty_window"
[ -x "$game" ] && [ -x "$empty" ] || { echo "build $game and $empty first (scripts/bench.sh)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
exec 9>"$tmp/display"
# -noreset: a server that starts afresh as its last client leaves may drop the next one (tests/e2e/lib.sh)
Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")"
unset QT_QPA_PLATFORM

# A game kept on the built-in picture: one move from home, and 200 moves of a tile to and fro.
kept_game() {
  local text moves=""
  for _ in $(seq 100); do moves+="23-24 24-23 "; done
  text="mozik-game=1
id=0123456789abcdef
size=5
start=$(seq -s' ' 1 23) 0 24
history=${moves% }
undone=
moves=200
seconds=95
picture=built-in
proportions=0
"
  printf '%ssha1=%s\n' "$text" "$(printf '%s' "$text" | sha1sum | cut -d' ' -f1)"
}
kept_game >"$tmp/kept-game"

# run PROGRAM [kept]: prints "microseconds-to-first-paint peak-KiB".
run() {
  local folder report started
  folder=$(mktemp -d -p "$tmp")
  if [ -n "$settings" ]; then mkdir -p "$folder/config/Mozik" && cp "$settings" "$folder/config/Mozik/Mozik.conf"; fi
  if [ "${2:-}" = kept ]; then
    mkdir -p "$folder/state/Mozik"
    cp "$tmp/kept-game" "$folder/state/Mozik/game"
  fi
  started=${EPOCHREALTIME/./}
  report=$(cd "$folder" && XDG_DATA_HOME="$folder/data" XDG_CONFIG_HOME="$folder/config" XDG_CACHE_HOME="$folder/cache" \
    XDG_STATE_HOME="$folder/state" "$1" --startup-probe 2>/dev/null)
  read -r _ painted peak <<<"$report"
  echo "$((painted - started)) $peak"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$tmp/game"
: >"$tmp/kept"
: >"$tmp/empty"
for _ in $(seq "$runs"); do
  run "$game" >>"$tmp/game"
  run "$game" kept >>"$tmp/kept"
  run "$empty" >>"$tmp/empty"
done
game_time=$(cut -d' ' -f1 "$tmp/game" | median)
kept_time=$(cut -d' ' -f1 "$tmp/kept" | median)
empty_time=$(cut -d' ' -f1 "$tmp/empty" | median)
game_rss=$(cut -d' ' -f2 "$tmp/game" | median)
kept_rss=$(cut -d' ' -f2 "$tmp/kept" | median)
empty_rss=$(cut -d' ' -f2 "$tmp/empty" | median)
awk -v runs="$runs" -v gt="$game_time" -v kt="$kept_time" -v et="$empty_time" -v gr="$game_rss" -v kr="$kept_rss" -v er="$empty_rss" 'BEGIN {
  printf "start-up, median of %d runs each, interleaved:\n", runs
  printf "  game           %6.1f ms  %6.1f MiB  ratio %4.2f  %4.2f\n", gt / 1000, gr / 1024, gt / et, gr / er
  printf "  game kept      %6.1f ms  %6.1f MiB  ratio %4.2f  %4.2f\n", kt / 1000, kr / 1024, kt / et, kr / er
  printf "  empty window   %6.1f ms  %6.1f MiB\n", et / 1000, er / 1024
}'
