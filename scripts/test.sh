#!/usr/bin/env bash
# Installs what is missing, builds Mozik with its tests and runs them all: the unit tests on the
# offscreen platform, the end-to-end tests of the real program under a virtual X server (CTest
# label e2e) and the Debian package's (label package: made, installed, played and removed); then
# runs the unit tests once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

echo "== Release build, unit and end-to-end tests =="
# Configured as the Debian package is, which the package test then packs from this build.
source scripts/package-options.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=ON "${package_options[@]}" >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure

echo "== Sanitizer build and tests =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOZIK_TESTS=ON -DMOZIK_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize -j"$jobs" --output-on-failure -LE "e2e|package"
echo "All tests passed."
