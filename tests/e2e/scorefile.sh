#!/usr/bin/env bash
# End-to-end: where the score file lives, and hostile score files in the start folder. Each
# hostile kind must let the window show within 2 s and under 100 MiB of memory, be told once,
# and be left exactly as it was after Alt+X; the scores then go to the data folder.
# Usage: tests/e2e/scorefile.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: the score file"

# Beside an existing, usable Mozik.ini the game keeps using it and makes no other.
folder="$E2E_TMP/beside"
mkdir -p "$folder"
{ printf 'Anna\r\n12\r\n'; e2e_default_scores | tail -c +17; } >"$folder/Mozik.ini"
cp "$folder/Mozik.ini" "$E2E_TMP/expected.ini"
e2e_start "$folder"
e2e_key alt+x
e2e_wait_exit
cmp -s "$folder/Mozik.ini" "$E2E_TMP/expected.ini" || e2e_fail "the start folder's score file changed"
[ ! -e "$E2E_DATA/Mozik/Mozik.ini" ] || e2e_fail "a second score file appeared in the data folder"
e2e_note "an existing Mozik.ini in the start folder is used, and no other is made"

# Hostile kinds; each is made afresh in its own folder, and checked by what it was.
make_kind() {
  local folder=$1
  case $2 in
    pipe) mkfifo "$folder/Mozik.ini" ;;
    zero) ln -s /dev/zero "$folder/Mozik.ini" ;;
    huge) truncate -s 1G "$folder/Mozik.ini" ;;
    foreign)
      printf 'not yours\n' >"$E2E_TMP/foreign.txt"
      chown nobody "$E2E_TMP/foreign.txt"
      ln -s "$E2E_TMP/foreign.txt" "$folder/Mozik.ini" ;;
  esac
}
describe() {
  local path=$1
  stat -c '%F %U %s %Y %N' "$path"
  [ -L "$path" ] && stat -L -c '%F %U %s %Y' "$path" && [ -f "$E2E_TMP/foreign.txt" ] && sha1sum <"$E2E_TMP/foreign.txt"
  return 0
}
kinds=(pipe zero huge)
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then kinds+=(foreign); else e2e_note "(not root: no file of another user to link to)"; fi
for kind in "${kinds[@]}"; do
  folder="$E2E_TMP/$kind"
  mkdir -p "$folder"
  make_kind "$folder" "$kind"
  before=$(describe "$folder/Mozik.ini")
  started=$(date +%s%N)
  e2e_start "$folder"  # a file that held the start up would fail here, at the wait's deadline
  shown=$((($(date +%s%N) - started) / 1000000))
  e2e_close_error_box
  memory=$(e2e_peak_memory)
  [ "$memory" -lt $((100 * 1024)) ] || e2e_fail "$kind: peak memory $memory KiB"
  e2e_focus "$E2E_WID"
  e2e_key alt+x
  e2e_wait_exit
  [ "$(describe "$folder/Mozik.ini")" = "$before" ] || e2e_fail "$kind: the file was changed"
  cmp -s "$E2E_DATA/Mozik/Mozik.ini" <(e2e_default_scores) || e2e_fail "$kind: no score file in the data folder"
  e2e_note "$kind: window in $shown ms, $((memory / 1024)) MiB at most, told once, left as it was"
done
echo "End-to-end score file test passed."
