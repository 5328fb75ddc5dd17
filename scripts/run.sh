#!/usr/bin/env bash
# Installs what is missing, builds Quarvel and starts it on the bundled
# sample library (build/sample/Sample.slb, made by the build itself).
#   QUARVEL_BUILD_DIR   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

quarvel_install_missing "${QUARVEL_BUILD_PACKAGES[@]}" "${QUARVEL_RUN_PACKAGES[@]}"
build=${QUARVEL_BUILD_DIR:-build}
quarvel_configure "$build"
ninja -C "$build" quarvel sample

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are unset); Quarvel needs one" >&2
fi
exec "$build/app/quarvel" "$PWD/$build/sample/Sample.slb"
