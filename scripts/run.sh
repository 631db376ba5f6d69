#!/usr/bin/env bash
# Installs what is missing, builds PimVesk into build-run/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "PimVesk needs a graphical desktop, and this session has none (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    exit 1
fi
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}"
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMVESK_TESTS=OFF >/dev/null
cmake --build build-run --target pimvesk
exec build-run/src/app/pimvesk
