#!/usr/bin/env bash
# Builds the three Debian packages from a build tree (the program, the shared libraries and the
# development files), checks their control fields, dependencies and contents, runs lintian on
# them, unpacks the program with its libraries into a temporary root and runs it there until it
# is asked to quit.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in dpkg-deb dpkg-shlibdeps file readelf lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
deb() { echo "$work/out/${1}_${version}_${arch}.deb"; }
for package in gridgauge libgridgauge1 libgridgauge-dev; do
    [ -f "$(deb $package)" ] || { ls "$work/out"; fail "no ${package}_${version}_${arch}.deb"; }
done
[ "$(ls "$work/out"/*.deb | wc -l)" -eq 3 ] || { ls "$work/out"; fail "other packages than three"; }

field() { dpkg-deb -f "$(deb "$1")" "$2"; }
expect_field() {
    local value
    value=$(field "$1" "$2")
    [ "$value" = "$3" ] || fail "$1: $2 is '$value', not '$3'"
}
# What every package has: its name, version and architecture, a maintainer, a section, and a
# description whose summary is its own and whose long text does not repeat it.
check_common() {
    local package=$1 section=$2 summary=$3 description
    expect_field "$package" Package "$package"
    expect_field "$package" Version "$version"
    expect_field "$package" Architecture "$arch"
    expect_field "$package" Section "$section"
    expect_field "$package" Priority optional
    [ -n "$(field "$package" Maintainer)" ] || fail "$package: no Maintainer"
    description=$(field "$package" Description)
    [ "$(head -n1 <<<"$description")" = "$summary" ] ||
        fail "$package: Description starts '$(head -n1 <<<"$description")'"
    [ "$(wc -l <<<"$description")" -gt 1 ] || fail "$package: Description has no long text"
    [ "$(sed -n '2{s/^ *//;p}' <<<"$description")" != "$summary" ] ||
        fail "$package: the long description repeats the summary"
}
check_common gridgauge utils "report grid whose cells show gradient progress bars"
check_common libgridgauge1 libs "markup engine and report grid for Qt (shared libraries)"
check_common libgridgauge-dev libdevel "markup engine and report grid for Qt (development files)"

# dpkg-shlibdeps found every library each binary package links, each with a lower version bound;
# the program needs this very build of the libraries; nothing but -dev depends on a -dev.
depends_on() { sed 's/, /\n/g' <<<"$(field "$1" Depends)" | grep -Fqx -- "$2"; }
depends_bounded() { sed 's/, /\n/g' <<<"$(field "$1" Depends)" | grep -Fq -- "$2 (>= "; }
for package in gridgauge libgridgauge1; do
    for lib in libc6 libstdc++6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6; do
        depends_bounded "$package" "$lib" || fail "$package: Depends lacks $lib: $(field "$package" Depends)"
    done
    if grep -Eq -- '-dev\b' <<<"$(field "$package" Depends)"; then
        fail "$package: Depends names a development package: $(field "$package" Depends)"
    fi
    echo "$package Depends: $(field "$package" Depends)"
done
depends_on gridgauge "libgridgauge1 (= $version)" ||
    fail "gridgauge does not depend on libgridgauge1 (= $version): $(field gridgauge Depends)"
if grep -q libgridgauge <<<"$(field libgridgauge1 Depends)"; then fail "libgridgauge1 depends on itself"; fi
# -dev: the caption check's libraries, this build of Gridgauge's and Qt's headers.
for lib in libc6 libstdc++6 libqt6core6; do
    depends_bounded libgridgauge-dev "$lib" ||
        fail "libgridgauge-dev: Depends lacks $lib: $(field libgridgauge-dev Depends)"
done
for exact in "libgridgauge1 (= $version)" qt6-base-dev libjs-jquery; do
    depends_on libgridgauge-dev "$exact" ||
        fail "libgridgauge-dev does not depend on $exact: $(field libgridgauge-dev Depends)"
done
echo "libgridgauge-dev Depends: $(field libgridgauge-dev Depends)"

# Packages built against the libraries depend on this version or a later one; the loader's cache
# follows through libc's trigger.
dpkg-deb -e "$(deb libgridgauge1)" "$work/control"
sort "$work/control/shlibs" >"$work/shlibs"
diff -u - "$work/shlibs" <<EOF2 || fail "libgridgauge1's shlibs file"
libgridgauge-gridkit 1 libgridgauge1 (>= $version)
libgridgauge-markup 1 libgridgauge1 (>= $version)
EOF2
grep -qx 'activate-noawait ldconfig' "$work/control/triggers" || fail "libgridgauge1 has no ldconfig trigger"

# Programs built against the libraries depend on the lowest version with the symbols they use:
# the symbols file names every exported symbol, each with its version node.
[ -f "$work/control/symbols" ] || fail "libgridgauge1 has no symbols file"
for lib in markup gridkit; do
    grep -qx "libgridgauge-$lib.so.1 libgridgauge1 #MINVER#" "$work/control/symbols" ||
        fail "the symbols file does not name libgridgauge-$lib.so.1"
done
if grep '^ ' "$work/control/symbols" | grep -v '@GRIDGAUGE_1\.0 ' | grep -q .; then
    fail "symbols without the version node: $(grep '^ ' "$work/control/symbols" | grep -v '@GRIDGAUGE_1\.0 ' | head -3)"
fi

# Exactly these files in each, under /usr, owned by root; of the API reference, its first page
# and a link to Debian's jQuery in place of Doxygen's.
expect_contents() {
    local package=$1
    dpkg-deb -c "$(deb "$package")" >"$work/$package.contents"
    awk '$1 !~ /^d/ { print $6 }' "$work/$package.contents" |
        sed -E 's/Targets-[a-z]+\.cmake$/Targets-CONFIG.cmake/' |
        grep -Ev '^\./usr/share/doc/libgridgauge-dev/html/.+' | sort >"$work/$package.files"
    { grep -E '^\S+ \S+ +[0-9]+ \S+ \S+ \./usr/share/doc/libgridgauge-dev/html/(index\.html|jquery\.js -> \.\./\.\./\.\./javascript/jquery/jquery\.js)$' \
        "$work/$package.contents" || true; } | awk '{ print "api: " $6 }' >>"$work/$package.files"
    sort -o "$work/$package.files" "$work/$package.files"
    sed "s|MULTIARCH|$multiarch|" | sort >"$work/$package.expected"
    diff -u "$work/$package.expected" "$work/$package.files" || fail "$package holds other files than these"
    if awk '$2 != "root/root"' "$work/$package.contents" | grep -q .; then
        fail "$package: files not owned by root: $(awk '$2 != "root/root"' "$work/$package.contents")"
    fi
}
expect_contents gridgauge <<'EOF2'
./usr/bin/gridgauge
./usr/share/applications/gridgauge.desktop
./usr/share/doc/gridgauge/README.md
./usr/share/doc/gridgauge/changelog.gz
./usr/share/doc/gridgauge/copyright
./usr/share/icons/hicolor/scalable/apps/gridgauge.svg
./usr/share/man/man1/gridgauge.1.gz
./usr/share/metainfo/org.example.gridgauge.metainfo.xml
EOF2
expect_contents libgridgauge1 <<'EOF2'
./usr/lib/MULTIARCH/libgridgauge-gridkit.so.1
./usr/lib/MULTIARCH/libgridgauge-gridkit.so.1.0.0
./usr/lib/MULTIARCH/libgridgauge-markup.so.1
./usr/lib/MULTIARCH/libgridgauge-markup.so.1.0.0
./usr/share/doc/libgridgauge1/changelog.gz
./usr/share/doc/libgridgauge1/copyright
./usr/share/lintian/overrides/libgridgauge1
EOF2
expect_contents libgridgauge-dev <<'EOF2'
./usr/bin/gridgauge-markup-check
./usr/include/gridgauge/gridkit/grid_delegate.h
./usr/include/gridgauge/gridkit/gridkit_export.h
./usr/include/gridgauge/gridkit/markup_delegate.h
./usr/include/gridgauge/gridkit/markup_text_model.h
./usr/include/gridgauge/gridkit/progress_delegate.h
./usr/include/gridgauge/gridkit/report_grid.h
./usr/include/gridgauge/gridkit/roles.h
./usr/include/gridgauge/markup/markup.h
./usr/include/gridgauge/markup/markup_export.h
./usr/include/gridgauge/version.h
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeConfig.cmake
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeConfigVersion.cmake
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeGridKitTargets-CONFIG.cmake
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeGridKitTargets.cmake
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeMarkupTargets-CONFIG.cmake
./usr/lib/MULTIARCH/cmake/Gridgauge/GridgaugeMarkupTargets.cmake
./usr/lib/MULTIARCH/libgridgauge-gridkit.so
./usr/lib/MULTIARCH/libgridgauge-markup.so
./usr/lib/MULTIARCH/pkgconfig/gridgauge-gridkit.pc
./usr/lib/MULTIARCH/pkgconfig/gridgauge-markup.pc
./usr/share/doc/libgridgauge-dev/changelog.gz
./usr/share/doc/libgridgauge-dev/copyright
./usr/share/man/man1/gridgauge-markup-check.1.gz
api: ./usr/share/doc/libgridgauge-dev/html/index.html
api: ./usr/share/doc/libgridgauge-dev/html/jquery.js
EOF2
grep -Eq '^-rwxr-xr-x .* \./usr/bin/gridgauge$' "$work/gridgauge.contents" || fail "usr/bin/gridgauge mode"
# The links point the way the loader and the linker follow them: -dev's .so to the soname, the
# soname to the file.
for lib in markup gridkit; do
    grep -Eq " \./usr/lib/$multiarch/libgridgauge-$lib\.so -> libgridgauge-$lib\.so\.1$" \
        "$work/libgridgauge-dev.contents" || fail "libgridgauge-$lib.so does not link to its soname"
    grep -Eq " \./usr/lib/$multiarch/libgridgauge-$lib\.so\.1 -> libgridgauge-$lib\.so\.1\.0\.0$" \
        "$work/libgridgauge1.contents" || fail "libgridgauge-$lib.so.1 does not link to the library"
done

# lintian, as Debian checks its archive: no error, and what it warns of is printed.
lintian --fail-on error "$(deb gridgauge)" "$(deb libgridgauge1)" "$(deb libgridgauge-dev)" \
    >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian found errors"; }
sed '/running with root privileges/d' "$work/lintian.log"

# The program with its libraries, unpacked as apt would install them, stripped, and finding the
# libraries beside it rather than in the build tree.
root=$work/root
dpkg-deb -x "$(deb gridgauge)" "$root"
dpkg-deb -x "$(deb libgridgauge1)" "$root"
dpkg-deb -x "$(deb libgridgauge-dev)" "$root"
for f in usr/bin/gridgauge usr/bin/gridgauge-markup-check \
         usr/lib/$multiarch/libgridgauge-markup.so.1.0.0 \
         usr/lib/$multiarch/libgridgauge-gridkit.so.1.0.0; do
    file -b "$root/$f" | grep -q ', stripped' || fail "$f is not stripped"
done
desktop-file-validate "$root/usr/share/applications/gridgauge.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/org.example.gridgauge.metainfo.xml" ||
    fail "the metainfo does not validate"
ldd "$root/usr/bin/gridgauge" >"$work/ldd"
if grep -q 'not found' "$work/ldd"; then fail "unresolved libraries: $(grep 'not found' "$work/ldd")"; fi
for lib in markup gridkit; do
    loaded=$(awk -v lib="libgridgauge-$lib.so.1" '$1 == lib { print $3 }' "$work/ldd")
    [ -n "$loaded" ] && [ "$(readlink -f "$loaded")" = "$root/usr/lib/$multiarch/libgridgauge-$lib.so.1.0.0" ] ||
        fail "the program does not load the packaged libgridgauge-$lib: ${loaded:-nothing}"
done

# The caption check runs on the packaged library and says where a caption goes wrong.
checked=$(printf "<Border>\n <Marquee/></Border>" | "$root/usr/bin/gridgauge-markup-check" 2>&1) &&
    fail "gridgauge-markup-check passed a caption that is not markup"
[ "$checked" = "<stdin>:2:2: error: unknown element '<Marquee>'" ] ||
    fail "gridgauge-markup-check said: $checked"
loaded=$(ldd "$root/usr/bin/gridgauge-markup-check" |
    awk '$1 == "libgridgauge-markup.so.1" { print $3 }')
[ -n "$loaded" ] && [ "$(readlink -f "$loaded")" = "$root/usr/lib/$multiarch/libgridgauge-markup.so.1.0.0" ] ||
    fail "gridgauge-markup-check does not load the packaged libgridgauge-markup: ${loaded:-nothing}"

# The unpacked program starts and keeps running until it is told to stop.
runtime=$work/runtime
mkdir -m 700 "$runtime"
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen "$root/usr/bin/gridgauge" \
    >"$work/stdout" 2>"$work/stderr" &
pid=$!
for _ in $(seq 15); do
    sleep 0.1
    kill -0 "$pid" 2>/dev/null || { cat "$work/stderr"; fail "gridgauge ended by itself"; }
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq $((128 + 15)) ] || fail "gridgauge ended with status $status, not by the request"
[ ! -s "$work/stderr" ] || { cat "$work/stderr"; fail "gridgauge wrote to stderr"; }
for package in gridgauge libgridgauge1 libgridgauge-dev; do
    echo "package $(basename "$(deb $package)"), $(stat -c %s "$(deb $package)") bytes: checked"
done
