#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks its control fields and contents, unpacks it
# into a temporary root and runs the unpacked program until it is asked to quit.
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
for tool in dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
deb=$work/out/gridgauge_${version}_${arch}.deb
[ -f "$deb" ] || { ls "$work/out"; fail "no gridgauge_${version}_${arch}.deb"; }

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {
    local value
    value=$(field "$1")
    [ "$value" = "$2" ] || fail "$1 is '$value', not '$2'"
}
expect_field Package gridgauge
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section utils
expect_field Priority optional
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
description=$(field Description)
[ "$(head -n1 <<<"$description")" = "A report grid whose cells show gradient progress bars" ] ||
    fail "Description starts '$(head -n1 <<<"$description")'"
[ "$(wc -l <<<"$description")" -gt 1 ] || fail "Description has no long text"
[ "$(sed -n '2{s/^ *//;p}' <<<"$description")" != "$(head -n1 <<<"$description")" ] ||
    fail "the long description repeats the summary"

# dpkg-shlibdeps found every library the program links, each with a lower version bound.
depends=$(field Depends)
for lib in libc6 libstdc++6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6; do
    sed 's/, /\n/g' <<<"$depends" | grep -Fq "$lib (>= " || fail "Depends lacks $lib: $depends"
done
if grep -Eq -- '-dev\b' <<<"$depends"; then fail "Depends names a development package: $depends"; fi
echo "Depends: $depends"

# Exactly these files, under /usr, owned by root, the program executable and stripped.
dpkg-deb -c "$deb" >"$work/contents"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort >"$work/files"
sort >"$work/expected" <<'EOF'
./usr/bin/gridgauge
./usr/share/applications/gridgauge.desktop
./usr/share/doc/gridgauge/README.md
./usr/share/doc/gridgauge/copyright
./usr/share/icons/hicolor/scalable/apps/gridgauge.svg
./usr/share/metainfo/org.example.gridgauge.metainfo.xml
EOF
diff -u "$work/expected" "$work/files" || fail "the package holds other files than these"
if awk '$2 != "root/root"' "$work/contents" | grep -q .; then
    fail "files not owned by root: $(awk '$2 != "root/root"' "$work/contents")"
fi
grep -Eq '^-rwxr-xr-x .* \./usr/bin/gridgauge$' "$work/contents" || fail "usr/bin/gridgauge mode"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
file -b "$root/usr/bin/gridgauge" | grep -q ', stripped' || fail "the program is not stripped"
desktop-file-validate "$root/usr/share/applications/gridgauge.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/org.example.gridgauge.metainfo.xml" ||
    fail "the metainfo does not validate"
if ldd "$root/usr/bin/gridgauge" | grep -q 'not found'; then
    fail "unresolved libraries: $(ldd "$root/usr/bin/gridgauge" | grep 'not found')"
fi

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
echo "package $(basename "$deb"), $(stat -c %s "$deb") bytes: checked"
