#!/bin/sh
# Builds the desktop program and starts it on the bundled sample (or on the files given).
# Without a display it runs on a virtual X server when xvfb-run is there.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF >/dev/null
cmake --build build -j2 --target tarnwell
program=build/src/app/tarnwell
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
fi
if command -v xvfb-run >/dev/null 2>&1; then
    echo "No display: tarnwell runs on a virtual X server (xvfb-run), unseen; Ctrl+C stops it." >&2
    exec xvfb-run -a "$program" "$@"
fi
echo "No display (DISPLAY is unset) and no xvfb-run: the window cannot be shown." >&2
exit 1
