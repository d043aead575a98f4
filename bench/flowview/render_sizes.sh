#!/bin/sh
# Render time and peak memory of tarnwell-cli render for generated C functions of 300, 5,000
# and 32,000 lines, to SVG, PDF, PNG and BMP: bench/flowview/render_sizes.sh BUILD_DIR
# (a Release build with tarnwell-cli and generated_function). Needs GNU time (/usr/bin/time).
set -eu
build=${1:?usage: render_sizes.sh BUILD_DIR}
cli="$build/src/cli/tarnwell-cli"
generate="$build/bench/flowview/generated_function"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-7s %-4s %-5s %9s %9s %10s %12s\n' lines out exit "cpu s" "wall s" "peak MB" "bytes"
for lines in 300 5000 32000; do
    "$generate" "$lines" > "$work/f.c"
    last=$(($(wc -l < "$work/f.c") - 1))
    for out in svg pdf png bmp; do
        status=0
        /usr/bin/time -o "$work/time" -f '%U %S %e %M' \
            "$cli" render --lines "3-$last" -o "$work/chart.$out" "$work/f.c" \
            2> "$work/err" || status=$?
        # GNU time puts a line about a failed command's status before the figures.
        set -- $(tail -n 1 "$work/time")
        user=$1 sys=$2 wall=$3 peak=$4
        size=$(stat -c %s "$work/chart.$out" 2>/dev/null || echo -)
        printf '%-7s %-4s %-5s %9.2f %9.2f %10.1f %12s\n' "$lines" "$out" "$status" \
            "$(echo "$user + $sys" | bc)" "$wall" "$(echo "$peak / 1024" | bc -l)" "$size"
        grep -v '^Command exited' "$work/err" | sed 's/^/        /' || true
        rm -f "$work/chart.$out"
    done
done
