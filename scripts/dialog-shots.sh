#!/usr/bin/env bash
# Draws the dialogs into OUTPUT_DIR (default build/dialog-shots) at the default font, at
# a 20 pt font and at 200 % scale, over a sample gradebook, without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/dialog-shots}
sample=${2:-tests/data/cli/letters.grd}
cmake --build build --target quillmark-dialogshots > /dev/null
export QT_QPA_PLATFORM=offscreen
for look in default large scaled; do
  mkdir -p "$out/$look"
  case $look in
    default) build/quillmark-dialogshots "$sample" resources "$out/$look" ;;
    large) build/quillmark-dialogshots "$sample" resources "$out/$look" 20 ;;
    scaled) QT_SCALE_FACTOR=2 build/quillmark-dialogshots "$sample" resources "$out/$look" ;;
  esac
done
