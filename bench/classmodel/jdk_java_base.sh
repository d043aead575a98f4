# Sourced by the JDK timing scripts: unpacks java.base's sources (src.zip) into $work/src and
# its class files (the java.base jmod) into $work/jmod/classes, once; sets $jdk.
# Needs openjdk-17-jdk-headless and openjdk-17-source; nothing of the JDK is kept in the tree.
jdk=$(dirname "$(dirname "$(readlink -f "$(command -v javac || command -v java)")")")
mkdir -p "$work"
if [ ! -d "$work/src/java.base" ]; then
    unzip -q -o "$jdk/lib/src.zip" 'java.base/*' -d "$work/src"
fi
if [ ! -d "$work/jmod/classes" ]; then
    # A jmod is a zip behind a 4-byte header, which unzip steps over with a warning.
    mkdir -p "$work/jmod"
    (cd "$work/jmod" && unzip -q -o "$jdk/jmods/java.base.jmod" 'classes/*' 2>/dev/null || true)
fi
