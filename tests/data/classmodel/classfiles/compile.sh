#!/bin/sh
# Rebuilds the class files of this folder from src/ (javac of JDK 17), the jar of the package
# and the default-package class, and a jar whose A.class is cut short after 100 bytes. Run it
# after changing a source.
set -eu
cd "$(dirname "$0")"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
javac -encoding UTF-8 -g:none -d "$out" src/Calc.java src/Modern.java src/pkg/*.java
javac -encoding UTF-8 -g:none --release 8 -d "$out" src/Outer.java
javac -encoding UTF-8 -g:none -d "$out/module" src/module/module-info.java \
    src/module/fixture/demo/Api.java
cp "$out"/*.class .
mkdir -p pkg && cp "$out"/pkg/*.class pkg/
cp "$out"/module/module-info.class .
(cd "$out" && jar --create --file "$OLDPWD/classes.jar" --no-manifest Calc.class pkg/A.class \
    pkg/B.class pkg/Shape.class)
mkdir "$out/broken" "$out/broken/pkg"
head -c 100 "$out/pkg/A.class" > "$out/broken/pkg/A.class"
cp "$out/pkg/B.class" "$out/pkg/Shape.class" "$out/broken/pkg/"
(cd "$out/broken" && jar --create --file "$OLDPWD/broken.jar" --no-manifest pkg/A.class \
    pkg/B.class pkg/Shape.class)
