#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what lands where.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/gridgauge share/applications/gridgauge.desktop share/icons/hicolor/scalable/apps/gridgauge.svg; do
    [ -f "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
[ -x "$prefix/bin/gridgauge" ] || { echo "bin/gridgauge is not executable"; exit 1; }
grep -qx 'Exec=gridgauge' "$prefix/share/applications/gridgauge.desktop"
grep -qx 'Icon=gridgauge' "$prefix/share/applications/gridgauge.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/gridgauge.desktop"
fi
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/gridgauge.svg"
echo "installed into $prefix"
