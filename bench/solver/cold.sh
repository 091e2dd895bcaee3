#!/usr/bin/env bash
# Shortest 4 x 4 solving from a cold start, two builds side by side: each round runs one
# mozik-solve process per build on the benchmark's 100 seeded positions (all on its input, an
# empty cache folder, so that the tables are built and stored), the builds taking turns. Prints
# each run's time, the best of each build and their ratio, and whether every answer has the same
# length in both (both searches give shortest answers, so they must).
#   bench/solver/cold.sh BUILD_DIR OTHER_BUILD_DIR [ROUNDS]
set -euo pipefail
build="${1:?usage: cold.sh BUILD_DIR OTHER_BUILD_DIR [ROUNDS]}"
other="${2:?usage: cold.sh BUILD_DIR OTHER_BUILD_DIR [ROUNDS]}"
rounds="${3:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/solver/random_boards" 4 100 2024 >"$work/boards"

# Seconds one cold run of the build's mozik-solve takes; its answers' lengths go to the file.
run() {
  rm -rf "$work/cache" && mkdir "$work/cache"
  local started elapsed
  started=$(date +%s%N)
  XDG_CACHE_HOME="$work/cache" "$1/mozik-solve" <"$work/boards" | cut -d' ' -f1 >"$2"
  elapsed=$(( $(date +%s%N) - started ))
  awk -v ns="$elapsed" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

best=999 bestOther=999
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 1; r <= rounds; ++r)); do
  t=$(run "$build" "$work/lengths")
  o=$(run "$other" "$work/lengths.other")
  echo "round $r: $build ${t} s, $other ${o} s"
  best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (b < a ? b : a) }')
  bestOther=$(awk -v a="$bestOther" -v b="$o" 'BEGIN { print (b < a ? b : a) }')
  cmp -s "$work/lengths" "$work/lengths.other" || echo "round $r: the answers' lengths differ"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v a="$best" -v b="$bestOther" 'BEGIN { printf "best: %.3f s against %.3f s, ratio %.3f\n", a, b, a / b }'
