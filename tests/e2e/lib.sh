# Helpers for driving the real program under a virtual X server, sourced by the end-to-end tests
# (usage: tests/e2e/SCRIPT.sh [path/to/mozik]). The program tells what it shows through its
# --state-file report, tiles' places on the screen included; every wait polls with a deadline, so
# a test that goes wrong fails instead of hanging.
set -euo pipefail
MOZIK=$(realpath "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/mozik}")

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_note() {
  echo "  $*"
}

# e2e_setup TITLE [wm]: a virtual X server of 1920 x 1200 on a free display (with Debian's openbox
# as window manager when asked), and a scratch folder that also holds the data, settings, cache and
# state folders of whatever the script runs; all go at exit.
e2e_setup() {
  unset QT_QPA_PLATFORM  # a real X server, whatever the unit tests run on
  # The game speaks Russian, in which the scripts read its texts, whatever the machine's locale
  # (LANGUAGE comes first): E2E_ENV, the variables each start is given, may say otherwise. The
  # tools the scripts read keep the machine's language.
  E2E_ENV=(LANGUAGE=ru)
  E2E_TITLE=$1 E2E_TMP=$(mktemp -d) E2E_STARTS=0 E2E_PID="" E2E_PIDS=()
  export XDG_DATA_HOME="$E2E_TMP/xdg/data" XDG_CONFIG_HOME="$E2E_TMP/xdg/config" XDG_CACHE_HOME="$E2E_TMP/xdg/cache"
  export XDG_STATE_HOME="$E2E_TMP/xdg/state"
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
  trap e2e_cleanup EXIT
  echo "== End-to-end: $E2E_TITLE"
  exec 9>"$E2E_TMP/display"
  Xvfb -displayfd 9 -screen 0 1920x1200x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB=$!
  e2e_wait_for '[ -s "$E2E_TMP/display" ]' "the virtual X server" 5
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  [ "${2:-}" = wm ] || return 0
  openbox --sm-disable >>"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=("$!")
  e2e_wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' "the window manager"
}

e2e_cleanup() {
  local status=$? pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$E2E_TMP"
  [ "$status" != 0 ] || echo "End-to-end test passed: $E2E_TITLE."
}

# e2e_start FOLDER [ARGS...]: starts the game in FOLDER (made if missing) with a state report and
# waits for its window. Each start has its own data ($E2E_DATA, where the score file goes unless the
# start folder has one), settings ($E2E_CONFIG), cache ($E2E_CACHE) and state ($E2E_STATE_HOME,
# where a game left in progress is kept) folders in $E2E_HOME; with E2E_REUSE_HOME=1 it shares
# those of the start before. E2E_PID, E2E_WID and E2E_STATE then name
# this start's process, main window and report (see e2e_game). A picture named on the command line
# may come after the window.
e2e_start() {
  local folder=$1
  shift
  mkdir -p "$folder"
  E2E_STARTS=$((E2E_STARTS + 1))
  [ "${E2E_REUSE_HOME:-0}" = 1 ] && [ -n "${E2E_HOME:-}" ] || E2E_HOME="$E2E_TMP/start-$E2E_STARTS"
  E2E_DATA="$E2E_HOME/data" E2E_CONFIG="$E2E_HOME/config" E2E_CACHE="$E2E_HOME/cache" E2E_STATE_HOME="$E2E_HOME/state"
  mkdir -p "$E2E_DATA" "$E2E_CONFIG" "$E2E_CACHE" "$E2E_STATE_HOME"
  E2E_STATE="$E2E_TMP/state-$E2E_STARTS"
  (cd "$folder" && XDG_DATA_HOME="$E2E_DATA" XDG_CONFIG_HOME="$E2E_CONFIG" XDG_CACHE_HOME="$E2E_CACHE" \
    XDG_STATE_HOME="$E2E_STATE_HOME" exec env "${E2E_ENV[@]}" "$MOZIK" --state-file "$E2E_STATE" "$@" >>"$E2E_TMP/mozik.log" 2>&1) &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  e2e_wait_for 'grep -qs "^client=" "$E2E_STATE"' "the main window"
  E2E_WID=$(e2e_window ".*  -  [1-7] x [1-7]")  # whatever picture the caption names by then
  e2e_give_focus "$E2E_WID"  # not waited for: a box telling of the picture may come first
}

# e2e_game: the game now in hand, to take in hand again with e2e_use.
e2e_game() {
  echo "$E2E_PID $E2E_WID $E2E_STATE"
}

e2e_use() {
  read -r E2E_PID E2E_WID E2E_STATE <<<"$1"
}

# e2e_focus WINDOW: gives the window the keyboard, the main window until the game reports it
# active: when a dialog over it closes, the game may miss the focus X gives back and drop its keys;
# it is then given the focus by way of the root window.
e2e_focus() {
  local i
  e2e_give_focus "$1"
  [ "$1" = "${E2E_WID:-}" ] && grep -qs "^active=" "$E2E_STATE" || return 0  # an older build's report has no key
  for i in $(seq 200); do  # some ten seconds
    [ "$(e2e_state active)" = 1 ] && return 0
    if [ $((i % 10)) = 0 ]; then
      e2e_give_focus "$(xdotool search --maxdepth 0 --name '' | head -n1)"
      e2e_give_focus "$1"
    fi
    sleep 0.05
  done
  e2e_fail "the main window never became active"
}

e2e_give_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}

# e2e_wait_for CONDITION WHAT [SECONDS]: polls a shell condition until it holds.
e2e_wait_for() {
  local deadline=$((SECONDS + ${3:-10}))
  until eval "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $2"
    sleep 0.05
  done
}

# e2e_state KEY: a value of the last report; e2e_expect KEY VALUE: waits until the report says so.
e2e_state() {
  sed -n "s/^$1=//p" "$E2E_STATE"
}

e2e_expect() {
  e2e_wait_for "[ \"\$(e2e_state $1)\" = \"$2\" ]" "$1=$2 (it says $1=$(e2e_state "$1"))"
}

e2e_key() {
  xdotool key --clearmodifiers "$@"
}

# e2e_size N: chooses the N x N board from the Size menu; e2e_play: starts a game with F2.
e2e_size() {
  e2e_menu s "$1"
  e2e_expect size "$1"
}

e2e_play() {
  e2e_focus "$E2E_WID"
  e2e_key F2
  e2e_expect running 1
}

# e2e_quit: Alt+X in the main window, and the program's end.
e2e_quit() {
  e2e_focus "$E2E_WID"
  e2e_key alt+x
  e2e_wait_for '! kill -0 "$E2E_PID" 2>/dev/null' "the program to end"
  wait "$E2E_PID" || e2e_fail "the program ended with status $?"
  E2E_PID=""
}

# e2e_tile P: where the tile at position P lies on the screen, "WxH+X+Y"; e2e_tile_middle P: the
# middle of it, "X Y".
e2e_tile() {
  e2e_state "tile\\.$1"
}

e2e_tile_middle() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$(e2e_tile "$1")"
  [ -n "$y" ] || e2e_fail "the report places no tile at $1"
  echo "$((x + w / 2)) $((y + h / 2))"
}

e2e_click_tile() {
  local at
  at=$(e2e_tile_middle "$1")
  xdotool mousemove --sync ${at% *} ${at#* } click 1
}

# e2e_neighbours: positions beside the gap.
e2e_neighbours() {
  local n gap
  n=$(e2e_state size)
  gap=$(e2e_state gap)
  [ $(((gap - 1) % n)) -gt 0 ] && echo $((gap - 1))
  [ $(((gap - 1) % n)) -lt $((n - 1)) ] && echo $((gap + 1))
  [ "$gap" -gt "$n" ] && echo $((gap - n))
  [ "$gap" -le $((n * n - n)) ] && echo $((gap + n))
  return 0
}

# The score file of a fresh table: "Неизвестный" (code page 1251) and "0", 40 times, CRLF.
e2e_default_scores() {
  local i
  for i in $(seq 40); do printf '\315\345\350\347\342\345\361\362\355\373\351\r\n0\r\n'; done
}

# e2e_pixel WINDOW X Y: the colour of a pixel of a window (root: the screen), as "srgb(r,g,b)".
e2e_pixel() {
  import -window "$1" -crop "1x1+$2+$3" +repage -format '%[pixel:p{0,0}]' info: 2>/dev/null
}

# e2e_window PATTERN [PID]: waits for a visible window of the process (this start's by default)
# whose whole name matches the pattern, prints its id.
e2e_window() {
  local id="" pattern="^$1\$" pid=${2:-$E2E_PID}
  e2e_wait_for 'id=$(e2e_windows_named "$pattern" "$pid" | head -n1); [ -n "$id" ]' "a window \"$1\""
  echo "$id"
}

e2e_windows_named() {
  xdotool search --all --onlyvisible --pid "${2:-$E2E_PID}" --name "$1" 2>/dev/null
}

# e2e_answer TITLE KEY: waits for this start's window of that title (Mozik: an error box), answers
# it with the key and waits until it is gone.
e2e_answer() {
  e2e_focus "$(e2e_window "$1")"
  e2e_key "$2"
  e2e_wait_for '[ -z "$(e2e_windows_named "^$1\$")" ]' "the window \"$1\" to close"
}

# e2e_open_with_f3 PATH: opens the picture through F3's dialog, typing its name once the dialog
# has listed its folder.
e2e_open_with_f3() {
  e2e_focus "$E2E_WID"
  e2e_key F3
  e2e_focus "$(e2e_window "Открыть")"
  sleep 0.5
  e2e_key ctrl+a
  xdotool type --delay 10 "$1"
  e2e_key Return
}

e2e_window_size() {
  xwininfo -id "$E2E_WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# e2e_peak_memory: the program's peak resident memory in KiB.
e2e_peak_memory() {
  awk '/^VmHWM:/ {print $2}' "/proc/$E2E_PID/status"
}

# e2e_shot WINDOW GEOMETRY FILE: a photograph of part of a window (root: the screen), taken once
# two shots a moment apart agree (the window may still be drawing what its report says).
e2e_shot() {
  local window=$1 geometry=$2 shot=$3
  import -window "$window" -crop "$geometry" +repage "$shot" 2>/dev/null
  e2e_wait_for 'sleep 0.1; cp "$shot" "$shot.last"; import -window "$window" -crop "$geometry" +repage "$shot" 2>/dev/null; e2e_same_picture "$shot" "$shot.last"' "the window to settle"
  rm -f "$shot.last"
}

e2e_same_picture() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]
}

# e2e_solutions GAME...: for each game (see e2e_game), a line of the tiles that bring its 4 x 4
# board home, from one run of mozik-solve (its tables built once, into a scratch cache folder).
e2e_solutions() {
  local game
  for game in "$@"; do
    echo "4 $(sed -n 's/^grid=//p' "${game##* }")"
  done | XDG_CACHE_HOME="$E2E_TMP/solver-cache" "$(dirname "$MOZIK")/mozik-solve" | sed -E 's/^[0-9]+ ?//'
}

# e2e_click_home TILES...: clicks the tiles in turn, each once it lies beside the gap.
e2e_click_home() {
  local tile at i grid
  for tile in "$@"; do
    read -ra grid <<<"$(e2e_state grid)"
    for i in "${!grid[@]}"; do [ "${grid[$i]}" = "$tile" ] && at=$((i + 1)); done
    e2e_click_tile "$at"
    e2e_wait_for '[ "$(e2e_state gap)" = "$at" ] || [ "$(e2e_state running)" = 0 ]' "tile $tile to slide"
  done
}

# e2e_menu MENU-KEY [ITEM-KEY]: opens a menu by its access key, waits until it shows, and chooses
# the item.
e2e_menu() {
  local shown
  shown=$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)
  e2e_key "alt+$1"
  e2e_wait_for "[ \$(xdotool search --onlyvisible --pid $E2E_PID 2>/dev/null | wc -l) -gt $shown ]" "the menu of alt+$1 to open"
  [ -z "${2:-}" ] || e2e_key "$2"
}
