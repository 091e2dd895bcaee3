#!/usr/bin/env bash
# The fast solver as a freshly started program meets it: one mozik-solve --fast process per
# board, each with an empty cache folder. Prints, for each size, the mean length against the
# Manhattan bound and the slowest answer (the whole process, start to end).
#   bench/solver/fresh.sh BUILD_DIR [BOARDS_PER_SIZE]
set -euo pipefail
build="${1:?usage: fresh.sh BUILD_DIR [BOARDS_PER_SIZE]}"
count="${2:-30}"
cache="$(mktemp -d)"
trap 'rm -rf "$cache"' EXIT
for n in 4 5 6 7; do
  "$build/bench/solver/random_boards" "$n" "$count" "$((3000 + n))" | {
    ratios=0 worst=0 longest=0
    while read -r board; do
      rm -rf "${cache:?}"/*
      started=$(date +%s%N)
      stats=$(echo "$board" | XDG_CACHE_HOME="$cache" "$build/mozik-solve" --fast --stats 2>&1 >/dev/null)
      elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
      moves=$(sed -n 's/.* \([0-9]*\) moves,.*/\1/p' <<<"$stats")
      bound=$(sed -n 's/.*lower bound \([0-9]*\).*/\1/p' <<<"$stats")
      ratios=$(awk -v r="$ratios" -v m="$moves" -v b="$bound" 'BEGIN { print r + m / b }')
      (( elapsed > worst )) && worst=$elapsed
      (( moves > longest )) && longest=$moves
    done
    awk -v n="$n" -v r="$ratios" -v c="$count" -v w="$worst" -v l="$longest" \
      'BEGIN { printf "%dx%d: %d boards, length/Manhattan %.3f, longest %d moves, slowest %d ms\n", n, n, c, r / c, l, w }'
  }
done
