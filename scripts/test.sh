#!/usr/bin/env bash
# Builds everything and runs the whole test suite (widgets offscreen).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELMORA_BUILD_DIR:-$here/build}"
bash "$here/scripts/setup.sh" "$build" -DVELMORA_WERROR="${VELMORA_WERROR:-OFF}" -DVELMORA_SANITIZE="${VELMORA_SANITIZE:-}"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
