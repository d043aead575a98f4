#!/bin/sh
# Builds the program and shows the structure markup of the bundled sample function.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWELL_TESTS=OFF >/dev/null
cmake --build build --target tarnwell-cli
exec build/src/cli/tarnwell-cli markup --lines 19-38 data/sample/Array.java
