#!/usr/bin/env bash
# Builds Quillmark and starts it; arguments are passed on (a gradebook to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/quillmark "$@"
