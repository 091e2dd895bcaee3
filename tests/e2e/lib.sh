# Helpers for driving the real program under a virtual X server, sourced by the end-to-end tests
# (usage: tests/e2e/SCRIPT.sh [path/to/mozik]). The program tells what it shows through its
# --state-file report, tiles' places on the screen included; every wait polls its condition with a
# deadline and names it when it gives up, so a test that goes wrong fails instead of hanging, and a
# command that fails where no check expects it names itself too (no script ends without a word).
#
# Nothing here may fail because the machine is busy: deadlines are hang guards, generous enough for
# a loaded machine (E2E_DEADLINE seconds unless a wait says otherwise), and a time a test bounds is
# printed as it was on the clock but held on the program's CPU time (see e2e_bounded).
set -eEuo pipefail
MOZIK=$(realpath "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/mozik}")
E2E_DEADLINE=${E2E_DEADLINE:-60}

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_note() {
  echo "  $*"
}

# A command that fails outside every check would end the script silently (set -e): it is named.
# Inside a command substitution the caller decides what a failure means (a substitution that fails
# an assignment is named there).
e2e_failed_command() {
  [ "$BASH_SUBSHELL" = 0 ] || return 0
  e2e_fail "\"$2\" ended with status $1 (${BASH_SOURCE[1]##*/}, line ${BASH_LINENO[0]})"
}
trap 'e2e_failed_command $? "$BASH_COMMAND"' ERR
# A script stopped from outside says so (its end would otherwise report it passed).
trap 'e2e_fail "stopped by SIGTERM"' TERM
trap 'e2e_fail "stopped by SIGINT"' INT

# e2e_setup TITLE [wm]: a virtual X server of 1920 x 1200 (E2E_SCREEN=WxH for another size) on a
# display of its own (with Debian's openbox as window manager when asked), and a scratch folder that
# also holds the data, settings, cache and state folders of whatever the script runs; all go at exit.
e2e_setup() {
  unset QT_QPA_PLATFORM  # a real X server, whatever the unit tests run on
  # The game speaks Russian, in which the scripts read its texts, whatever the machine's locale
  # (LANGUAGE comes first): E2E_ENV, the variables each start is given, may say otherwise. The
  # tools the scripts read keep the machine's language.
  E2E_ENV=(LANGUAGE=ru)
  E2E_TITLE=$1 E2E_TMP=$(mktemp -d) E2E_STARTS=0 E2E_PID="" E2E_PIDS=() E2E_XVFB=""
  export XDG_DATA_HOME="$E2E_TMP/xdg/data" XDG_CONFIG_HOME="$E2E_TMP/xdg/config" XDG_CACHE_HOME="$E2E_TMP/xdg/cache"
  export XDG_STATE_HOME="$E2E_TMP/xdg/state"
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
  trap e2e_cleanup EXIT
  echo "== End-to-end: $E2E_TITLE"
  e2e_start_x_server
  [ "${2:-}" = wm ] || return 0
  openbox --sm-disable >>"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=("$!")
  e2e_wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' "the window manager"
}

# Display numbers are handed out in turn from a counter kept under a lock in /tmp, from 1000 up to
# 9999 and round again, skipping any that a server holds (its lock, its socket in the file system
# or in the abstract namespace). A number is thus never taken again while the server that had it
# may still be closing: Xvfb's own -displayfd choice, the lowest free number, could be, and a
# client then reached the old server's socket, or none once the old server unlinked it.
E2E_DISPLAY_COUNTER=/tmp/mozik-e2e-displays-$(id -u)
e2e_display_free() {
  [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ] && ! grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix
}

e2e_next_display() {
  local lock n tries=0
  exec {lock}>>"$E2E_DISPLAY_COUNTER"
  flock -w "$E2E_DEADLINE" "$lock" || e2e_fail "the display counter $E2E_DISPLAY_COUNTER stayed locked"
  n=$(cat "$E2E_DISPLAY_COUNTER")
  [[ $n =~ ^[0-9]+$ ]] || n=999
  while :; do
    n=$((n >= 9999 || n < 1000 ? 1000 : n + 1))
    e2e_display_free "$n" && break
    tries=$((tries + 1))
    [ "$tries" -lt 9000 ] || e2e_fail "no free display number from 1000 to 9999"
  done
  echo "$n" >"$E2E_DISPLAY_COUNTER"
  exec {lock}>&-
  echo "$n"
}

# The server writes its number to the -displayfd pipe once it listens, so a client started then
# connects; a server that cannot start on its number (another program took it meanwhile) is
# replaced by one on the next. It never resets: by default an X server starts afresh whenever its
# last client leaves, and a client that connects in that moment (the window manager or the game
# right after a short-lived xdotool) is accepted and then dropped, about one start in twenty on a
# busy machine; a desktop's server always has clients and never does this.
e2e_start_x_server() {
  local attempt n screen=${E2E_SCREEN:-1920x1200}
  for attempt in 1 2 3 4 5; do
    n=$(e2e_next_display)
    : >"$E2E_TMP/display"
    Xvfb ":$n" -displayfd 9 -screen 0 "${screen}x24" -nolisten tcp -noreset 9>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB=$!
    e2e_wait_for '[ -s "$E2E_TMP/display" ] || ! kill -0 "$E2E_XVFB" 2>/dev/null' "the virtual X server on :$n"
    if [ -s "$E2E_TMP/display" ]; then
      export DISPLAY=":$n"
      e2e_wait_for '[ "$(xdotool getdisplaygeometry 2>/dev/null)" = "${screen/x/ }" ]' "a connection to the virtual X server on :$n"
      return 0
    fi
    wait "$E2E_XVFB" || true
    E2E_XVFB=""
    e2e_note "(the virtual X server could not start on :$n: $(tail -n1 "$E2E_TMP/xvfb.log"))"
  done
  e2e_fail "the virtual X server did not start: $(cat "$E2E_TMP/xvfb.log")"
}

# e2e_stop_child PID: ends the process if it is still this script's child. A program that ended
# before (a game left by Alt+X) gave its number back, and on a busy machine another program soon
# has it: a plain kill at the end ended other scripts' servers and scripts beside this one.
e2e_stop_child() {
  local stat fields
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  read -ra fields <<<"${stat##*) }"  # the state, then the parent
  [ "${fields[1]}" != "$$" ] || kill "$1" 2>/dev/null || true
}

# e2e_cleanup [STATUS]: the script's end, with its status (by default the status it ends with).
e2e_cleanup() {
  local status=${1:-$?} pid log
  trap - ERR
  for pid in "${E2E_PIDS[@]}" ${E2E_XVFB:-}; do e2e_stop_child "$pid"; done
  wait 2>/dev/null || true  # the X server gone whole, its socket and lock with it
  if [ "$status" != 0 ]; then  # what the programs said, to tell why
    for log in "$E2E_TMP"/*.log; do
      [ -s "$log" ] && { echo "-- ${log##*/}:"; tail -n 20 "$log"; } >&2
    done
    # What the program's windows said last.
    [ -s "${E2E_STATE:-}" ] && { echo "-- the windows' texts:"; grep '^text\.' "$E2E_STATE" | head -n 40; } >&2
  fi
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
  local i=0 deadline=$((SECONDS + E2E_DEADLINE))
  e2e_give_focus "$1"
  [ "$1" = "${E2E_WID:-}" ] && grep -qs "^active=" "$E2E_STATE" || return 0  # an older build's report has no key
  until [ "$(e2e_state active)" = 1 ]; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for the main window to become active"
    i=$((i + 1))
    if [ $((i % 10)) = 0 ]; then
      e2e_give_focus "$(xdotool search --maxdepth 0 --name '' | head -n1)"
      e2e_give_focus "$1"
    fi
    sleep 0.05
  done
}

e2e_give_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}

# e2e_wait_for CONDITION WHAT [SECONDS]: polls a shell condition until it holds, at most
# E2E_DEADLINE seconds unless told otherwise.
e2e_wait_for() {
  local deadline=$((SECONDS + ${3:-$E2E_DEADLINE}))
  until eval "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $2"
    sleep 0.05
  done
}

# e2e_wait_for_work CONDITION WHAT CPU-SECONDS: waits for work the program does in the background
# at a lower priority, which a busy machine may starve for many minutes: gives up once the program
# has spent that much CPU time meanwhile, or after 15 minutes on the clock (a program that does
# nothing at all).
e2e_wait_for_work() {
  local cpu0 cpu=0 deadline=$((SECONDS + 900))
  cpu0=$(e2e_cpu_ms) || e2e_fail "the program is not running, waiting for $2"
  until eval "$1"; do
    cpu=$(e2e_cpu_ms) || e2e_fail "the program ended while waiting for $2"
    cpu=$((cpu - cpu0))
    [ "$cpu" -le $(($3 * 1000)) ] || e2e_fail "gave up waiting for $2 after $cpu ms of the program's CPU time"
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $2 ($cpu ms of the program's CPU time in 15 minutes)"
    sleep 0.1
  done
}

# e2e_state KEY: a value of the last report; e2e_expect KEY VALUE: waits until the report says so.
e2e_state() {
  sed -n "s/^$1=//p" "$E2E_STATE"
}

e2e_expect() {
  e2e_wait_for "[ \"\$(e2e_state $1)\" = \"$2\" ]" "$1=$2 (it says $1=$(e2e_state "$1"))"
}

# e2e_clock_at N: waits until the game's clock shows N seconds or more (a busy machine may look
# only once it is past N).
e2e_clock_at() {
  e2e_wait_for "[ \"\$(e2e_state seconds)\" -ge $1 ]" "the clock at $1 seconds"
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

# e2e_tile P: where the tile at position P lies on the screen, "WxH+X+Y", once the report places it
# (while a board is being built, after a new picture or size, the report has no tiles yet);
# e2e_tile_middle P: the middle of it, "X Y".
e2e_tile() {
  local at="" position=$1
  e2e_wait_for 'at=$(e2e_state "tile\\.$position"); [ -n "$at" ]' "the report to place tile $position"
  echo "$at"
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
  e2e_wait_for 'id=$(e2e_windows_named "$pattern" "$pid" | sed -n 1p); [ -n "$id" ]' "a window \"$1\""
  echo "$id"
}

e2e_windows_named() {
  xdotool search --all --onlyvisible --pid "${2:-$E2E_PID}" --name "$1" 2>/dev/null
}

# e2e_answer TITLE KEY: waits for this start's window of that title (Mozik: an error box), answers
# it with the key and waits until it is gone.
e2e_answer() {
  local title=$1  # the condition is evaluated inside e2e_wait_for, whose $1 is the condition
  e2e_focus "$(e2e_window "$title")"
  e2e_key "$2"
  e2e_wait_for '[ -z "$(e2e_windows_named "^$title\$")" ]' "the window \"$title\" to close"
}

# e2e_open_with_f3 PATH: opens the picture through F3's dialog, typing its name once the dialog
# has listed its folder, and taking it once the dialog's name box holds all of it.
e2e_open_with_f3() {
  local typed=$1
  e2e_focus "$E2E_WID"
  e2e_key F3
  e2e_focus "$(e2e_window "Открыть")"
  sleep 0.5
  e2e_key ctrl+a
  xdotool type --delay 10 "$typed"
  e2e_wait_for '[ "$(e2e_state text.QFileDialog.fileNameEdit)" = "$typed" ]' "the open dialog's name box to hold \"$typed\""
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
  [[ $geometry =~ ^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$ ]] || e2e_fail "no part of a window to photograph: \"$geometry\""
  e2e_wait_for 'import -window "$window" -crop "$geometry" +repage "$shot" 2>>"$E2E_TMP/import.log"' "a photograph of $geometry of window $window"
  e2e_wait_for 'sleep 0.1; cp "$shot" "$shot.last"; import -window "$window" -crop "$geometry" +repage "$shot" 2>/dev/null; e2e_same_picture "$shot" "$shot.last"' "the window to settle"
  rm -f "$shot.last"
}

# e2e_cpu_ms [PID]: the CPU time the program (this start's by default) has used so far, all its
# threads together, in milliseconds.
e2e_cpu_ms() {
  local stat fields
  stat=$(cat "/proc/${1:-$E2E_PID}/stat" 2>/dev/null) || return 1
  read -ra fields <<<"${stat##*) }"  # from the state on: the name before it may hold anything
  echo $(((fields[11] + fields[12]) * 1000 / $(getconf CLK_TCK)))
}

# e2e_bounded WHAT LIMIT-MS ACTION CONDITION: runs the action (a shell command), then polls the
# condition; prints the time from just before the action until it held, on the clock and in the
# program's CPU time, and holds the CPU time to the limit. On a loaded machine the clock's time
# stretches with the wait for a core, which the program does not spend: what it spends is its CPU
# time, about the same on a quiet machine and a busy one (background work at a lower priority gets
# less of it, not more), and on a quiet machine about the time the player waits. A program that
# ends meanwhile is counted up to its last look.
e2e_bounded() {
  local what=$1 limit=$2 condition=$4 started cpu0 cpu now deadline=$((SECONDS + E2E_DEADLINE))
  cpu0=$(e2e_cpu_ms) || e2e_fail "$what: the program is not running"
  cpu=$cpu0
  started=$(date +%s%3N)
  eval "$3"
  until eval "$condition"; do
    now=$(e2e_cpu_ms) && cpu=$now
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $what"
    sleep 0.01
  done
  local ended=""
  now=$(e2e_cpu_ms) && cpu=$now || ended=" up to the program's last look before its end"
  e2e_note "$what: $(($(date +%s%3N) - started)) ms, $((cpu - cpu0)) ms of CPU time$ended (held to $limit)"
  [ $((cpu - cpu0)) -le "$limit" ] || e2e_fail "$what took $((cpu - cpu0)) ms of CPU time, more than $limit"
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

# e2e_menu MENU-KEY [ITEM-KEY [submenu]]: opens a menu by its access key, waits until it shows, and
# chooses the item; with "submenu", waits until the item's submenu shows too.
e2e_menu() {
  local shown
  shown=$(e2e_visible_windows)
  e2e_key "alt+$1"
  e2e_wait_for '[ "$(e2e_visible_windows)" -gt "$shown" ]' "the menu of alt+$1 to open"
  [ -n "${2:-}" ] || return 0
  shown=$(e2e_visible_windows)
  e2e_key "$2"
  [ "${3:-}" = submenu ] || return 0
  e2e_wait_for '[ "$(e2e_visible_windows)" -gt "$shown" ]' "the submenu of $2 in the menu of alt+$1 to open"
}

e2e_visible_windows() {
  xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l
}
