#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, checks what lands where and validates the
# desktop entry and the software-centre metadata with the tools desktops use.
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=$prefix/share/applications/gridgauge.desktop
metainfo=$prefix/share/metainfo/org.example.gridgauge.metainfo.xml
for f in bin/gridgauge share/applications/gridgauge.desktop \
         share/icons/hicolor/scalable/apps/gridgauge.svg \
         share/metainfo/org.example.gridgauge.metainfo.xml \
         share/doc/gridgauge/README.md share/doc/gridgauge/copyright; do
    [ -f "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/gridgauge" ] || fail "bin/gridgauge is not executable"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/gridgauge.svg" || fail "the icon is no SVG"

grep -qx 'Exec=gridgauge' "$desktop" || fail "the desktop entry does not start gridgauge"
grep -qx 'Icon=gridgauge' "$desktop" || fail "the desktop entry does not name the icon"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"

# --strict: warnings fail too, as software centres drop data with warnings.
appstreamcli validate --no-net --strict "$metainfo" || fail "the metainfo does not validate"
grep -q '<id>org.example.gridgauge</id>' "$metainfo" || fail "the metainfo id is not its file name"
grep -q '<launchable type="desktop-id">gridgauge.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch the installed desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metainfo has no release $version, the version being built"
echo "installed into $prefix"
