#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mozik need, when they are missing.
# Installs nothing else; safe to run again.
set -euo pipefail

# To build and run: the compiler, CMake, Qt and its Russian translation, Qt's Linguist tools (the
# translations are compiled by the build; lupdate brings them up to date), the fonts, Qt Multimedia
# for the sounds (its library, libqt6multimedia6, comes with it and plays through PulseAudio,
# libpulse0).
# To test: GoogleTest, Google Benchmark; a virtual X server and its keyboard maps, xdotool, xwininfo,
# ImageMagick and a window manager (openbox) for the end-to-end tests; the accessibility bus and its
# Python client (at-spi2-core, dbus, python3-pyatspi) to read the game as a screen reader does; the
# GTK platform theme to try a dark desktop; the desktop file validators;
# man, to read the manual pages.
packages=(g++ make cmake qt6-base-dev qt6-translations-l10n qt6-tools-dev qt6-l10n-tools fonts-liberation qt6-multimedia-dev
          libgtest-dev libbenchmark-dev
          xvfb xdotool x11-utils x11-xkb-utils imagemagick openbox at-spi2-core dbus python3-pyatspi
          qt6-gtk-platformtheme desktop-file-utils appstream man-db)

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
