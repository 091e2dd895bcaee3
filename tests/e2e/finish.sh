#!/usr/bin/env bash
# End-to-end: a whole game to its end. A 4 x 4 game is clicked home along the moves mozik-solve
# names; the time cannot beat a table of ten one-second records, so the result dialog greys out
# its name label and box; the score dialog's tabs are in the face colour; the table is unchanged.
source "$(dirname "$0")/lib.sh"
e2e_setup "a game to its end"
folder="$E2E_TMP/records"
mkdir -p "$folder"
{ for i in $(seq 10); do printf 'Fast\r\n1\r\n'; done; e2e_default_scores | tail -c +$((10 * 16 + 1)); } >"$folder/Mozik.ini"
cp "$folder/Mozik.ini" "$E2E_TMP/records.ini"
e2e_start "$folder"
e2e_size 4
e2e_key F2
e2e_clock_at 2  # slower than every record
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
[ "${#moves[@]}" -gt 0 ] || e2e_fail "mozik-solve found no moves"
e2e_click_home "${moves[@]}"
e2e_note "${#moves[@]} clicks along mozik-solve's moves brought the picture home"

# colours WINDOW GEOMETRY: the colours of part of a window, "count: (r,g,b)" a line, the commonest first.
colours() {
  e2e_shot "$1" "$2" "$E2E_TMP/part.png"
  convert "$E2E_TMP/part.png" -format %c histogram:info:- | sed -E 's/^ *([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1: (\2,\3,\4)/' | sort -rn
}
inks=$(colours "$(e2e_window Message)" 145x16+16+64)  # "Введите выше имя :"
! grep -q ': (0,0,0)$' <<<"$inks" && grep -q ': (190,190,190)$' <<<"$inks" ||
  e2e_fail "the name label is not grey: $(head -3 <<<"$inks")"
e2e_note "the result dialog's name label is grey, (190,190,190), as its box"
e2e_answer Message Return

tabs=$(colours "$(e2e_window "High Scores")" 240x30+0+283)
[ "$(head -n1 <<<"$tabs" | cut -d' ' -f2)" = "(239,239,239)" ] || e2e_fail "the tabs' face is $(head -n1 <<<"$tabs")"
# The style's own tab fills, lighter and darker than the face, cover no area.
fills=$(awk -F': ' '$2 == "(241,241,241)" || $2 == "(221,221,221)" {s += $1} END {print s + 0}' <<<"$tabs")
[ "$fills" -lt 40 ] || e2e_fail "the tabs have a fill of their own ($fills pixels)"
e2e_note "the score dialog's tabs are in the face colour, (239,239,239)"
e2e_answer "High Scores" Return
e2e_quit
cmp -s "$folder/Mozik.ini" "$E2E_TMP/records.ini" || e2e_fail "the table changed"
