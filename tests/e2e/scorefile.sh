#!/usr/bin/env bash
# End-to-end: two windows sharing one score file, a lock file that is a folder, and hostile score
# files in the start folder. Two windows each record a game: both records stay, and the file is
# never seen incomplete; past a broken lock file the record is written and the lock file named. Each
# hostile kind must let the window show before the start's deadline and under 100 MiB of memory,
# be told once, and be left exactly as it was after Alt+X; the scores then go to the data folder.
source "$(dirname "$0")/lib.sh"
e2e_setup "the score file"

# Both windows are open before either records; the first records, then the second, then both
# leave, told apart by their processes, while a reader keeps counting the file's lines.
folder="$E2E_TMP/shared"
mkdir -p "$folder"
e2e_default_scores >"$folder/Mozik.ini"
(
  looks=0
  until [ -e "$E2E_TMP/watch.stop" ]; do
    lines=$(tr -cd '\n' <"$folder/Mozik.ini" | wc -c)
    [ "$lines" = 80 ] || echo "a look found $lines lines" >>"$E2E_TMP/incomplete"
    looks=$((looks + 1))
    sleep 0.02
  done
  echo "$looks" >"$E2E_TMP/looks"
) &
watcher=$!
E2E_PIDS+=("$watcher")  # ended with the rest if the test fails
games=()
for x in 0 400; do
  e2e_start "$folder"
  xdotool windowmove "$E2E_WID" "$x" 0
  e2e_size 4
  e2e_play
  games+=("$(e2e_game)")
done
mapfile -t solutions < <(e2e_solutions "${games[@]}")
[ "${#solutions[@]}" = 2 ] || e2e_fail "mozik-solve answered ${#solutions[@]} boards"
names=(Anna Boris)
for i in 0 1; do
  e2e_use "${games[$i]}"
  e2e_focus "$E2E_WID"
  read -ra moves <<<"${solutions[$i]}"
  e2e_click_home "${moves[@]}"
  e2e_focus "$(e2e_window Message)"
  xdotool type --delay 20 "${names[$i]}"
  e2e_key Return
  e2e_answer "High Scores" Return
done
for game in "${games[@]}"; do
  e2e_use "$game"
  e2e_quit
done
touch "$E2E_TMP/watch.stop"
wait "$watcher"
[ ! -e "$E2E_TMP/incomplete" ] || e2e_fail "the score file was seen incomplete: $(head -n1 "$E2E_TMP/incomplete")"
for name in "${names[@]}"; do
  [ "$(head -n 20 "$folder/Mozik.ini" | grep -cx "$name"$'\r')" = 1 ] || e2e_fail "after both left, $name's record is not in the file once"
done
[ "$(ls "$folder")" = Mozik.ini ] || e2e_fail "left beside the file: $(ls "$folder")"
e2e_note "two windows on one file: Anna's and Boris's records both kept after both left; $(cat "$E2E_TMP/looks") looks never found the file incomplete"

# A lock file that is a folder: the record is written all the same, the box names the lock file,
# and the folder is left as it was.
folder="$E2E_TMP/locked"
mkdir -p "$folder/Mozik.ini.lock"
touch "$folder/Mozik.ini.lock/kept"
e2e_default_scores >"$folder/Mozik.ini"
e2e_start "$folder"
e2e_size 4
e2e_play
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
e2e_click_home "${moves[@]}"
e2e_focus "$(e2e_window Message)"
xdotool type --delay 20 Vera
e2e_key Return
e2e_wait_for '[ -n "$(e2e_state text.QMessageBox.qt_msgbox_label)" ]' "a box telling of the lock file"
told=$(e2e_state text.QMessageBox.qt_msgbox_label)
[[ $told == *"«$folder/Mozik.ini.lock»"*папка* ]] || e2e_fail "the box does not name the lock file: $told"
e2e_answer Mozik Return
e2e_answer "High Scores" Return
e2e_quit
[ "$(head -n 1 "$folder/Mozik.ini")" = $'Vera\r' ] || e2e_fail "the record is not in the file past the broken lock"
[ "$(ls -A "$folder/Mozik.ini.lock")" = kept ] || e2e_fail "the lock folder was changed"
e2e_note "a lock file that is a folder: the record written all the same; the box said \"$told\""

# Hostile kinds, each made afresh in its own folder and checked by what it was.
foreign="$E2E_TMP/foreign.txt"
describe() {
  stat -c '%F %U %s %Y %N' "$1"
  [ -L "$1" ] && stat -L -c '%F %U %s %Y' "$1" && [ -f "$foreign" ] && sha1sum <"$foreign"
  return 0
}
kinds=(pipe zero huge)
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then kinds+=(foreign); else e2e_note "(not root: no file of another user to link to)"; fi
for kind in "${kinds[@]}"; do
  folder="$E2E_TMP/$kind" file="$E2E_TMP/$kind/Mozik.ini"
  mkdir -p "$folder"
  case $kind in
    pipe) mkfifo "$file" ;;
    zero) ln -s /dev/zero "$file" ;;
    huge) truncate -s 1G "$file" ;;
    foreign) echo 'not yours' >"$foreign" && chown nobody "$foreign" && ln -s "$foreign" "$file" ;;
  esac
  before=$(describe "$file")
  started=$(date +%s%N)
  e2e_start "$folder"  # a file that held the start up would fail here, at the wait's deadline
  shown=$((($(date +%s%N) - started) / 1000000))
  e2e_answer Mozik Return
  memory=$(e2e_peak_memory)
  [ "$memory" -lt $((100 * 1024)) ] || e2e_fail "$kind: peak memory $memory KiB"
  e2e_quit
  [ "$(describe "$file")" = "$before" ] || e2e_fail "$kind: the file was changed"
  cmp -s "$E2E_DATA/Mozik/Mozik.ini" <(e2e_default_scores) || e2e_fail "$kind: no score file in the data folder"
  e2e_note "$kind: window in $shown ms, $((memory / 1024)) MiB at most, told once, left as it was"
done
