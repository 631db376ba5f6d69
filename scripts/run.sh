#!/usr/bin/env bash
# Installs what is missing, builds PimVesk into build-run/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "PimVesk needs a graphical desktop, and this session has none (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    exit 1
fi
# A DISPLAY left over from a closed desktop (in tmux, say): Qt would abort with
# a page of advice about reinstalling. A local display is a socket; a remote
# one (ssh's forwarding) a TCP port.
if [ -n "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    host="${DISPLAY%%:*}"
    number="${DISPLAY##*:}"
    number="${number%%.*}"
    if [[ "$number" =~ ^[0-9]+$ ]]; then
        reachable=0
        if [ -z "$host" ] || [ "$host" = unix ]; then
            [ -S "/tmp/.X11-unix/X$number" ] && reachable=1
            grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null && reachable=1
        else
            (exec 3<>"/dev/tcp/$host/$((6000 + number))") 2>/dev/null && reachable=1
        fi
        if [ "$reachable" -eq 0 ]; then
            echo "PimVesk cannot reach the display $DISPLAY: is the desktop still running?" >&2
            exit 1
        fi
    fi
fi
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}"
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMVESK_TESTS=OFF >/dev/null
cmake --build build-run --target pimvesk
exec build-run/src/app/pimvesk
