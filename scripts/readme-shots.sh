#!/usr/bin/env bash
# Makes the README's pictures of the sample class under a virtual display: the table in Edit
# mode, and Analyze mode with a test's chart. Needs Xvfb, openbox, xdotool and ImageMagick
# (apt-get install xvfb openbox xdotool imagemagick) and a build in build/.
#   usage: scripts/readme-shots.sh [OUT_DIR]   (docs/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
mkdir -p "$out"
home=$(mktemp -d)
display=:37
Xvfb "$display" -screen 0 1280x800x24 > /dev/null 2>&1 &
xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY=$display HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
sleep 1
openbox > /dev/null 2>&1 &
wm=$!
sleep 0.5
build/quillmark "$PWD/examples/class.GRD" > /dev/null 2>&1 &
app=$!
window=""
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --name '^Quillmark - ' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "The window did not appear."; exit 1; }
xdotool windowactivate --sync "$window"
xdotool windowsize --sync "$window" 1240 700
sleep 0.5
# A score of the Midterm is current, so the panel shows that test.
xdotool key Right Right Right Right Right
sleep 0.5
import -window "$window" "$out/edit-mode.png"
xdotool key alt+v a   # View > Analyze Mode
sleep 1
import -window "$window" "$out/analyze-mode.png"
echo "Pictures in $out"
