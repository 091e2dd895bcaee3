#!/usr/bin/env bash
# End-to-end: the command line. --help and -h print the usage on standard output and --version the
# version, with status 0; an unknown option, a missing value or a second picture prints one line
# and a hint to --help on standard error, with status 2. None needs a display, none crashes. A
# picture whose name begins with a dash (after --) or is no valid text opens.
# Usage: tests/e2e/cmdline.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: the command line"

# answer [ARGS...]: runs the program with the arguments; its status in $status, its output in
# out and err. Without a display, unless DISPLAY is given.
answer() {
  status=0
  env -u WAYLAND_DISPLAY DISPLAY="${display:-}" "$MOZIK" "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
}

for display in "" "$DISPLAY"; do
  for help in --help -h; do
    answer "$help"
    [ "$status" = 0 ] || e2e_fail "$help: status $status"
    grep -q '^Использование: mozik \[РИСУНОК\]$' "$E2E_TMP/out" || e2e_fail "$help: no usage: $(head -n2 "$E2E_TMP/out")"
    for shown in --help --version РИСУНОК; do
      grep -qe "$shown" "$E2E_TMP/out" || e2e_fail "$help does not tell $shown"
    done
    ! grep -qe '--state-file\|--startup-probe' "$E2E_TMP/out" || e2e_fail "$help lists a test switch"
    [ ! -s "$E2E_TMP/err" ] || e2e_fail "$help wrote an error: $(cat "$E2E_TMP/err")"
  done
  answer --version
  [ "$status" = 0 ] || e2e_fail "--version: status $status"
  grep -qxE 'mozik [0-9]+(\.[0-9]+)+' "$E2E_TMP/out" || e2e_fail "--version printed: $(cat "$E2E_TMP/out")"
  version=$(cat "$E2E_TMP/out")
  for bad in --bogus -x --state-file "a.png b.png"; do
    # shellcheck disable=SC2086  # the second picture is a word of its own
    answer $bad
    [ "$status" = 2 ] || e2e_fail "$bad: status $status"
    [ ! -s "$E2E_TMP/out" ] || e2e_fail "$bad wrote on standard output"
    [ "$(wc -l <"$E2E_TMP/err")" = 2 ] && grep -q '^mozik: ' "$E2E_TMP/err" && tail -n1 "$E2E_TMP/err" | grep -q -- 'mozik --help' ||
      e2e_fail "$bad: not one line and a hint: $(cat "$E2E_TMP/err")"
  done
done
e2e_note "--help and -h: usage, status 0; --version: \"$version\"; --bogus, -x, --state-file without a file, two pictures: status 2; with and without a display"
answer --bogus
e2e_note "mozik --bogus says: $(head -n1 "$E2E_TMP/err")"

# Pictures whose names a parser or a text decoder could mistake.
folder="$E2E_TMP/names"
mkdir -p "$folder"
convert -size 120x90 xc:teal "$folder/-teal.png"
cp "$folder/-teal.png" "$folder/$(printf 'teal\377\376.png')"
e2e_start "$folder" -- -teal.png
[ "$(e2e_state title)" = "-teal.png  -  5 x 5" ] || e2e_fail "title: $(e2e_state title)"
e2e_key alt+x
e2e_wait_exit
e2e_start "$folder" "$(printf 'teal\377\376.png')"
case "$(e2e_state title)" in
  teal*.png"  -  5 x 5") ;;
  *) e2e_fail "the picture with a name of no valid text did not open: title $(e2e_state title)" ;;
esac
e2e_key alt+x
e2e_wait_exit
e2e_note "\"mozik -- -teal.png\" and a name of bytes that are no valid UTF-8 both open their picture"
echo "End-to-end command line test passed."
