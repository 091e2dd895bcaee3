#!/usr/bin/env bash
# End-to-end: the command line. --help, -h and --version answer on standard output with status 0;
# an unknown option or a missing value is one line and a hint to --help on standard error with
# status 2; none crashes. A picture whose name begins with a dash (after --) or is no valid text
# opens. Without a display the game ends with one line and status 1, not an abort.
# Usage: tests/e2e/cmdline.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: the command line"
# expect STATUS ARGS...: runs the program, which must end with STATUS; its output in out and err.
expect() {
  local want=$1 status=0
  shift
  "$MOZIK" "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
  [ "$status" = "$want" ] || e2e_fail "mozik $*: status $status, not $want: $(cat "$E2E_TMP/err")"
}
for help in --help -h; do
  expect 0 "$help"
  grep -q '^Использование: mozik \[РИСУНОК\]$' "$E2E_TMP/out" && grep -q -- --version "$E2E_TMP/out" &&
    [ ! -s "$E2E_TMP/err" ] || e2e_fail "$help: no usage"
done
expect 0 --version
grep -qxE 'mozik [0-9]+(\.[0-9]+)+' "$E2E_TMP/out" || e2e_fail "--version printed $(cat "$E2E_TMP/out")"
version=$(cat "$E2E_TMP/out")
status=0  # an answer that cannot be written is an error
"$MOZIK" --help >/dev/full 2>"$E2E_TMP/err" || status=$?
[ "$status" = 1 ] && grep -q '^mozik: ' "$E2E_TMP/err" || e2e_fail "--help into a full disk: status $status"
# Refused: unknown options (one of them with a terminal escape, never echoed), missing values, a
# value where none is taken, a second picture; the help wins over what follows it.
for bad in --bogus -x --state-file --state-file= --help=yes "a.png b.png" $'--\e[31mred'; do
  # shellcheck disable=SC2086  # two pictures are two words
  expect 2 $bad
  [ ! -s "$E2E_TMP/out" ] && [ "$(wc -l <"$E2E_TMP/err")" = 2 ] && grep -q '^Справка: mozik --help$' "$E2E_TMP/err" &&
    ! grep -q $'\e' "$E2E_TMP/err" || e2e_fail "$bad: not one line and a hint: $(cat "$E2E_TMP/err")"
done
expect 0 a.png --help --bogus
expect 2 --bogus
e2e_note "--help and -h: the usage, status 0; --version: \"$version\"; unknown options, missing values, two pictures: status 2; --bogus says \"$(head -n1 "$E2E_TMP/err")\""

# Pictures whose names a parser or a text decoder could mistake.
folder="$E2E_TMP/names"
mkdir -p "$folder"
convert -size 120x90 xc:teal "$folder/-teal.png"
odd=$(printf 'teal\377\376.png')
cp "$folder/-teal.png" "$folder/$odd"
for name in -teal.png "$odd"; do
  e2e_start "$folder" -- "$name"
  e2e_wait_for '[[ "$(e2e_state title)" == *teal*.png"  -  5 x 5" ]]' "the picture (title $(e2e_state title))"
  e2e_key alt+x
  e2e_wait_exit
done
e2e_note "\"mozik -- -teal.png\" and a name of bytes that are no valid UTF-8 both open their picture"

# Without a window system: no display named, one that is not there, a platform that does not
# start. One line that names the problem, status 1, never an abort; what needs no window still
# answers, and the solver needs no display at all.
absent=4000
while [ -e "/tmp/.X11-unix/X$absent" ] || [ -e "/tmp/.X$absent-lock" ]; do absent=$((absent + 1)); done
no_window() {
  local want=$1
  shift
  status=0
  (cd "$E2E_TMP" && env -u WAYLAND_DISPLAY "$@" timeout 60 "$MOZIK" >"$E2E_TMP/out" 2>"$E2E_TMP/err") || status=$?
  [ "$status" = 1 ] && [ ! -s "$E2E_TMP/out" ] && [ "$(wc -l <"$E2E_TMP/err")" = 1 ] && grep -q "^mozik: .*$want" "$E2E_TMP/err" ||
    e2e_fail "$* mozik: status $status, not 1 with one line naming \"$want\": $(cat "$E2E_TMP/err")"
  [ -z "$(find "$E2E_TMP" -maxdepth 1 -name 'core*')" ] || e2e_fail "$* mozik: a core dump"
}
no_window "нет дисплея" -u DISPLAY
e2e_note "no display: \"$(cat "$E2E_TMP/err")\""
no_window "к дисплею «:$absent»" DISPLAY=":$absent"
e2e_note "a display that is not there: \"$(cat "$E2E_TMP/err")\""
no_window "платформа «nowhere»" QT_QPA_PLATFORM=nowhere
DISPLAY=":$absent" expect 0 --version
DISPLAY=":$absent" expect 2 --bogus
echo "3 1 2 3 4 5 6 0 7 8" | env -u DISPLAY "$(dirname "$MOZIK")/mozik-solve" >"$E2E_TMP/out" || e2e_fail "mozik-solve without a display"
[ "$(cat "$E2E_TMP/out")" = "2 7 8" ] || e2e_fail "mozik-solve without a display answered $(cat "$E2E_TMP/out")"
e2e_note "a platform that does not start: status 1 and one line; --version, --bogus and mozik-solve answer without a display"
echo "End-to-end command line test passed."
