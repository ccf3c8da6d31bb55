#!/usr/bin/env bash
# Installs the Debian packages Quillmark needs to build, run and test, when they are missing.
set -euo pipefail

# Fonts matter for the offscreen platform the tests run on, which has no system fonts of its own.
# Qt Charts needs the OpenGL module's CMake files, which qt6-charts-dev does not pull in itself.
# The printing tests read the PDFs back with pdftotext (poppler-utils); the install test checks
# the desktop entry with desktop-file-validate (desktop-file-utils).
packages=(g++ cmake make qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
          fonts-dejavu-core poppler-utils desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
