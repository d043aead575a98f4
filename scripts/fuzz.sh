#!/bin/sh
# Builds the libFuzzer harnesses with clang and runs each for SECONDS (default 60), starting
# from the test fixtures. Crashes are left in build-fuzz/artifacts/.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNWELL_TESTS=OFF -DTARNWELL_BENCH=OFF -DTARNWELL_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
cmake --build build-fuzz
mkdir -p build-fuzz/artifacts build-fuzz/corpus
cp -r tests/data/. build-fuzz/corpus/ 2>/dev/null || true
find build-fuzz/fuzz -type f -name '*_fuzz' -perm -u+x | while read -r harness; do
    echo "== $(basename "$harness"): $seconds s"
    "$harness" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus
done
