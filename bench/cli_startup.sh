#!/bin/sh
# Times tarnwell-cli as a whole process beside the tools an editor or a script would otherwise
# call, and prints a table: `markup` of a three-line function against `ctags -x` on the same
# file, and `layered` on 1,000 boxes against `dot -Tplain` on the same graph. Each time is the
# mean of a batch of runs, the best of ROUNDS batches, the tools' batches taking turns so that
# both meet the same load; hyperfine does the timing when it is installed.
# usage: bench/cli_startup.sh [BUILD_DIR] [RUNS] [ROUNDS]
# BUILD_DIR holds a Release build with tarnwell-cli (and the programs beside it) built.
set -eu
build=${1:-build-rel}
runs=${2:-100}
rounds=${3:-5}
cli="$build/src/cli/tarnwell-cli"
[ -x "$cli" ] || { echo "missing $cli: build $build first" >&2; exit 2; }

# The references are Debian's universal-ctags and graphviz, installed here for the benchmark
# only; the program itself needs neither.
if ! command -v ctags >/dev/null || ! command -v dot >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then
        apt-get install -y --no-install-recommends universal-ctags graphviz >/dev/null
    else
        echo "needs ctags and dot: apt-get install universal-ctags graphviz" >&2
        exit 2
    fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf 'int sign(int x)\n{\n    if (x < 0) return -1;\n    return x > 0;\n}\n' >"$work/tiny.c"

# One graph in both forms: 1,000 boxes of class-diagram sizes, each but the first inheriting
# from an earlier one, and every seventh box with an association to another.
awk -v json="$work/graph.json" -v dot="$work/graph.dot" 'BEGIN {
    n = 1000; seed = 12345
    printf "{\"boxes\":[" > json
    print "digraph g {" > dot
    print "  node [shape=box, fixedsize=true];" > dot
    for (i = 0; i < n; i++) {
        seed = (seed * 1103515245 + 12345) % 2147483648
        w = 80 + seed % 120; h = 30 + seed % 90
        printf "%s{\"w\":%d,\"h\":%d,\"visible\":true}", (i ? "," : ""), w, h > json
        printf "  b%d [width=%.3f, height=%.3f];\n", i, w / 72, h / 72 > dot
    }
    printf "],\"edges\":[" > json
    first = 1
    for (i = 1; i < n; i++) {
        seed = (seed * 1103515245 + 12345) % 2147483648
        parent = int(seed % i)
        printf "%s{\"from\":%d,\"to\":%d,\"inherit\":true}", (first ? "" : ","), i, parent > json
        printf "  b%d -> b%d;\n", i, parent > dot
        first = 0
        if (i % 7 == 0) {
            other = int((seed / 7) % n)
            if (other != i) {
                printf ",{\"from\":%d,\"to\":%d,\"inherit\":false}", i, other > json
                printf "  b%d -> b%d;\n", i, other > dot
            }
        }
    }
    print "]}" > json
    print "}" > dot
}'

# Both must work on their input before they are timed.
"$cli" markup "$work/tiny.c" >/dev/null
ctags -x "$work/tiny.c" >/dev/null
"$cli" layered "$work/graph.json" >/dev/null
dot -Tplain "$work/graph.dot" >/dev/null

# Mean nanoseconds per run of a shell command over a batch of $runs runs.
batch_ns() {
    start=$(date +%s%N)
    i=0
    while [ "$i" -lt "$runs" ]; do
        eval "$1" >/dev/null
        i=$((i + 1))
    done
    end=$(date +%s%N)
    echo $(((end - start) / runs))
}

# Milliseconds per run of two commands, "A B": hyperfine's fastest run, else the best batch
# mean of the rounds, batches of the two taking turns so that both meet the same load.
pair_ms() {
    if command -v hyperfine >/dev/null; then
        hyperfine -N --warmup 3 --runs "$((runs * rounds))" --export-json "$work/h.json" \
            "$1" "$2" >/dev/null 2>&1
        sed -n 's/.*"min": *\([0-9.e-]*\).*/\1/p' "$work/h.json" |
            awk '{ printf "%.2f ", $1 * 1000 }'
        return
    fi
    best_a=""
    best_b=""
    round=0
    while [ "$round" -lt "$rounds" ]; do
        a=$(batch_ns "$1")
        b=$(batch_ns "$2")
        if [ -z "$best_a" ] || [ "$a" -lt "$best_a" ]; then best_a=$a; fi
        if [ -z "$best_b" ] || [ "$b" -lt "$best_b" ]; then best_b=$b; fi
        round=$((round + 1))
    done
    awk -v a="$best_a" -v b="$best_b" 'BEGIN { printf "%.2f %.2f", a / 1e6, b / 1e6 }'
}

set -- $(pair_ms "$cli markup $work/tiny.c" "ctags -x $work/tiny.c")
markup_ms=$1
ctags_ms=$2
runs=$((runs / 10 > 0 ? runs / 10 : 1))
set -- $(pair_ms "$cli layered $work/graph.json" "dot -Tplain $work/graph.dot")
layered_ms=$1
dot_ms=$2

printf '%-34s %12s %12s %10s %s\n' "task (whole process)" "tarnwell-cli" "reference" "ratio" "goal"
awk -v a="$markup_ms" -v b="$ctags_ms" 'BEGIN {
    printf "%-34s %9s ms %9s ms %9.2fx %s\n", "markup, 5-line C file / ctags -x", a, b, b / a,
        "reference / tarnwell-cli >= 2"
}'
awk -v a="$layered_ms" -v b="$dot_ms" 'BEGIN {
    printf "%-34s %9s ms %9s ms %9.1fx %s\n", "layered, 1,000 boxes / dot -Tplain", a, b, b / a,
        "reference / tarnwell-cli >= 30"
}'
