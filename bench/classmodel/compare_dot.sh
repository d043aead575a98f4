#!/bin/sh
# Times `tarnwell-cli layered` and Graphviz `dot -Tplain` on the same generated graphs of 100,
# 1,000 and 5,000 boxes (the graphs of layered_bench) and prints both times, best of RUNS (a
# tool that needed more than 10 s for one run is run once), and their ratio.
# usage: bench/classmodel/compare_dot.sh [BUILD_DIR] [RUNS] [LIMIT_SECONDS]
# BUILD_DIR holds a normal (not sanitizer) build; a run that takes longer than LIMIT_SECONDS
# (default 3600) is stopped and reported as a lower bound. dot is Debian's graphviz.
set -eu
build=${1:-build}
runs=${2:-3}
limit=${3:-3600}
cli="$build/src/cli/tarnwell-cli"
maker="$build/bench/classmodel/classmodel_make_layered_graph"
for tool in "$cli" "$maker"; do
    [ -x "$tool" ] || { echo "missing $tool: build $build first" >&2; exit 2; }
done
command -v dot >/dev/null || { echo "dot is missing (apt-get install graphviz)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Best wall time of up to $runs runs of a command in milliseconds, prefixed with ">" when a run
# was stopped at the limit; the output goes to $work/out.
best_ms() {
    best=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        status=0
        timeout "$limit" "$@" >"$work/out" || status=$?
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ "$status" -eq 124 ]; then echo ">$ms"; return; fi
        if [ "$status" -ne 0 ]; then echo "$* failed with status $status" >&2; exit 1; fi
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
        [ "$ms" -gt 10000 ] && break
        i=$((i + 1))
    done
    echo "$best"
}

printf '%8s %8s %8s %14s %14s %16s\n' boxes visible edges "layered ms" "dot ms" "layered/dot"
for boxes in 100 1000 5000; do
    "$maker" "$work/graph.json" "$work/graph.dot" "$boxes"
    layered_ms=$(best_ms "$cli" layered "$work/graph.json")
    grep -q '^{"ok":true' "$work/out" || { echo "layered failed: $(cat "$work/out")" >&2; exit 1; }
    dot_ms=$(best_ms dot -Tplain "$work/graph.dot")
    visible=$(grep -c 'width=' "$work/graph.dot")
    edges=$(grep -c -- '->' "$work/graph.dot")
    ratio=$(awk -v a="$layered_ms" -v b="${dot_ms#>}" 'BEGIN {
        if (b > 0) printf "%.4f", a / b; else print "dot took 0 ms" }')
    case $dot_ms in ">"*) ratio="<$ratio" ;; esac
    printf '%8s %8s %8s %14s %14s %16s\n' "$boxes" "$visible" "$edges" "$layered_ms" "$dot_ms" \
        "$ratio"
done
