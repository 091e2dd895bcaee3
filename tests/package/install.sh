#!/usr/bin/env bash
# The Debian package at work (CTest label "package"; `ctest -LE package` leaves it out). As root
# the package is installed with apt-get, which brings what it depends on; without root (or with
# MOZIK_PACKAGE_ROOT=scratch) it is unpacked into a scratch root with dpkg-deb -x, and apt-get
# only tells whether it could be installed. Either way the game starts from its desktop entry
# under a virtual X server, the installed program plays a 4 x 4 game home (its sound library
# found where it is installed), and, installed, apt-get remove leaves nothing of the package but
# the player's own files.
# Usage: tests/package/install.sh [PACKAGE.deb]   (without one, scripts/package.sh makes it, from
# the build MOZIK_PACKAGE_FROM names when it is set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=${1:-}
if [ -z "$deb" ]; then
  made=$(mktemp -d)
  "$here/../../scripts/package.sh" ${MOZIK_PACKAGE_FROM:+--from "$MOZIK_PACKAGE_FROM"} "$made" >/dev/null
  deb=$(ls "$made"/mozik_*.deb)
fi
deb=$(realpath "$deb")
mode=${MOZIK_PACKAGE_ROOT:-$([ "$(id -u)" = 0 ] && echo system || echo scratch)}
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -qq -o DPkg::Lock::Timeout=600)

if [ "$mode" = system ]; then
  if dpkg-query -W -f='${db:Status-Status}' mozik 2>/dev/null | grep -q installed; then
    echo "Skipped: mozik is installed on this machine already, and is left as it is." >&2
    exit 77
  fi
  "${apt[@]}" install "$deb" >/dev/null
  root=""
else
  "${apt[@]}" install --simulate "$deb" >/dev/null 2>&1 || echo "  (apt-get could not tell whether the package would install)"
  root=$(mktemp -d)
  dpkg-deb -x "$deb" "$root"
fi
program="$root/usr/games/mozik"
source "$here/../e2e/lib.sh" "$program"
e2e_setup "the Debian package, $mode-wide"
# At the end the scratch root and the package made go, and a package a failed test left installed
# is removed.
package_cleanup() {
  local status=$?
  [ -z "$root" ] || rm -rf "$root"
  [ -z "${made:-}" ] || rm -rf "$made"
  if [ "$mode" = system ] && [ "$(dpkg-query -W -f='${db:Status-Status}' mozik 2>/dev/null)" = installed ]; then
    "${apt[@]}" remove mozik >/dev/null 2>&1 || true
  fi
  e2e_cleanup "$status"
}
trap package_cleanup EXIT
e2e_note "installed $(basename "$deb") ($mode): $(dpkg-deb -f "$deb" Depends | tr ',' '\n' | wc -l) dependencies"

# Every file and link of the package is where it says, the programs and the library stripped.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | while read -r path; do
  [ -e "$root$path" ] || [ -L "$root$path" ] || e2e_fail "not installed: $path"
done
for binary in usr/games/mozik usr/games/mozik-solve; do
  file "$root/$binary" | grep -q ', stripped' || e2e_fail "$binary is not stripped"
done

# The desktop entry as a desktop starts it (dex, after the entry's TryExec and Exec), with the
# programs' folder on the path as in a player's session.
entry="$root/usr/share/applications/org.mozik.Mozik.desktop"
PATH="$root/usr/games:$PATH" dex "$entry" >>"$E2E_TMP/dex.log" 2>&1 &
E2E_PIDS+=("$!")
e2e_wait_for 'E2E_WID=$(xdotool search --onlyvisible --name "^Mozik.bmp  -  5 x 5$" 2>/dev/null | sed -n 1p); [ -n "$E2E_WID" ]' \
  "the window of the game started from the desktop entry"
E2E_PID=$(xdotool getwindowpid "$E2E_WID")
[ "$(readlink "/proc/$E2E_PID/exe")" = "$(realpath "$program")" ] || e2e_fail "the entry started $(readlink "/proc/$E2E_PID/exe")"
e2e_give_focus "$E2E_WID"
e2e_key alt+x
e2e_wait_for '! kill -0 "$E2E_PID" 2>/dev/null' "the game started from the desktop entry to end"
e2e_note "the desktop entry started $program, and Alt+X ended it"

# A 4 x 4 game played home by the installed programs, without a sound device.
export PULSE_SERVER="unix:$E2E_TMP/no-sound-server" PULSE_RUNTIME_PATH="$E2E_TMP/pulse"
e2e_start "$E2E_TMP/play"
e2e_expect soundplayer loaded
e2e_size 4
e2e_play
read -ra moves <<<"$(e2e_solutions "$(e2e_game)")"
e2e_click_home "${moves[@]}"
e2e_expect running 0
e2e_expect grid "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 0"
e2e_answer Message Return
e2e_answer "High Scores" Return
e2e_quit
scores="$E2E_DATA/Mozik/Mozik.ini"
[ -s "$scores" ] || e2e_fail "no score file after the game"
history="$E2E_DATA/Mozik/history.sqlite"
[ -s "$history" ] || e2e_fail "no history of games after the game"
e2e_note "a 4 x 4 game went home in ${#moves[@]} moves, its sound library loaded from the package"
[ "$mode" = system ] || exit 0

# Removed, nothing of the package is left: no file, no folder that no other package has.
"${apt[@]}" remove mozik >/dev/null
[ "$(dpkg-query -W -f='${db:Status-Status}' mozik 2>/dev/null)" != installed ] || e2e_fail "mozik is still installed"
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | sed 's|/$||' | while read -r path; do
  [ -n "$path" ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    dpkg-query -S "$path" >/dev/null 2>&1 || e2e_fail "left behind: the folder $path"
  elif [ -e "$path" ] || [ -L "$path" ]; then
    e2e_fail "left behind: $path"
  fi
done
[ -s "$scores" ] && [ -s "$history" ] || e2e_fail "the player's score file or history went with the package"
e2e_note "apt-get remove left no file of the package, and the player's files as they were"
