#!/usr/bin/env bash
# Installs what is missing, builds Mozik (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target mozik -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Mozik is built (build/mozik), but there is no desktop display to show its window: run scripts/run.sh from a desktop session, or under a virtual X server with: xvfb-run -s '-screen 0 1024x768x24' scripts/run.sh" >&2
  exit 1
fi
exec build/mozik
