#!/bin/sh
# Fetches the pinned tree-sitter packages of scripts/grammars.txt with npm pack into the cache
# folder (TARNWELL_NPM_CACHE, else ~/.cache/tarnwell/npm), checks each archive against its
# integrity hash and unpacks it as <package>-<version>/, a scoped package's "@scope/name" as
# "scope-name". Packages already unpacked are kept.
set -eu
cd "$(dirname "$0")/.."
cache="${TARNWELL_NPM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwell/npm}"
mkdir -p "$cache"
grep -v '^#' scripts/grammars.txt | while read -r name version integrity; do
    [ -n "$name" ] || continue
    # npm pack names the archive of "@scope/name" scope-name-<version>.tgz.
    flat=$(echo "$name" | sed 's|^@||; s|/|-|')
    target="$cache/$flat-$version"
    [ -f "$target/.verified" ] && continue
    work=$(mktemp -d "$cache/.fetch.XXXXXX")
    (cd "$work" && npm pack --silent "$name@$version" >/dev/null)
    archive="$work/$flat-$version.tgz"
    actual="sha512-$(openssl dgst -sha512 -binary "$archive" | base64 -w0)"
    if [ "$actual" != "$integrity" ]; then
        echo "fetch-grammars: $name@$version does not match its pinned integrity hash" >&2
        rm -rf "$work"
        exit 1
    fi
    rm -rf "$target"
    mkdir -p "$work/unpacked"
    tar xzf "$archive" -C "$work/unpacked"
    mv "$work/unpacked" "$target"
    touch "$target/.verified"
    rm -rf "$work"
done
