#!/bin/sh
# Times `tarnwell-cli procs` and `ctags -x --c-kinds=f` on the same generated C file and
# prints both times (best of RUNS), their ratio and how many functions each found.
# usage: bench/explorer/compare_ctags.sh [BUILD_DIR] [LINES] [RUNS]
# BUILD_DIR holds a normal (not sanitizer) build; ctags is Debian's universal-ctags.
set -eu
build=${1:-build}
lines=${2:-200000}
runs=${3:-5}
cli="$build/src/cli/tarnwell-cli"
maker="$build/bench/explorer/explorer_make_c_source"
for tool in "$cli" "$maker"; do
    [ -x "$tool" ] || { echo "missing $tool: build $build first" >&2; exit 2; }
done
command -v ctags >/dev/null || { echo "ctags is missing (apt-get install universal-ctags)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source="$work/generated.c"
defined=$("$maker" "$source" "$lines")

# Best wall time of $runs runs of a command, in milliseconds; the output goes to $work/out.
best_ms() {
    best=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        "$@" >"$work/out"
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
        i=$((i + 1))
    done
    echo "$best"
}

procs_ms=$(best_ms "$cli" procs --lang c "$source")
procs_found=$(wc -l <"$work/out")
ctags_ms=$(best_ms ctags -x --c-kinds=f --language-force=C "$source")
ctags_found=$(wc -l <"$work/out")

echo "file: $(wc -l <"$source") lines, $(wc -c <"$source") bytes, $defined functions defined"
echo "tarnwell-cli procs: ${procs_ms} ms, $procs_found functions"
echo "ctags -x --c-kinds=f: ${ctags_ms} ms, $ctags_found functions"
awk -v a="$procs_ms" -v b="$ctags_ms" 'BEGIN {
    if (b > 0) printf "ratio procs/ctags: %.2f\n", a / b; else print "ratio procs/ctags: ctags took 0 ms" }'
