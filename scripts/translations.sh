#!/usr/bin/env bash
# Brings the translation files up to date with the program's sources (lupdate):
#   translations/mozik_en.ts   every text a player reads, the Russian text as source, and its English
#   translations/mozik_ru.ts   only the texts that count something (%n), with their Russian plural forms
# New texts come in unfinished, texts gone from the sources go out. Give each new text its
# translation (Qt Linguist, or by hand: fill <translation> and drop type="unfinished"), then build.
#
#   scripts/translations.sh           update both files in place
#   scripts/translations.sh --check   change nothing; fail when a file is not what an update would
#                                     make of it (a text added, changed or gone) or a text has no
#                                     finished translation (what the tests run)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lupdate=$(command -v lupdate || true)
[ -n "$lupdate" ] && "$lupdate" -version 2>/dev/null | grep -q "lupdate version 6" || lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || { echo "lupdate of Qt 6 not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

# The program's code: every folder whose texts a player reads (not tests/ nor bench/).
sources=(art balloon effects files framework game label solver sound windows)

update() {  # update EN RU
  (cd "$root" && "$lupdate" -silent -locations none -no-obsolete -no-ui-lines -extensions cpp,h -I . \
    -source-language ru_RU -target-language en_US "${sources[@]}" -ts "$1")
  (cd "$root" && "$lupdate" -silent -locations none -no-obsolete -no-ui-lines -extensions cpp,h -I . -pluralonly \
    -source-language ru_RU -target-language ru_RU "${sources[@]}" -ts "$2")
}

if [ "${1:-}" != --check ]; then
  update "$root/translations/mozik_en.ts" "$root/translations/mozik_ru.ts"
  exit 0
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$root/translations/mozik_en.ts" "$root/translations/mozik_ru.ts" "$scratch/"
update "$scratch/mozik_en.ts" "$scratch/mozik_ru.ts"
status=0
for file in mozik_en.ts mozik_ru.ts; do
  if ! diff -u "$root/translations/$file" "$scratch/$file" >"$scratch/$file.diff"; then
    echo "translations/$file is not up to date with the sources (run scripts/translations.sh):" >&2
    cat "$scratch/$file.diff" >&2
    status=1
  fi
  if grep -n -E 'type="(unfinished|vanished|obsolete)"|<translation>\s*</translation>|<numerusform>\s*</numerusform>' \
      "$scratch/$file" >&2; then
    echo "translations/$file: the texts above have no finished translation" >&2
    status=1
  fi
done
[ "$status" = 0 ] && echo "translations: up to date, every text translated"
exit "$status"
