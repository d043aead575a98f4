#!/bin/sh
# Times tarnwell-cli docs on the JDK's own java.base, from the sources (src.zip) and from the
# class files (the java.base jmod), and checks every written page with check_docs_links.py.
# Usage: time_jdk_docs.sh BUILD_DIR [WORK_DIR]
# Needs openjdk-17-jdk-headless and openjdk-17-source; nothing of the JDK is kept in the tree.
set -eu
build=${1:?usage: time_jdk_docs.sh BUILD_DIR [WORK_DIR]}
work=${2:-${TMPDIR:-/tmp}/tarnwell-jdk}
here=$(dirname "$0")
cli="$build/src/cli/tarnwell-cli"
. "$here/jdk_java_base.sh"
find "$work/src/java.base" -name '*.java' | sort > "$work/sources.list"
find "$work/jmod/classes" -name '*.class' | sort > "$work/classes.list"
for kind in sources classes; do
    rm -rf "$work/docs-$kind"
    start=$(date +%s.%N)
    QT_QPA_PLATFORM=offscreen "$cli" docs -o "$work/docs-$kind" "@$work/$kind.list" \
        > /dev/null 2> "$work/docs-$kind.log" || echo "  (exit status $?, see $work/docs-$kind.log)"
    end=$(date +%s.%N)
    printf 'java.base %-8s %7.1f s  ' "$kind" "$(echo "$end - $start" | bc)"
    python3 "$here/check_docs_links.py" "$work/docs-$kind" | head -20
done
