#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, checks what lands where, that nothing installed
# points back into the source or build tree, and validates the desktop entry and the
# software-centre metadata with the tools desktops use. Usage: BUILD VERSION SOURCE
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
source=$(cd "$3" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli readelf; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=$prefix/share/applications/gridgauge.desktop
metainfo=$prefix/share/metainfo/org.example.gridgauge.metainfo.xml
for f in bin/gridgauge share/applications/gridgauge.desktop \
         share/icons/hicolor/scalable/apps/gridgauge.svg \
         share/metainfo/org.example.gridgauge.metainfo.xml \
         share/doc/gridgauge/README.md share/doc/gridgauge/copyright share/doc/gridgauge/changelog.gz \
         share/man/man1/gridgauge.1.gz share/man/man1/gridgauge-markup-check.1.gz \
         bin/gridgauge-markup-check; do
    [ -f "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/gridgauge" ] || fail "bin/gridgauge is not executable"
[ -x "$prefix/bin/gridgauge-markup-check" ] || fail "bin/gridgauge-markup-check is not executable"

# The libraries with their soname links, the public headers and nothing private, the CMake
# package and the pkg-config files, all in the multiarch library folder.
libdir=lib/$(gcc -print-multiarch)
(cd "$prefix" && find include "$libdir" \( -type f -o -type l \) | sort) |
    sed -E 's/Targets-[a-z]+\.cmake$/Targets-CONFIG.cmake/' >"$prefix.files"
sed "s|LIBDIR|$libdir|" <<'EOF2' | sort | diff -u - "$prefix.files" || fail "other library files than these"
LIBDIR/cmake/Gridgauge/GridgaugeConfig.cmake
LIBDIR/cmake/Gridgauge/GridgaugeConfigVersion.cmake
LIBDIR/cmake/Gridgauge/GridgaugeGridKitTargets-CONFIG.cmake
LIBDIR/cmake/Gridgauge/GridgaugeGridKitTargets.cmake
LIBDIR/cmake/Gridgauge/GridgaugeMarkupTargets-CONFIG.cmake
LIBDIR/cmake/Gridgauge/GridgaugeMarkupTargets.cmake
LIBDIR/libgridgauge-gridkit.so
LIBDIR/libgridgauge-gridkit.so.1
LIBDIR/libgridgauge-gridkit.so.1.0.0
LIBDIR/libgridgauge-markup.so
LIBDIR/libgridgauge-markup.so.1
LIBDIR/libgridgauge-markup.so.1.0.0
LIBDIR/pkgconfig/gridgauge-gridkit.pc
LIBDIR/pkgconfig/gridgauge-markup.pc
include/gridgauge/gridkit/grid_delegate.h
include/gridgauge/gridkit/gridkit_export.h
include/gridgauge/gridkit/markup_delegate.h
include/gridgauge/gridkit/markup_text_model.h
include/gridgauge/gridkit/progress_delegate.h
include/gridgauge/gridkit/report_grid.h
include/gridgauge/gridkit/roles.h
include/gridgauge/markup/markup.h
include/gridgauge/markup/markup_export.h
EOF2
rm -f "$prefix.files"
for f in "$libdir"/libgridgauge-markup.so "$libdir"/libgridgauge-gridkit.so bin/gridgauge \
         bin/gridgauge-markup-check; do
    if readelf -d "$prefix/$f" | grep -F -e "$build" -e "$source"; then
        fail "$f searches the build or source tree for libraries"
    fi
done
for f in bin/gridgauge bin/gridgauge-markup-check; do
    readelf -d "$prefix/$f" | grep -Fq "[\$ORIGIN/../$libdir]" ||
        fail "$f does not find its libraries in the prefix"
done
if grep -rlF -e "$build" -e "$source" "$prefix/$libdir/cmake" "$prefix/$libdir/pkgconfig"; then
    fail "the CMake package or the pkg-config files point into the build or source tree"
fi
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
