#!/usr/bin/env bash
# Runs every end-to-end script (or those named) N times against the build in build/, and prints
# for each how many of its runs passed. The scripts take turns (the first run of each, then the
# second, ...), so that a loop cut short by its time has run each about as often. The output of
# every run is kept in build/e2e-loop/, that of a failed one named on the tally.
#   --jobs J   J runs at once, each on an X server of its own (default 1)
#   --minutes M  no run started after M minutes (the tally counts the runs made)
#   --load     two builds of the whole project beside the runs the whole time, each in a scratch
#              folder of its own with two jobs and without the compiler cache, over and over: the
#              load the suite must bear
# Usage: scripts/e2e-loop.sh [--jobs J] [--minutes M] [--load] N [SCRIPT...]   (SCRIPT: board, hints, ...)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=1 load=0 one=0 minutes=0
while [ $# -gt 0 ]; do
  case $1 in
    --jobs) jobs=$2; shift 2 ;;
    --load) load=1; shift ;;
    --minutes) minutes=$2; shift 2 ;;
    --one) one=1; shift; break ;;
    *) break ;;
  esac
done

# --one SCRIPT RUN (the loop's own call): one run, its output in the log folder, its outcome in a
# file beside it.
if [ "$one" = 1 ]; then
  log="$E2E_LOOP_OUT/$1.$2"
  [ "$E2E_LOOP_UNTIL" = 0 ] || [ "$(date +%s)" -lt "$E2E_LOOP_UNTIL" ] || exit 0  # out of time: not run
  started=$SECONDS
  if "tests/e2e/$1.sh" build/mozik >"$log.log" 2>&1; then outcome=pass; else outcome=fail; fi
  echo "$outcome $((SECONDS - started))" >"$log.outcome"
  echo "$1 run $2: $outcome in $((SECONDS - started)) s"
  exit 0
fi

usage="usage: scripts/e2e-loop.sh [--jobs J] [--minutes M] [--load] N [SCRIPT...]"
runs=${1:-}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "$usage" >&2; exit 2; }  # before the last loop's logs go
shift
scripts=("$@")
if [ ${#scripts[@]} = 0 ]; then
  mapfile -t scripts < <(sed -n 's/^foreach(script \(.*\))$/\1/p' tests/e2e/CMakeLists.txt | tr ' ' '\n')
fi
[ -d build ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=ON >/dev/null
cmake --build build -j2 --target mozik mozik-solve mozik-test-pictures mozik_sound >/dev/null

export E2E_LOOP_OUT="$PWD/build/e2e-loop" E2E_LOOP_UNTIL=0
[ "$minutes" = 0 ] || E2E_LOOP_UNTIL=$(($(date +%s) + minutes * 60))
rm -rf "$E2E_LOOP_OUT"
mkdir -p "$E2E_LOOP_OUT"
helpers=()
stop_helpers() {
  local pid
  for pid in "${helpers[@]}"; do kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_LOOP_OUT"/load-*/build
}
trap stop_helpers EXIT
trap 'exit 130' INT TERM  # the builds, in sessions of their own, stopped too

if [ "$load" = 1 ]; then
  for builder in 1 2; do
    folder="$E2E_LOOP_OUT/load-$builder"
    mkdir -p "$folder"
    setsid bash -c 'while :; do
        rm -rf "$0/build"
        cmake -S . -B "$0/build" -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=ON >/dev/null
        CCACHE_DISABLE=1 cmake --build "$0/build" -j2 >/dev/null 2>&1 || true
        echo built >>"$0/builds"
      done' "$folder" &
    helpers+=("$!")
  done
fi
# The machine's load, every 30 seconds.
(while :; do cut -d' ' -f1 /proc/loadavg >>"$E2E_LOOP_OUT/load"; sleep 30; done) &
helpers+=("$!")

started=$SECONDS
for run in $(seq "$runs"); do
  for script in "${scripts[@]}"; do echo "$script $run"; done
done | xargs -P "$jobs" -n 2 "$0" --one

echo
echo "== $runs runs of each script$([ "$minutes" = 0 ] || echo " at most, none started after $minutes minutes"), $jobs at a time$([ "$load" = 1 ] && echo ", two builds beside them"), in $(((SECONDS - started) / 60)) minutes"
awk '{s += $1; if (min == "" || $1 < min) min = $1; if ($1 > max) max = $1} END {if (NR) printf "load average (1 minute, every 30 s): %.1f to %.1f, mean %.1f, on %d cores\n", min, max, s / NR, '"$(nproc)"'}' "$E2E_LOOP_OUT/load"
[ "$load" = 0 ] || echo "builds finished beside the runs: $(cat "$E2E_LOOP_OUT"/load-*/builds 2>/dev/null | wc -l)"
failed=0
for script in "${scripts[@]}"; do
  passes=0 fails=() slowest=0 made=0
  for run in $(seq "$runs"); do
    [ -e "$E2E_LOOP_OUT/$script.$run.outcome" ] || continue
    made=$((made + 1))
    read -r outcome seconds <"$E2E_LOOP_OUT/$script.$run.outcome"
    [ "$seconds" -le "$slowest" ] || slowest=$seconds
    if [ "$outcome" = pass ]; then passes=$((passes + 1)); else fails+=("$run"); fi
  done
  printf '%-10s %2d of %d passed, the slowest run %d s' "$script" "$passes" "$made" "$slowest"
  if [ ${#fails[@]} -gt 0 ]; then
    failed=1
    printf '; failed: runs %s (%s)' "${fails[*]}" "$(grep -h '^FAIL' "$E2E_LOOP_OUT/$script.${fails[0]}.log" | head -n1)"
  fi
  echo
done
exit "$failed"
