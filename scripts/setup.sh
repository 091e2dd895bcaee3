#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mozik need, when they are missing.
# Installs nothing else; safe to run again.
set -euo pipefail

# To build and run: the compiler, CMake, Qt with its SQLite driver and its Russian translation, Qt's
# Linguist tools (the translations are compiled by the build; lupdate brings them up to date), the
# fonts, Qt Multimedia for the sounds (its library, libqt6multimedia6, comes with it and plays
# through PulseAudio, libpulse0); for pictures Qt SVG, Qt's extra image readers (WebP, TIFF),
# libheif (HEIC through libde265, AVIF through dav1d) and zlib. To make the tests' pictures:
# libheif's HEVC and AV1 encoders, libjpeg. To fuzz: clang with its sanitizer runtimes.
# To test: GoogleTest, Google Benchmark; a virtual X server and its keyboard maps, xdotool, xwininfo,
# ImageMagick, sqlite3 and a window manager (openbox) for the end-to-end tests; the accessibility
# bus and its Python client (at-spi2-core, dbus, python3-pyatspi) to read the game as a screen
# reader does; the GTK platform theme to try a dark desktop; the desktop file validators;
# man, to read the manual pages; file and dex, to look at the installed package and start the game
# from its desktop entry (scripts/package.sh installs lintian and dpkg-dev itself).
packages=(g++ make cmake qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n qt6-tools-dev qt6-l10n-tools fonts-liberation
          qt6-multimedia-dev qt6-svg-dev qt6-image-formats-plugins libheif-dev libheif1 libde265-0 libdav1d6 libx265-199 libaom3
          zlib1g-dev libjpeg-dev pkg-config clang-14 libclang-rt-14-dev
          libgtest-dev libbenchmark-dev
          xvfb xdotool x11-utils x11-xkb-utils imagemagick sqlite3 openbox at-spi2-core dbus python3-pyatspi
          qt6-gtk-platformtheme desktop-file-utils appstream man-db file dex)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "These Debian packages are missing and there is no sudo to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
