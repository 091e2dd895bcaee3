#!/usr/bin/env bash
# Installs the build into an empty prefix and checks what a desktop needs: the programs, the sound
# library, the desktop entry, the AppStream metadata, the icons and the manual pages, with both
# validators and man passing.
# Usage: tests/desktop/install.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.mozik.Mozik
# A build configured as the Debian package is installs its programs in games/ and Debian's copyright
# file in place of the licence.
bin=bin licence=share/doc/Mozik/LICENSE
if grep -q '^MOZIK_DEBIAN_PACKAGE:BOOL=ON$' "$build/CMakeCache.txt"; then
  bin=games licence=share/doc/mozik/copyright
fi
for file in "$bin/mozik" "$bin/mozik-solve" "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
            "share/icons/hicolor/48x48/apps/$id.png" "share/icons/hicolor/256x256/apps/$id.png" \
            "share/icons/hicolor/scalable/apps/$id.svg" "$licence" \
            share/man/man6/mozik.6.gz share/man/man6/mozik-solve.6.gz share/man/ru/man6/mozik.6.gz share/man/ru/man6/mozik-solve.6.gz; do
  [ -s "$prefix/$file" ] || { echo "missing: $file" >&2; exit 1; }
done
[ -x "$prefix/$bin/mozik" ] || { echo "$bin/mozik is not executable" >&2; exit 1; }
# The sound library, where the program looks for it: the library folder's mozik/, next to bin/.
[ -n "$(find "$prefix"/lib* -path '*/mozik/libmozik-sound.so' -size +1k)" ] || { echo "missing: the sound library" >&2; exit 1; }
grep -qx "Exec=mozik %f" "$prefix/share/applications/$id.desktop" || { echo "no Exec=mozik %f" >&2; exit 1; }
desktop-file-validate "$prefix/share/applications/$id.desktop"
# Pedantic: nothing but notes (this AppStream does not know <developer> yet, of AppStream 1.0).
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$prefix/appstream" ||
  { cat "$prefix/appstream" >&2; exit 1; }
! grep -E '^[EW]: ' "$prefix/appstream" || exit 1
version=$(cd "$build" && sed -n 's/^#define MOZIK_VERSION "\(.*\)"/\1/p' generated/MozikVersion.h)
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  { echo "the metadata does not name this version's release" >&2; exit 1; }
# The manual pages, English and Russian, read without a warning, with their options, the
# language's variables and exit statuses.
for page in man6/mozik man6/mozik-solve ru/man6/mozik ru/man6/mozik-solve; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/$page.6.gz" 2>"$prefix/man-warnings")
  [ ! -s "$prefix/man-warnings" ] || { echo "man $page:" >&2; cat "$prefix/man-warnings" >&2; exit 1; }
  words=(SYNOPSIS OPTIONS "EXIT STATUS")
  [[ $page != ru/* ]] || words=(ОБЗОР ПАРАМЕТРЫ "КОД ВЫХОДА")
  for word in "${words[@]}" --help --version LC_MESSAGES "$version"; do
    grep -qe "$word" <<<"$text" || { echo "man $page does not tell $word" >&2; exit 1; }
  done
done
grep -q 'XDG_DATA_HOME/Mozik/Mozik.ini' <<<"$(MANWIDTH=200 man -l "$prefix/share/man/man6/mozik.6.gz" 2>/dev/null)" || { echo "man mozik does not tell the score file" >&2; exit 1; }
echo "Installed files complete; desktop-file-validate, appstreamcli validate and man pass."
