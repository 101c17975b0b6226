#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, checks that it holds the program,
# its menu entry, icons and metainfo, and that lintian reports no error.
# usage: check-package.sh <build-dir>
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
deb="$(ls "$out"/*.deb)"
contents="$(dpkg-deb --contents "$deb")"
for f in ./usr/bin/huaben \
         ./usr/share/applications/org.huaben.huaben.desktop \
         ./usr/share/metainfo/org.huaben.huaben.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.huaben.huaben.svg \
         ./usr/share/icons/hicolor/256x256/apps/org.huaben.huaben.png \
         ./usr/share/icons/hicolor/16x16/apps/org.huaben.huaben.png \
         ./usr/share/doc/huaben/copyright ./usr/share/man/man1/huaben.1.gz; do
    grep -q " $f\$" <<<"$contents" || { echo "missing from the package: $f"; exit 1; }
done
# The licence reaches whoever installs the package.
copyright="$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/huaben/copyright)"
grep -q '^License: GPL-3+$' <<<"$copyright" || { echo "the copyright file names no GPL-3+"; exit 1; }
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
for d in libqt6widgets6 libjpeg62-turbo qt6-qpa-plugins; do
    grep -q "$d" <<<"$depends" || { echo "undeclared dependency: $d"; exit 1; }
done
if ! command -v lintian >/dev/null; then
    echo "lintian is not installed (tools/install-deps.sh installs it)"
    exit 1
fi
report="$(lintian --no-tag-display-limit "$deb" 2>&1 || true)"
echo "$report"
if grep -q '^E:' <<<"$report"; then
    echo "lintian reports errors"
    exit 1
fi
