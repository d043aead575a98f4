#!/bin/sh
# Copies the folders named on the command line into a dated archive.

backup() {
    local target="$1" stamp
    shift
    if [ -z "$target" ]; then
        echo "usage: backup TARGET DIR..." >&2
        return 2
    elif [ ! -d "$target" ]; then
        mkdir -p "$target" || exit 1
    else
        stamp=$(date +%Y%m%d)
    fi
    for dir in "$@"; do
        case "$dir" in
            /*) src="$dir" ;;
            .|..)
                continue
                ;;
            *)
                src="$PWD/$dir"
                ;;
        esac
        tries=0
        until cp -r "$src" "$target/$stamp"; do
            tries=$((tries + 1))
            [ "$tries" -ge 3 ] && break
            sleep 1
        done
    done
    while read -r old; do
        rm -rf "$target/$old"
    done < "$target/expired"
}
