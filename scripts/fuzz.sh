#!/usr/bin/env bash
# Builds the picture reading fuzzer (fuzz/) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it for SECONDS (600 by default) over a corpus that starts
# from the pictures the tests make and the inputs kept in tests/data/fuzz. What it finds is written
# to build-fuzz/findings/; keep each in tests/data/fuzz once it is fixed. A run is slow under the
# sanitizers and on a busy machine: an input is taken to hang only after 30 seconds.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

scripts/setup.sh
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DMOZIK_SANITIZE=ON -DMOZIK_FUZZ=ON -DMOZIK_TESTS=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target mozik-fuzz-pictures mozik-test-pictures

corpus=build-fuzz/corpus
mkdir -p "$corpus" build-fuzz/findings build-fuzz/seeds
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen build-fuzz/tests/e2e/mozik-test-pictures --seeds build-fuzz/seeds
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
build-fuzz/mozik-fuzz-pictures "$corpus" build-fuzz/seeds tests/data/fuzz tests/data/pictures \
  -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -max_len=65536 \
  -artifact_prefix=build-fuzz/findings/ -print_final_stats=1
