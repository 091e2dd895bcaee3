#!/usr/bin/env bash
# End-to-end: a board anyone can play. Read over the accessibility bus as a screen reader reads it
# (a session bus of its own): the board is a table of 4 x 4 cells named by the piece each shows and
# its place, the gap as the empty cell, and the names follow the moves; a reader's press on a cell
# beside the gap slides its tile; the clock and the tool buttons read as text. The keyboard alone
# plays, the board's focus frame showing once it is used. Numbers on: each tile's figure is light
# on a dark badge on the screen, on a white picture.
[ -n "${E2E_BUS:-}" ] || E2E_BUS=1 exec dbus-run-session -- "$0" "$@"
source "$(dirname "$0")/lib.sh"
e2e_setup "a board anyone can play"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
reader() { /usr/bin/python3 "$(dirname "$0")/atspi.py" "$E2E_PID" "$@"; }
convert -size 300x300 xc:white "$E2E_TMP/white.png"
e2e_start "$E2E_TMP/play" "$E2E_TMP/white.png"
e2e_expect title "white.png  -  5 x 5"
e2e_size 4
e2e_play
e2e_wait_for 'reader >"$E2E_TMP/read" 2>>"$E2E_TMP/reader.log"' "the board over the accessibility bus" 20

# expected: what the report's grid says a reader should hear, in the reader's form.
expected() {
  local grid p=0 piece
  read -ra grid <<<"$(e2e_state grid)"
  for piece in "${grid[@]}"; do
    p=$((p + 1))
    if [ "$piece" = 0 ]; then
      echo "cell.$p=Пустая клетка, ряд $(((p - 1) / 4 + 1)), столбец $(((p - 1) % 4 + 1))"
    else
      echo "cell.$p=$piece, ряд $(((p - 1) / 4 + 1)), столбец $(((p - 1) % 4 + 1))"
    fi
  done
}
grep -qx "board=Игровое поле 4x4" "$E2E_TMP/read" || e2e_fail "no 4 x 4 board read: $(head -n1 "$E2E_TMP/read")"
diff <(grep '^cell\.' "$E2E_TMP/read") <(expected) || e2e_fail "the cells read are not the board shown"
e2e_note "the board reads as a table of 16 cells: $(sed -n 's/^cell\.1=//p' "$E2E_TMP/read"); ...; $(grep -h 'Пустая' "$E2E_TMP/read" | cut -d= -f2)"
for name in "Перемешать." "Пауза." "Другой рисунок." "Выход из программы."; do
  grep -qx "button=$name" "$E2E_TMP/read" || e2e_fail "no tool button named $name"
done
grep -q "^label=Время : [0-9]" "$E2E_TMP/read" || e2e_fail "the clock does not read"
e2e_note "the tool buttons and the clock read: $(grep -c '^button=' "$E2E_TMP/read") buttons, $(grep -h '^label=Время' "$E2E_TMP/read" | cut -d= -f2)"

moves=$(e2e_state moves)
next=$(e2e_neighbours | head -n1)
reader press "$next"
e2e_expect gap "$next"
e2e_expect moves $((moves + 1))
e2e_wait_for 'reader >"$E2E_TMP/read" && diff -q <(grep "^cell\." "$E2E_TMP/read") <(expected) >/dev/null' "the cells read to follow the move"
e2e_note "a reader's press on cell $next slid its tile, and the names followed"

# The keyboard alone: an arrow key moves a tile, and the board shows its focus from then on.
e2e_focus "$E2E_WID"
[ "$(e2e_state boardfocus)" = 0 ] || e2e_fail "a focus frame before the keyboard was used"
moves=$(e2e_state moves)
gap=$(e2e_state gap)
[ $(((gap - 1) % 4)) -lt 3 ] && e2e_key Left || e2e_key Right
e2e_expect moves $((moves + 1))
e2e_expect boardfocus 1
e2e_note "an arrow key moved a tile and showed the board's focus frame"

# Numbers: the figure light on a dark badge, on the screen, on the white picture.
e2e_menu g n
e2e_expect numbers 1
tile=1
[ "$(e2e_state gap)" != 1 ] || tile=2
e2e_shot root "$(e2e_tile "$tile")" "$E2E_TMP/tile.png"
read -r dark light <<<"$(convert "$E2E_TMP/tile.png" -crop 12x12+15+15 +repage -colorspace gray -format '%[fx:minima] %[fx:maxima]' info:)"
awk -v d="$dark" -v l="$light" 'BEGIN { exit !(d < 0.15 && l > 0.9) }' || e2e_fail "no light figure on a dark badge: $dark to $light"
e2e_note "Numbers: a badge of grey $dark under a figure of grey $light on the white tile"
e2e_quit
