#!/bin/sh
# Installs the Debian packages the build and the tests need, only those that are missing, then
# fetches the pinned tree-sitter runtime and grammars from the npm registry.
set -eu
packages="g++ cmake ninja-build pkg-config googletest libgtest-dev libbenchmark-dev clang libclang-rt-dev zlib1g-dev libxml2-dev libxslt1-dev libzip-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqscintilla2-qt6-dev fonts-dejavu-core fonts-dejavu-extra xvfb xauth librsvg2-bin libreoffice-writer-nogui libreoffice-impress-nogui libreoffice-draw-nogui libreoffice-calc-nogui poppler-utils libxml2-utils unzip graphviz npm openssl"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# A machine that brings its own Node.js has npm without Debian's package of it.
command -v npm >/dev/null 2>&1 && missing=$(echo "$missing" | sed 's/ npm\b//')
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
fi
"$(dirname "$0")/fetch-grammars.sh"
