# Helpers for driving the real program under a virtual X server: sourced by the end-to-end tests.
# The program reports what it shows through its --state-file switch, tiles' places on the screen
# included; every wait polls with a deadline, so a test that goes wrong fails instead of hanging.
# Each start has folders of its own for the player's data, settings and cache, and its windows
# are told apart from other programs' by its process.

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_note() {
  echo "  $*"
}

# Starts a virtual X server of 1920 x 1200 on a free display and a scratch folder; both go at exit.
# Whatever the script runs (mozik-solve too) has data, settings and cache folders in the scratch
# folder, never those of whoever runs the tests.
e2e_setup() {
  unset QT_QPA_PLATFORM  # a real X server, whatever the unit tests run on
  E2E_TMP=$(mktemp -d)
  export XDG_DATA_HOME="$E2E_TMP/xdg/data" XDG_CONFIG_HOME="$E2E_TMP/xdg/config" XDG_CACHE_HOME="$E2E_TMP/xdg/cache"
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
  E2E_STARTS=0
  E2E_PIDS=()
  trap e2e_cleanup EXIT
  exec 9>"$E2E_TMP/display"
  Xvfb -displayfd 9 -screen 0 1920x1200x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB=$!
  for _ in $(seq 100); do [ -s "$E2E_TMP/display" ] && break; sleep 0.05; done
  [ -s "$E2E_TMP/display" ] || e2e_fail "the virtual X server did not start"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  E2E_PID=""
  E2E_PIDS=()
}

# e2e_window_manager: runs Debian's openbox on the virtual screen, for tests that resize windows or
# make them full screen (the others run without one); it goes at exit with the server.
e2e_window_manager() {
  openbox --sm-disable >>"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=("$!")
  e2e_wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' "the window manager"
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$E2E_TMP"
}

# e2e_start FOLDER [ARGS...]: starts the game in FOLDER with a state report and waits for its
# window. The start gets folders of its own for the player's data ($E2E_DATA: the score file lives
# in $E2E_DATA/Mozik unless the start folder has one), settings ($E2E_CONFIG) and cache
# ($E2E_CACHE), inside $E2E_HOME; with E2E_REUSE_HOME=1 it shares the folders of the start before.
# E2E_PID, E2E_WID and E2E_STATE then name this start's process, main window and report; several
# games may run at once (e2e_game, e2e_use). A picture named on the command line may come after the
# window: wait for what the report says of it (its caption, busy=0, an error box).
e2e_start() {
  local folder=$1
  shift
  E2E_STARTS=$((E2E_STARTS + 1))
  [ "${E2E_REUSE_HOME:-0}" = 1 ] && [ -n "${E2E_HOME:-}" ] || E2E_HOME="$E2E_TMP/start-$E2E_STARTS"
  E2E_DATA="$E2E_HOME/data" E2E_CONFIG="$E2E_HOME/config" E2E_CACHE="$E2E_HOME/cache"
  mkdir -p "$E2E_DATA" "$E2E_CONFIG" "$E2E_CACHE"
  E2E_STATE="$E2E_TMP/state-$E2E_STARTS"
  (cd "$folder" && XDG_DATA_HOME="$E2E_DATA" XDG_CONFIG_HOME="$E2E_CONFIG" XDG_CACHE_HOME="$E2E_CACHE" \
    exec "$MOZIK" --state-file "$E2E_STATE" "$@" >>"$E2E_TMP/mozik.log" 2>&1) &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  e2e_wait_for 'grep -qs "^client=" "$E2E_STATE"' "the main window"
  # By the caption's ending alone: a picture named on the command line may still be on its way,
  # and the caption changes when it comes.
  E2E_WID=$(e2e_window ".*  -  [1-7] x [1-7]")
  e2e_give_focus "$E2E_WID"  # not waited for: a box telling of the picture may come first
}

# e2e_game: the game now in hand, to come back to with e2e_use.
e2e_game() {
  echo "$E2E_PID $E2E_WID $E2E_STATE"
}

# e2e_use GAME: takes a game started earlier in hand again (its process, window and report).
e2e_use() {
  read -r E2E_PID E2E_WID E2E_STATE <<<"$1"
}

# e2e_focus WINDOW: gives the window the keyboard (there is no window manager to do it), the main
# window until the game reports it active: when a dialog over it closes, the game may miss the
# focus X gives it back and drop its keys; it is then given the focus by way of the root window.
e2e_focus() {
  local i
  e2e_give_focus "$1"
  [ "$1" = "${E2E_WID:-}" ] || return 0
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

# e2e_give_focus WINDOW: asks X to give the window the keyboard.
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

# e2e_timed_key KEY CONDITION WHAT: sends the key, then polls a shell condition every 10 ms until
# it holds; prints the milliseconds from just before the key was sent until then.
e2e_timed_key() {
  local start deadline=$((SECONDS + 10))
  start=$(date +%s%3N)
  e2e_key "$1"
  until eval "$2"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $3"
    sleep 0.01
  done
  echo $(($(date +%s%3N) - start))
}

# e2e_state KEY: a value of the last report.
e2e_state() {
  sed -n "s/^$1=//p" "$E2E_STATE"
}

# e2e_expect KEY VALUE: waits until the report says so.
e2e_expect() {
  e2e_wait_for "[ \"\$(e2e_state $1)\" = \"$2\" ]" "$1=$2 (it says $1=$(e2e_state "$1"))"
}

e2e_key() {
  xdotool key --clearmodifiers "$@"
}

# e2e_tile P: where the tile at position P lies on the screen, "WxH+X+Y".
e2e_tile() {
  e2e_state "tile\\.$1"
}

# e2e_click_tile P: clicks the middle of the tile at position P.
e2e_click_tile() {
  local tile size at
  tile=$(e2e_tile "$1")
  [ -n "$tile" ] || e2e_fail "the report places no tile at $1"
  size=${tile%%+*}
  at=${tile#*+}
  xdotool mousemove --sync "$((${at%+*} + ${size%x*} / 2))" "$((${at#*+} + ${size#*x} / 2))" click 1
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

# e2e_wait_exit: waits for the program to end by itself.
e2e_wait_exit() {
  e2e_wait_for '! kill -0 "$E2E_PID" 2>/dev/null' "the program to end"
  wait "$E2E_PID" || e2e_fail "the program ended with status $?"
  E2E_PID=""
}

# The score file of a fresh table: "Неизвестный" (code page 1251) and "0", 40 times, CRLF.
e2e_default_scores() {
  local i
  for i in $(seq 40); do printf '\315\345\350\347\342\345\361\362\355\373\351\r\n0\r\n'; done
}

# e2e_pixel X Y: the colour of a pixel of the main window on the screen, as "srgb(r,g,b)".
e2e_pixel() {
  import -window "$E2E_WID" -crop "1x1+$1+$2" +repage -format '%[pixel:p{0,0}]' info: 2>/dev/null
}

# e2e_window PATTERN [PID]: waits for a visible window of the process (this start's by default)
# whose whole name matches the pattern, prints its id.
e2e_window() {
  local id="" pattern="^$1\$" pid=${2:-$E2E_PID}
  e2e_wait_for 'id=$(e2e_windows_named "$pattern" "$pid" | head -n1); [ -n "$id" ]' "a window \"$1\""
  echo "$id"
}

# e2e_windows_named PATTERN [PID]: the visible windows of the process whose names match.
e2e_windows_named() {
  xdotool search --all --onlyvisible --pid "${2:-$E2E_PID}" --name "$1" 2>/dev/null
}

# e2e_window_gone PATTERN: waits until no window of this start's process has a name matching it.
e2e_window_gone() {
  e2e_wait_for '[ -z "$(e2e_windows_named "^$1\$")" ]' "the window \"$1\" to close"
}

# e2e_close_error_box: waits for the program's error box, closes it and waits until it is gone.
e2e_close_error_box() {
  local box
  box=$(e2e_window Mozik)
  e2e_focus "$box"
  e2e_key Return
  e2e_window_gone Mozik
}

# e2e_peak_memory: the program's peak resident memory in KiB.
e2e_peak_memory() {
  awk '/^VmHWM:/ {print $2}' "/proc/$E2E_PID/status"
}

# e2e_shot WINDOW GEOMETRY FILE: a photograph of part of a window, taken once two shots a moment
# apart agree (the window may still be drawing what its report says).
e2e_shot() {
  local window=$1 geometry=$2 shot=$3
  import -window "$window" -crop "$geometry" +repage "$shot" 2>/dev/null
  e2e_wait_for 'sleep 0.1; cp "$shot" "$shot.last"; import -window "$window" -crop "$geometry" +repage "$shot" 2>/dev/null; e2e_same_picture "$shot" "$shot.last"' "the window to settle"
  rm -f "$shot.last"
}

# e2e_screen_shot GEOMETRY FILE: a photograph of part of the screen, "WxH+X+Y" as the report
# gives a tile's place.
e2e_screen_shot() {
  e2e_shot root "$1" "$2"
}

# e2e_same_picture A B: whether two pictures are the same pixel for pixel.
e2e_same_picture() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]
}

# e2e_windows_shown: how many windows of the program are on the screen (menus among them).
e2e_windows_shown() {
  xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l
}

# e2e_solutions: for each game given (see e2e_game), a line of the tiles that bring its 4 x 4
# board home, from one run of mozik-solve (its tables are built once, into a scratch cache folder).
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

# e2e_menu MENU-KEY ITEM-KEY: chooses a menu item by its access keys, once its menu is open.
e2e_menu() {
  e2e_open_menu "$1"
  e2e_key "$2"
}

# e2e_open_menu MENU-KEY: opens a menu by its access key and waits until it shows.
e2e_open_menu() {
  local shown
  shown=$(e2e_windows_shown)
  e2e_key "alt+$1"
  e2e_wait_for "[ \$(e2e_windows_shown) -gt $shown ]" "the menu of alt+$1 to open"
}
