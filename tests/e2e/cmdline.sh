#!/usr/bin/env bash
# End-to-end: the command line. --help, -h and --version answer on standard output with status 0;
# an unknown option or a missing value is one line and a hint to --help on standard error with
# status 2; none crashes. A picture whose name begins with a dash (after --) or is no valid text
# opens. Without a display the game ends with one line and status 1, not an abort.
source "$(dirname "$0")/lib.sh"
e2e_setup "the command line"
export LANGUAGE=ru  # the answers are read in Russian (tests/e2e/language.sh reads the English ones)

# expect STATUS ARGS...: runs the program, which must end with STATUS; its output in out and err.
out="$E2E_TMP/out" err="$E2E_TMP/err"
expect() {
  local want=$1 status=0
  shift
  "$MOZIK" "$@" >"$out" 2>"$err" || status=$?
  [ "$status" = "$want" ] || e2e_fail "mozik $*: status $status, not $want: $(cat "$err")"
}
for help in --help -h; do
  expect 0 "$help"
  grep -q '^Использование: mozik \[РИСУНОК\]$' "$out" && grep -q -- --version "$out" && [ ! -s "$err" ] ||
    e2e_fail "$help: no usage"
done
expect 0 --version
grep -qxE 'mozik [0-9]+(\.[0-9]+)+' "$out" || e2e_fail "--version printed $(cat "$out")"
version=$(cat "$out")
status=0  # an answer that cannot be written is an error
"$MOZIK" --help >/dev/full 2>"$err" || status=$?
[ "$status" = 1 ] && grep -q '^mozik: ' "$err" || e2e_fail "--help into a full disk: status $status"
# Refused: unknown options (one with a terminal escape, never echoed), missing values, a value
# where none is taken, a second picture; the help wins over what follows it.
for bad in --bogus -x --state-file --state-file= --help=yes "a.png b.png" $'--\e[31mred'; do
  # shellcheck disable=SC2086  # two pictures are two words
  expect 2 $bad
  [ ! -s "$out" ] && [ "$(wc -l <"$err")" = 2 ] && grep -q '^Справка: mozik --help$' "$err" && ! grep -q $'\e' "$err" ||
    e2e_fail "$bad: not one line and a hint: $(cat "$err")"
done
expect 0 a.png --help --bogus
expect 2 --bogus
e2e_note "--help and -h: the usage, status 0; --version: \"$version\"; unknown options, missing values, two pictures: status 2; --bogus says \"$(head -n1 "$err")\""

folder="$E2E_TMP/names"
mkdir -p "$folder"
convert -size 120x90 xc:teal "$folder/-teal.png"
odd=$(printf 'teal\377\376.png')
cp "$folder/-teal.png" "$folder/$odd"
for name in -teal.png "$odd"; do
  e2e_start "$folder" -- "$name"
  e2e_wait_for '[[ "$(e2e_state title)" == *teal*.png"  -  5 x 5" ]]' "the picture (title $(e2e_state title))"
  e2e_quit
done
e2e_note "\"mozik -- -teal.png\" and a name of bytes that are no valid UTF-8 both open their picture"

# No display named, one that is not there, a platform that does not start: a first line that names
# the problem, Qt's own words indented under it, status 1; what needs no window still answers.
absent=4000
while [ -e "/tmp/.X11-unix/X$absent" ] || [ -e "/tmp/.X$absent-lock" ]; do absent=$((absent + 1)); done
no_window() {
  local want=$1 qt=$2 status=0
  shift 2
  (cd "$E2E_TMP" && env -u WAYLAND_DISPLAY "$@" timeout 60 "$MOZIK" >"$out" 2>"$err") || status=$?
  [ "$status" = 1 ] && [ ! -s "$out" ] && head -n1 "$err" | grep -q "^mozik: .*$want" &&
    tail -n +2 "$err" | grep -q "^  .*$qt" && ! tail -n +2 "$err" | grep -qv "^  " ||
    e2e_fail "$* mozik: status $status, not 1 with a line naming \"$want\" and Qt's \"$qt\" indented: $(cat "$err")"
  [ -z "$(find "$E2E_TMP" -maxdepth 1 -name 'core*')" ] || e2e_fail "$* mozik: a core dump"
  e2e_note "$*: \"$(head -n1 "$err")\", then Qt: \"$(grep -m1 "$qt" "$err" | sed 's/^ *//')\""
}
no_window "нет дисплея" "no Qt platform plugin could be initialized" -u DISPLAY
no_window "к дисплею «:$absent»" "could not connect to display :$absent" DISPLAY=":$absent"
no_window "платформа «nowhere»" "Could not find the Qt platform plugin \"nowhere\"" QT_QPA_PLATFORM=nowhere
DISPLAY=":$absent" expect 0 --version
DISPLAY=":$absent" expect 2 --bogus
[ "$(echo "3 1 2 3 4 5 6 0 7 8" | env -u DISPLAY "$(dirname "$MOZIK")/mozik-solve")" = "2 7 8" ] ||
  e2e_fail "mozik-solve without a display"
e2e_note "--version, --bogus and mozik-solve answer without a display"
