#!/usr/bin/env bash
# End-to-end: a whole game to its end. A 4 x 4 game is clicked home along the moves mozik-solve
# names; the time cannot beat a table of ten one-second records, so the result dialog greys out
# its name label and box; the score dialog's tabs are in the face colour; the table is unchanged.
# Usage: tests/e2e/finish.sh [path/to/mozik]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MOZIK=$(realpath "${1:-$here/../../build/mozik}")
source "$here/lib.sh"

e2e_setup
echo "== End-to-end: a game to its end"
folder="$E2E_TMP/records"
mkdir -p "$folder"
{ for i in $(seq 10); do printf 'Fast\r\n1\r\n'; done; e2e_default_scores | tail -c +$((10 * 16 + 1)); } >"$folder/Mozik.ini"
cp "$folder/Mozik.ini" "$E2E_TMP/records.ini"
e2e_start "$folder"
e2e_menu s 4
e2e_expect size 4
e2e_key F2
e2e_expect seconds 2  # slower than every record

read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
[ "${#moves[@]}" -gt 0 ] || e2e_fail "mozik-solve found no moves"
e2e_click_home "${moves[@]}"
e2e_note "${#moves[@]} clicks along mozik-solve's moves brought the picture home"

# The result: no place in the table, so "Введите выше имя :" greys out with the name box.
dialog=$(e2e_window Message)
e2e_shot "$dialog" 145x16+16+64 "$E2E_TMP/label4.png"
# The colours of a picture, "count: (r,g,b)" a line, the commonest first.
colours() {
  convert "$1" -format %c histogram:info:- | sed -E 's/^ *([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1: (\2,\3,\4)/' | sort -rn
}
inks=$(colours "$E2E_TMP/label4.png")
grep -q ': (0,0,0)$' <<<"$inks" && e2e_fail "the name label is black"
grep -q ': (190,190,190)$' <<<"$inks" || e2e_fail "the name label is not grey: $(echo "$inks" | head -3)"
e2e_note "the result dialog's name label is grey, (190,190,190), as its box"
e2e_focus "$dialog"
e2e_key Return

# The score dialog: its tabs in the face colour, none in a colour of the style's own.
dialog=$(e2e_window "High Scores")
e2e_shot "$dialog" 240x30+0+283 "$E2E_TMP/tabs.png"
tabs=$(colours "$E2E_TMP/tabs.png")
[ "$(echo "$tabs" | head -n1 | cut -d' ' -f2)" = "(239,239,239)" ] || e2e_fail "the tabs' face is $(echo "$tabs" | head -n1)"
# The style's own tab fills, lighter and darker than the face, cover no area.
fills=$(echo "$tabs" | awk -F': ' '$2 == "(241,241,241)" || $2 == "(221,221,221)" {s += $1} END {print s + 0}')
[ "$fills" -lt 40 ] || e2e_fail "the tabs have a fill of their own ($fills pixels)"
e2e_note "the score dialog's tabs are in the face colour, (239,239,239)"
e2e_focus "$dialog"
e2e_key Return

e2e_focus "$E2E_WID"
e2e_key alt+x
e2e_wait_exit
cmp -s "$folder/Mozik.ini" "$E2E_TMP/records.ini" || e2e_fail "the table changed"
echo "End-to-end finish test passed."
