#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all; extra arguments go to every program,
# for example --benchmark_filter=Effect.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=OFF -DMOZIK_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)"
for program in build-bench/bench/*/*_bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program") =="
  QT_QPA_PLATFORM=offscreen "$program" "$@"
done
echo "== fast solver in fresh processes =="
bench/solver/fresh.sh build-bench
echo "== start-up =="
bench/startup/measure.sh 21 build-bench
