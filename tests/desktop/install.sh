#!/usr/bin/env bash
# Installs the build into an empty prefix and checks what a desktop needs: the programs, the
# desktop entry, the AppStream metadata and the icons, with both validators passing.
# Usage: tests/desktop/install.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.mozik.Mozik
for file in bin/mozik bin/mozik-solve "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
            "share/icons/hicolor/48x48/apps/$id.png" "share/icons/hicolor/256x256/apps/$id.png" \
            "share/icons/hicolor/scalable/apps/$id.svg" share/doc/Mozik/LICENSE; do
  [ -s "$prefix/$file" ] || { echo "missing: $file" >&2; exit 1; }
done
[ -x "$prefix/bin/mozik" ] || { echo "bin/mozik is not executable" >&2; exit 1; }
grep -qx "Exec=mozik %f" "$prefix/share/applications/$id.desktop" || { echo "no Exec=mozik %f" >&2; exit 1; }
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
echo "Installed files complete; desktop-file-validate and appstreamcli validate pass."
