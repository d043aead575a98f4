#!/bin/sh
# Times tarnwell-cli diagram on the JDK's own java.base: java.util and java.lang from the
# sources (src.zip) and from the class files (the java.base jmod), and every class of the
# class files (--all). Usage: time_jdk_diagram.sh BUILD_DIR [WORK_DIR]
# Needs openjdk-17-jdk-headless and openjdk-17-source; nothing of the JDK is kept in the tree.
set -eu
build=${1:?usage: time_jdk_diagram.sh BUILD_DIR [WORK_DIR]}
work=${2:-${TMPDIR:-/tmp}/tarnwell-jdk}
cli="$build/src/cli/tarnwell-cli"
. "$(dirname "$0")/jdk_java_base.sh"
run() {
    name=$1
    shift
    start=$(date +%s.%N)
    "$cli" diagram "$@" > /dev/null 2>&1 || echo "  ($name: exit status $?)"
    end=$(date +%s.%N)
    size=$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print('%dx%d' % struct.unpack('>II', d[16:24]))" "$work/$name.png" 2>/dev/null || echo "?")
    printf '%-28s %6.2f s  %s\n' "$name" "$(echo "$end - $start" | bc)" "$size"
}
src="$work/src/java.base/java"
cls="$work/jmod/classes/java"
run util-sources --package java.util -o "$work/util-sources.png" "$src"/util/*.java
run lang-sources --package java.lang -o "$work/lang-sources.png" "$src"/lang/*.java
run util-classes --package java.util -o "$work/util-classes.png" "$cls"/util/*.class
run lang-classes --package java.lang -o "$work/lang-classes.png" "$cls"/lang/*.class
find "$work/jmod/classes" -name '*.class' > "$work/all-classes.list"
run all-classes --all -o "$work/all-classes.png" "@$work/all-classes.list"
