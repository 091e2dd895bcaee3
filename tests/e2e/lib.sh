# Helpers for driving the real program under a virtual X server: sourced by the end-to-end tests.
# The program reports what it shows through its --state-file switch; every wait polls with a
# deadline, so a test that goes wrong fails instead of hanging.

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_note() {
  echo "  $*"
}

# Starts a virtual X server on a free display and a scratch folder; both go at exit.
e2e_setup() {
  E2E_TMP=$(mktemp -d)
  trap e2e_cleanup EXIT
  exec 9>"$E2E_TMP/display"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB=$!
  for _ in $(seq 100); do [ -s "$E2E_TMP/display" ] && break; sleep 0.05; done
  [ -s "$E2E_TMP/display" ] || e2e_fail "the virtual X server did not start"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  # The player's data folder, where the score file lives unless the start folder has one.
  export XDG_DATA_HOME="$E2E_TMP/data"
  # And its cache folder, where the solver keeps its tables.
  export XDG_CACHE_HOME="$E2E_TMP/cache"
  E2E_PID=""
  E2E_PIDS=()
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$E2E_TMP"
}

# e2e_start FOLDER [ARGS...]: starts the game in FOLDER with a state report, waits for its window.
# E2E_PID, E2E_WID and E2E_STATE then name this game; several may run at once (e2e_game, e2e_use).
e2e_start() {
  local folder=$1
  shift
  E2E_STATE="$E2E_TMP/state-$RANDOM"
  (cd "$folder" && exec "$MOZIK" --state-file "$E2E_STATE" "$@" >>"$E2E_TMP/mozik.log" 2>&1) &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  e2e_wait_for 'grep -qs "^client=" "$E2E_STATE"' "the main window"
  E2E_WID=$(e2e_window "$(e2e_state title | sed 's/[][\\.^$*+?(){}|]/\\&/g')")
  e2e_focus "$E2E_WID"
}

# e2e_game: the game now in hand, to come back to with e2e_use.
e2e_game() {
  echo "$E2E_PID $E2E_WID $E2E_STATE"
}

# e2e_use GAME: takes a game started earlier in hand again (its process, window and report).
e2e_use() {
  read -r E2E_PID E2E_WID E2E_STATE <<<"$1"
}

# e2e_focus WINDOW: gives the window the keyboard (there is no window manager to do it).
e2e_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}

# e2e_wait_for CONDITION WHAT [SECONDS]: polls a shell condition until it holds.
e2e_wait_for() {
  local deadline=$((SECONDS + ${3:-10}))
  until eval "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "gave up waiting for $2"
    sleep 0.05
  done
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

# e2e_click_tile P: clicks the middle of the tile at position P.
e2e_click_tile() {
  local p=$1 n t column row x y origin
  n=$(e2e_state size)
  t=$((250 / n))
  column=$(((p - 1) % n + 1))
  row=$(((p - 1) / n + 1))
  origin=$(e2e_state client)
  origin=${origin#*+}
  x=$((${origin%+*} + t * (column - 1) + 4 * column + 1 + t / 2))
  y=$((${origin#*+} + 40 + t * (row - 1) + 4 * row + 1 + t / 2))
  xdotool mousemove --window "$E2E_WID" "$x" "$y" click 1
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

# e2e_window PATTERN: waits for a visible window of the game in hand whose whole name matches the
# pattern, prints its id. Windows of other games are told apart by their process.
e2e_window() {
  local id="" pattern="^$1\$"
  e2e_wait_for 'id=$(xdotool search --all --onlyvisible --pid "$E2E_PID" --name "$pattern" 2>/dev/null | head -n1); [ -n "$id" ]' "a window \"$1\""
  echo "$id"
}

# e2e_close_error_box: waits for the program's error box, closes it and waits until it is gone.
e2e_close_error_box() {
  local box
  box=$(e2e_window Mozik)
  e2e_focus "$box"
  e2e_key Return
  e2e_wait_for '! xdotool search --onlyvisible --name "^Mozik\$" >/dev/null 2>&1' "the error box to close"
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

# e2e_board_shot FILE: a photograph of the board, the main window below its tool bar.
e2e_board_shot() {
  local client
  client=$(e2e_state client)
  e2e_shot "$E2E_WID" "258x258+0+$((${client##*+} + 40))" "$1"
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
# board home, from one run of mozik-solve (its tables are built once).
e2e_solutions() {
  local game
  for game in "$@"; do
    echo "4 $(sed -n 's/^grid=//p' "${game##* }")"
  done | "$(dirname "$MOZIK")/mozik-solve" | sed -E 's/^[0-9]+ ?//'
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
  local shown
  shown=$(e2e_windows_shown)
  e2e_key "alt+$1"
  e2e_wait_for "[ \$(e2e_windows_shown) -gt $shown ]" "the menu of alt+$1 to open"
  e2e_key "$2"
}
