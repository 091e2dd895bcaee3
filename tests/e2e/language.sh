#!/usr/bin/env bash
# End-to-end: the language of the locale. Under LANG=en_US.UTF-8 a refusal box, the main window,
# the About box, the result dialog and the score dialog speak English (read back through the
# state report's texts), and a name typed as "Zoë" is kept as "Zoe" in the score file; under
# LANG=ru_RU.UTF-8 the first start, the About box and the score dialog are the Russian ones pixel for
# pixel (and MOZIK_BASELINE's, when it names another build); mozik --help answers in each language. With
# MOZIK_SHOTS=FOLDER the windows' photographs are kept there.
source "$(dirname "$0")/lib.sh"
e2e_setup "the language of the locale" wm
folder="$E2E_TMP/play"
shots=${MOZIK_SHOTS:-$E2E_TMP/shots}
mkdir -p "$shots"
locale_only=(-u LANGUAGE -u LC_ALL -u LC_MESSAGES)

# The help in both languages, chosen from each kind of locale variable.
help_line() { env "${locale_only[@]}" "$@" "$MOZIK" --help | head -n1; }
for case in "LANG=en_US.UTF-8|Usage: mozik [PICTURE]" "LANG=de_DE.UTF-8|Usage: mozik [PICTURE]" \
  "LANG=C.UTF-8|Usage: mozik [PICTURE]" "LANG=ru_RU.UTF-8|Использование: mozik [РИСУНОК]" \
  "LANG=en_US.UTF-8 LC_MESSAGES=ru_RU.UTF-8|Использование: mozik [РИСУНОК]" \
  "LANG=ru_RU.UTF-8 LC_ALL=en_US.UTF-8|Usage: mozik [PICTURE]" \
  "LANG=ru_RU.UTF-8 LANGUAGE=en|Usage: mozik [PICTURE]" "LANG=de_DE.UTF-8 LANGUAGE=de:ru|Использование: mozik [РИСУНОК]"; do
  # shellcheck disable=SC2086  # the variables are words of their own
  [ "$(help_line ${case%|*})" = "${case#*|}" ] || e2e_fail "${case%|*} mozik --help: $(help_line ${case%|*})"
done
e2e_note "mozik --help: English for en_US, de_DE and C, Russian for ru_RU, LC_MESSAGES, LC_ALL and LANGUAGE as they come first"

# text WINDOW.COMPONENT: what the report reads in it; expect_text KEY TEXT: waits until it says so.
text() { e2e_state "text\\.$1"; }
expect_text() { e2e_wait_for "[ \"\$(text '$1')\" = '$2' ]" "\"$2\" in $1 (it says \"$(text "$1")\")"; }
shot() { e2e_shot "$1" "$(xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')+0+0" "$shots/$2"; }

# English: a picture named at the start that is no picture, the box telling so, the main window.
E2E_ENV=("${locale_only[@]}" LANG=en_US.UTF-8)
echo "no picture" >"$E2E_TMP/note.png"
e2e_start "$folder" "$E2E_TMP/note.png"
box=$(e2e_window Mozik)
expect_text QMessageBox.qt_msgbox_label "The picture \"$E2E_TMP/note.png\" could not be opened.\\nThis is not a picture, or its format is unknown to the program."
xdotool mousemove 1900 1150
shot "$box" en-refusal.png
e2e_note "English: the refusal box says \"$(text QMessageBox.qt_msgbox_label)\""
e2e_answer Mozik Return
expect_text Form1.Label1 "Time : 0"
shot "$E2E_WID" en-main.png
e2e_note "English: the clock says \"$(text Form1.Label1)\", the status line \"$(e2e_state status)\""

e2e_focus "$E2E_WID"
e2e_menu h a
about=$(e2e_window About)
expect_text About.Label1 "Put someone together."
expect_text About.Label4 "Author :"
shot "$about" en-about.png
e2e_answer About Escape

# A 4 x 4 game to its end, "Zoë" typed for the record.
e2e_size 4
e2e_play
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
e2e_click_home "${moves[@]}"
result=$(e2e_window Message)
expect_text Form2.Label1 "You put it together in "
expect_text Form2.LabelEffect1 "Well done !!!"
# Typed on an Albanian keyboard, which has a key of its own for "ë": xdotool would otherwise map
# one for it on the fly, and the game may take the key before it learns the new map.
setxkbmap -display "$DISPLAY" al
e2e_focus "$result"
xdotool type --delay 50 "Zoë"
expect_text Form2.Edit1 Zoe
shot "$result" en-result.png
e2e_key Return
scores=$(e2e_window "High Scores")
expect_text Form3.FxLabel21 "Best times :"
expect_text Form3.FxLabel1 "Zoe"
expect_text Form3.FxLabel2 "Unknown"
shot "$scores" en-scores.png
e2e_answer "High Scores" Return
e2e_quit
zoe=$(head -n1 "$E2E_DATA/Mozik/Mozik.ini" | tr -d '\r')
[ "$zoe" = Zoe ] || e2e_fail "the score file keeps \"$zoe\", not Zoe"
[ "$(sed -n 3p "$E2E_DATA/Mozik/Mozik.ini" | iconv -f CP1251 -t UTF-8 | tr -d '\r')" = "Неизвестный" ] ||
  e2e_fail "the score file's empty place is not \"Неизвестный\""
e2e_note "English: the About box, the result dialog and the score dialog; \"Zoë\" kept as \"Zoe\", the empty places as \"Неизвестный\""

# Russian: the first start under LANG=ru_RU.UTF-8, its About box and its score dialog are the
# harness's Russian ones, pixel for pixel.
first_start() {
  e2e_start "$E2E_TMP/first-$1"
  e2e_expect title "Mozik.bmp  -  5 x 5"
  [ "${2:-}" = "" ] || expect_text Form1.Label1 "$2"
  xdotool mousemove 1900 1150
  e2e_shot "$E2E_WID" "$(e2e_window_size)+0+0" "$shots/$1.png"
  e2e_focus "$E2E_WID"
  e2e_menu h a
  shot "$(e2e_window About)" "$1-about.png"
  e2e_answer About Escape
  e2e_focus "$E2E_WID"
  e2e_menu f h
  shot "$(e2e_window "High Scores")" "$1-scores.png"
  e2e_answer "High Scores" Escape
  e2e_quit
}
# same_starts A B: the two first starts' windows are the same pictures.
same_starts() {
  local part
  for part in "" -about -scores; do
    e2e_same_picture "$shots/$1$part.png" "$shots/$2$part.png" || e2e_fail "$2$part differs from $1$part"
  done
}
E2E_ENV=("${locale_only[@]}" LANG=ru_RU.UTF-8)
first_start ru-first-start "Время : 0"
E2E_ENV=(LANGUAGE=ru)
first_start harness-first-start
same_starts ru-first-start harness-first-start
if [ -n "${MOZIK_BASELINE:-}" ]; then
  E2E_ENV=("${locale_only[@]}" LANG=ru_RU.UTF-8)
  MOZIK=$(realpath "$MOZIK_BASELINE") first_start baseline-first-start
  same_starts ru-first-start baseline-first-start
  e2e_note "LANG=ru_RU.UTF-8: the first start, the About box and the score dialog are $MOZIK_BASELINE's pixel for pixel"
fi
e2e_note "LANG=ru_RU.UTF-8: the first start in Russian, \"Время : 0\", it, the About box and the score dialog the same pixels as the Russian harness's"
