#!/bin/sh
# Builds the libraries, the widgets and their tests with AddressSanitizer and UBSan, then runs
# them; the widget tests paint off-screen.
# TARNWELL_FUZZ_SECONDS=N additionally runs each fuzz harness for N seconds.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNWELL_SANITIZE=ON
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2
if [ "${TARNWELL_FUZZ_SECONDS:-0}" -gt 0 ]; then
    scripts/fuzz.sh "$TARNWELL_FUZZ_SECONDS"
fi
