#!/bin/sh
# Charts function bodies cut from code that Debian ships and prints, per language, how many
# bodies were taken, how many chart, and how many charted without reaching the end of the
# marked code. A measurement, not a test: it installs nothing and the test suite does not
# use it.
#
#   scripts/measure-charting.sh [-n COUNT] [-k KEEPDIR] [-b BUILDDIR] [LANGUAGE...]
#
# LANGUAGE is one of c cpp java js php perl pas plsql cs python ts tsx go rust kotlin swift
# ruby scala lua bash powershell (default: all that have sources).
# KEEPDIR receives each body that fails or is shortened, with its result as JSON beside it.
# Sources and the Debian packages they come from:
#   c      /usr/include (except C++)        libc6-dev, linux-libc-dev and other -dev packages
#   cpp    /usr/include/c++/12               libstdc++-12-dev
#   java   java.base of the JDK's src.zip    openjdk-17-source
#   js     /usr/lib/node_modules, /usr/share/nodejs   npm
#   php    /usr/share/php                    php-twig, php-phpseclib3
#   perl   /usr/share/perl, /usr/share/perl5 perl-modules-5.36, perl
#   pas    /usr/share/fpcsrc                 fpc-source
#   plsql  /usr/share/postgresql/*/extension postgresql-contrib, postgresql-15-partman,
#                                            postgresql-15-pgtap
#   cs     the folders in $TARNWELL_CS_SOURCES (Debian ships no C# library sources)
#   python /usr/lib/python3.11               libpython3.11-stdlib
#   go     /usr/share/go-*/src               golang-1.19-src
#   rust   /usr/src/rustc-*/library          rust-src
#   ts tsx the folders in $TARNWELL_TS_SOURCES: npm packages that ship their .ts and .tsx
#          sources (rxjs, effect, @trpc/server, @tanstack/query-core, @tanstack/react-query),
#          unpacked from `npm pack` archives (Debian ships none)
#   ruby   /usr/lib/ruby/3.*                 libruby3.1 (ruby)
#   lua    /usr/share/lua                    lua-penlight, lua-busted, lua-argparse, lua-luassert
#   bash   /usr/share/bash-completion        bash-completion
#   kotlin scala  the folders in $TARNWELL_KOTLIN_SOURCES and $TARNWELL_SCALA_SOURCES: Debian's
#          source packages (`apt-get source kotlin scala`, which needs a deb-src line), test data
#          that is broken on purpose left out
#   swift  the folders in $TARNWELL_SWIFT_SOURCES: npm packages that ship .swift sources
#          (expo-modules-core); Debian ships none
#   powershell  the folders in $TARNWELL_POWERSHELL_SOURCES (Debian ships next to no .ps1 files)
# The syntax-tree languages are cut as the code explorer cuts them: each function whole, from
# its definition line through its last line, as `tarnwell-cli procs` lists it.
set -eu
cd "$(dirname "$0")/.."
count=300
keep=""
build=build
while getopts n:k:b: option; do
    case "$option" in
        n) count="$OPTARG" ;;
        k) keep="$OPTARG" ;;
        b) build="$OPTARG" ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
cli="$build/src/cli/tarnwell-cli"
[ -x "$cli" ] || { echo "no $cli: build the target tarnwell-cli first" >&2; exit 2; }
command -v ctags > /dev/null || { echo "universal-ctags is needed" >&2; exit 2; }
languages="${*:-c cpp java js php perl pas plsql cs python ts tsx go rust kotlin swift ruby scala lua bash powershell}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

existing() {
    for path in "$@"; do [ -e "$path" ] && printf '%s\n' "$path"; done
    return 0
}

roots_of() {
    case "$1" in
        c) existing /usr/include ;;
        cpp) existing /usr/include/c++/12 ;;
        java) zip=$(ls /usr/lib/jvm/*17*/lib/src.zip 2> /dev/null | head -n 1)
              if [ -n "$zip" ]; then
                  unzip -q -o "$zip" 'java.base/*' -d "$work/java" && echo "$work/java"
              fi ;;
        js) existing /usr/lib/node_modules /usr/share/nodejs ;;
        php) existing /usr/share/php ;;
        perl) existing /usr/share/perl /usr/share/perl5 ;;
        pas) existing /usr/share/fpcsrc ;;
        plsql) existing /usr/share/postgresql/*/extension ;;
        cs) [ -n "${TARNWELL_CS_SOURCES:-}" ] && existing $TARNWELL_CS_SOURCES ;;
        python) existing /usr/lib/python3.11 ;;
        go) existing /usr/share/go-*/src ;;
        rust) existing /usr/src/rustc-*/library ;;
        ts|tsx) [ -n "${TARNWELL_TS_SOURCES:-}" ] && existing $TARNWELL_TS_SOURCES ;;
        ruby) existing /usr/lib/ruby/3.* ;;
        lua) existing /usr/share/lua ;;
        bash) existing /usr/share/bash-completion ;;
        kotlin) [ -n "${TARNWELL_KOTLIN_SOURCES:-}" ] && existing $TARNWELL_KOTLIN_SOURCES ;;
        swift) [ -n "${TARNWELL_SWIFT_SOURCES:-}" ] && existing $TARNWELL_SWIFT_SOURCES ;;
        scala) [ -n "${TARNWELL_SCALA_SOURCES:-}" ] && existing $TARNWELL_SCALA_SOURCES ;;
        powershell) [ -n "${TARNWELL_POWERSHELL_SOURCES:-}" ] && existing $TARNWELL_POWERSHELL_SOURCES ;;
    esac
}

for language in $languages; do
    roots=$(roots_of "$language")
    if [ -z "$roots" ]; then
        echo "$language: no sources on this machine"
        continue
    fi
    # shellcheck disable=SC2086
    python3 scripts/measure_charting.py --cli "$cli" --count "$count" \
        ${keep:+--keep "$keep"} "$language" $roots
done
