#!/usr/bin/env bash
# Builds on the libraries as another project does: installs the build tree into a temporary
# prefix, copies the examples out of the source tree, and configures, builds and runs them against
# that prefix alone (CMAKE_PREFIX_PATH, PKG_CONFIG_PATH; Qt from the system). Checks that nothing
# they were built with or load comes from the source or build tree, that every installed header
# compiles on its own, that the CMake package refuses what it does not have, and that the
# downloads example paints its progress bars and moves them on, that the report grid works over
# Qt's models from the package alone, and that the links example shows its links and its
# resource pictures. Usage: BUILD SOURCE
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
prefix=$work/prefix
libdir=$prefix/lib/$(gcc -print-multiarch)
cmake --install "$build" --prefix "$prefix" >/dev/null
cp -r "$source/examples" "$work/src"
# Nothing of the tree's may leak in through the environment either.
unset CMAKE_PREFIX_PATH PKG_CONFIG_PATH LD_LIBRARY_PATH CPATH LIBRARY_PATH
export CMAKE_GENERATOR=Ninja

configure() { # SOURCE_DIR BUILD_DIR [ARGS...]
    local from=$1 to=$2
    shift 2
    cmake -S "$from" -B "$to" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release "$@" \
        >"$to.log" 2>&1 || { cat "$to.log"; return 1; }
}
# What a build used: its cache, its build rules and its compile commands name only the prefix,
# the system and its own folders.
untouched_by_tree() {
    if grep -lF -e "$source" -e "$build" "$1/CMakeCache.txt" "$1/build.ninja" \
        "$1"/CMakeFiles/*.cmake 2>/dev/null; then
        fail "$1 was configured or built with something from the source or build tree"
    fi
    grep -qx "Gridgauge_DIR:PATH=$libdir/cmake/Gridgauge" "$1/CMakeCache.txt" ||
        fail "$1 did not find Gridgauge in the prefix: $(grep Gridgauge_DIR "$1/CMakeCache.txt")"
}
# The libraries a program loads are the prefix's, found without help.
loads_from_prefix() {
    local lib loaded
    ldd "$1" >"$work/ldd"
    for lib in markup gridkit; do
        loaded=$(awk -v lib="libgridgauge-$lib.so.1" '$1 == lib { print $3 }' "$work/ldd")
        [ -n "$loaded" ] && [ "$(readlink -f "$loaded")" = "$libdir/libgridgauge-$lib.so.1.0.0" ] ||
            fail "$(basename "$1") loads libgridgauge-$lib from ${loaded:-nowhere}, not the prefix"
    done
}

# Every installed header on its own, twice over (its include guard), in a file of its own, as
# C++17: what Qt 6 asks for and its project templates start with.
mkdir -p "$work/headers/src"
{
    echo 'cmake_minimum_required(VERSION 3.25)'
    echo 'project(Headers LANGUAGES CXX)'
    echo 'set(CMAKE_CXX_STANDARD 17)'
    echo 'set(CMAKE_CXX_EXTENSIONS OFF)'
    echo 'find_package(Gridgauge 1.0 REQUIRED COMPONENTS Markup GridKit)'
    echo 'file(GLOB sources src/*.cpp)'
    echo 'add_library(headers OBJECT ${sources})'
    echo 'target_link_libraries(headers PRIVATE Gridgauge::GridKit Gridgauge::Markup)'
    echo 'target_compile_options(headers PRIVATE -Wall -Wextra -Wpedantic -Werror)'
} >"$work/headers/CMakeLists.txt"
count=0
while IFS= read -r header; do
    count=$((count + 1))
    printf '#include <%s>\n#include <%s>\n' "$header" "$header" >"$work/headers/src/h$count.cpp"
done < <(cd "$prefix/include" && find gridgauge -name '*.h' | sort)
[ $count -ge 9 ] || fail "only $count headers installed"
configure "$work/headers" "$work/headers-build"
cmake --build "$work/headers-build" >"$work/headers.log" 2>&1 || { cat "$work/headers.log"; fail "a header does not compile on its own"; }
untouched_by_tree "$work/headers-build"
echo "$count installed headers compile on their own"

# The package's version and components: same major only, and no component it does not have.
mkdir -p "$work/refusals"
cat >"$work/refusals/CMakeLists.txt" <<'EOF2'
cmake_minimum_required(VERSION 3.25)
project(Refusals LANGUAGES CXX)
find_package(Gridgauge 1.0 REQUIRED COMPONENTS Markup)
if(NOT TARGET Gridgauge::Markup OR TARGET Gridgauge::GridKit)
    message(FATAL_ERROR "COMPONENTS Markup did not give Gridgauge::Markup alone")
endif()
find_package(Gridgauge 2.0 QUIET)
if(Gridgauge_FOUND)
    message(FATAL_ERROR "version 1 was taken for 2.0")
endif()
find_package(Gridgauge 1.0 QUIET COMPONENTS Markup Charts)
if(Gridgauge_FOUND)
    message(FATAL_ERROR "a component that does not exist was found")
endif()
find_package(Gridgauge 1.0 QUIET COMPONENTS GridKit OPTIONAL_COMPONENTS Charts)
if(NOT Gridgauge_FOUND OR Gridgauge_Charts_FOUND OR NOT TARGET Gridgauge::GridKit)
    message(FATAL_ERROR "an optional component that does not exist failed GridKit")
endif()
EOF2
configure "$work/refusals" "$work/refusals-build" || fail "the CMake package's refusals"
mkdir -p "$work/required"
printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(Required LANGUAGES CXX)' \
    'find_package(Gridgauge 1.0 REQUIRED COMPONENTS GridKit Charts)' >"$work/required/CMakeLists.txt"
if configure "$work/required" "$work/required-build" >/dev/null 2>&1; then
    fail "a required component that does not exist was let through"
fi
grep -q 'Gridgauge has no component Charts' "$work/required-build.log" ||
    fail "a missing required component is not named: $(tail -5 "$work/required-build.log")"

# pkg-config: the API reference's table example, built by hand from the .pc files alone.
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --modversion gridgauge-gridkit)" = "$(pkg-config --modversion gridgauge-markup)" ] ||
    fail "the two .pc files disagree on the version"
[ "$(readlink -f "$(pkg-config --variable=includedir gridgauge-gridkit)")" = "$prefix/include" ] ||
    fail "gridgauge-gridkit.pc does not point at the prefix"
# shellcheck disable=SC2046 # pkg-config's flags are words
g++ -std=c++20 -fPIC "$work/src/table_bars/main.cpp" -o "$work/table_bars" \
    $(pkg-config --cflags --libs gridgauge-gridkit) -Wl,-rpath,"$libdir" ||
    fail "the table example does not build from the pkg-config files"
unset PKG_CONFIG_PATH
loads_from_prefix "$work/table_bars"

# A program using both libraries with GridKit alone, as C++17: from the pkg-config file of GridKit
# (which requires the engine's), and from the CMake target Gridgauge::GridKit (which links it).
# shellcheck disable=SC2046 # pkg-config's flags are words
g++ -std=c++17 -fPIC "$source/tests/consumer_version.cpp" -o "$work/version-pc" \
    $(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs gridgauge-gridkit) \
    -Wl,-rpath,"$libdir" ||
    fail "a program calling the engine does not build from gridgauge-gridkit.pc alone"
mkdir -p "$work/version"
cp "$source/tests/consumer_version.cpp" "$work/version/"
cat >"$work/version/CMakeLists.txt" <<'EOF2'
cmake_minimum_required(VERSION 3.25)
project(Version LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 17)
find_package(Gridgauge 1.0 REQUIRED COMPONENTS GridKit)
add_executable(version consumer_version.cpp)
target_link_libraries(version PRIVATE Gridgauge::GridKit)
EOF2
configure "$work/version" "$work/version-build"
cmake --build "$work/version-build" >"$work/version.log" 2>&1 ||
    { cat "$work/version.log"; fail "a program calling the engine does not build with Gridgauge::GridKit alone"; }
for program in "$work/version-pc" "$work/version-build/version"; do
    loads_from_prefix "$program"
    ran=$(QT_QPA_PLATFORM=offscreen "$program") || fail "$program failed"
    [ "$ran" = "$(sed -n 's/^#define GRIDGAUGE_VERSION_STRING "\(.*\)"$/\1/p' "$prefix/include/gridgauge/version.h")" ] ||
        fail "$program runs with version '$ran'"
done
echo "a C++17 program with GridKit alone calls both libraries and runs with version $ran"

# The downloads window, with CMake: it paints the progress column's bars and moves them on.
configure "$work/src/downloads" "$work/downloads"
cmake --build "$work/downloads" >"$work/downloads.log" 2>&1 || { cat "$work/downloads.log"; fail "downloads does not build"; }
untouched_by_tree "$work/downloads"
loads_from_prefix "$work/downloads/downloads"
runtime=$work/runtime
mkdir -m 700 "$runtime"
for ms in 300 2300; do
    XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen \
        "$work/downloads/downloads" --quit-after $ms --grab "$work/grab-$ms.ppm" 2>"$work/stderr" ||
        { cat "$work/stderr"; fail "downloads failed"; }
done
python3 "$source/tests/consumer_grab.py" "$work/grab-300.ppm" "$work/grab-2300.ppm"

# The report grid over Qt's own models, as another project meets it: the in-tree item view tests,
# built on the installed headers and library alone (drawn, clicked, toggled and kept current,
# behind a proxy too, links clicked and activated by Return); then the chores example, whose grab
# shows a badge in every row.
mkdir -p "$work/itemview"
cp "$source/tests/test_gridkit_itemview.cpp" "$work/itemview/"
cat >"$work/itemview/CMakeLists.txt" <<'EOF2'
cmake_minimum_required(VERSION 3.25)
project(ItemView LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_AUTOMOC ON)
find_package(Gridgauge 1.0 REQUIRED COMPONENTS GridKit)
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(itemview test_gridkit_itemview.cpp)
target_link_libraries(itemview PRIVATE Gridgauge::GridKit Qt6::Widgets Qt6::Test)
EOF2
configure "$work/itemview" "$work/itemview-build"
cmake --build "$work/itemview-build" >"$work/itemview.log" 2>&1 || { cat "$work/itemview.log"; fail "the item view tests do not build on the package"; }
untouched_by_tree "$work/itemview-build"
loads_from_prefix "$work/itemview-build/itemview"
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen "$work/itemview-build/itemview" -silent ||
    fail "the item view tests fail on the installed package"

configure "$work/src/report_grid" "$work/report_grid"
cmake --build "$work/report_grid" >"$work/report_grid.log" 2>&1 || { cat "$work/report_grid.log"; fail "report_grid does not build"; }
untouched_by_tree "$work/report_grid"
loads_from_prefix "$work/report_grid/report_grid"
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen \
    "$work/report_grid/report_grid" --quit-after 300 --grab "$work/chores.ppm" 2>"$work/stderr" ||
    { cat "$work/stderr"; fail "report_grid failed"; }
python3 - "$source/tests" "$work/chores.ppm" <<'EOF2'
import sys
sys.path.insert(0, sys.argv[1])
from consumer_grab import read_ppm
width, height, pixels = read_ppm(sys.argv[2])
todo = bytes((0x8A, 0x92, 0x9E))  # a "To do" badge's background
found = sum(pixels[i:i + 3] == todo for i in range(0, 3 * width * height, 3))
print(f"chores grab: {found} pixels of the to-do badge")
if found < 6 * 150:
    sys.exit("FAIL: the chores grab does not show a badge in every row")
EOF2

# Links in a QTableView: the link column drawn in the palette's link colour, and the status
# pictures read from the program's own Qt resources.
configure "$work/src/link_table" "$work/link_table"
cmake --build "$work/link_table" >"$work/link_table.log" 2>&1 || { cat "$work/link_table.log"; fail "link_table does not build"; }
untouched_by_tree "$work/link_table"
loads_from_prefix "$work/link_table/link_table"
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen \
    "$work/link_table/link_table" --quit-after 300 --grab "$work/links.ppm" 2>"$work/stderr" ||
    { cat "$work/stderr"; fail "link_table failed"; }
python3 - "$source/tests" "$work/links.ppm" <<'EOF2'
import sys
sys.path.insert(0, sys.argv[1])
from consumer_grab import read_ppm
width, height, pixels = read_ppm(sys.argv[2])
shown = [tuple(pixels[i:i + 3]) for i in range(0, 3 * width * height, 3)]
current = sum(p == (0x2E, 0x9E, 0x44) for p in shown)  # the "current" picture's green
link = sum(p[2] > 200 and p[0] < 60 and p[1] < 60 for p in shown)  # the palette's blue links
print(f"links grab: {current} pixels of the current picture, {link} of links")
if current < 2 * 100 or link < 200:
    sys.exit("FAIL: the links grab does not show the pictures and the links")
EOF2
