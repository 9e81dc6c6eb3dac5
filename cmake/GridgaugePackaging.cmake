# Three Debian packages of what the install rules put in place (make package): the program
# (gridgauge), the shared libraries (libgridgauge1) and what building on them needs
# (libgridgauge-dev), one package for each install component.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program runtime development)
set(CPACK_PACKAGE_NAME gridgauge)
set(CPACK_PACKAGE_VENDOR "The Gridgauge developers")
set(CPACK_PACKAGE_CONTACT "The Gridgauge developers <maintainers@gridgauge.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Each package has a summary of its own, the first line of its description below; an empty
# common one keeps CPack from putting the project's before each.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
# The build tree keeps its debugging symbols; the packages ship the program and the libraries
# without them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(gridgauge_version ${PROJECT_VERSION})

# The libraries' long description, shared by both library packages.
set(gridgauge_libraries_text "Gridgauge's markup engine lays out and paints captions written in a small
layout vocabulary (Border, StackPanel, Grid, TextBlock, gradient brushes)
with Qt. GridKit is a report grid widget that renders them, and brings two
item delegates that paint markup captions and progress bars in any Qt item
view.")

# --- gridgauge: the program ---
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME gridgauge)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "report grid whose cells show gradient progress bars
Gridgauge is a small desktop program: one window filled by a report grid
whose cells show progress bars. The bars are written as a markup text that
the grid renders. Up and Down buttons step the percentage, and with Allow
drag ticked the third row's bar follows the pointer.")
# dpkg-shlibdeps finds Qt and the C++ runtime; the libraries of this build are no installed
# package yet, so it is shown where they are and the dependency on them is named here.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "libgridgauge1 (= ${gridgauge_version})")

# --- libgridgauge1: the shared libraries ---
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libgridgauge1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "markup engine and report grid for Qt (shared libraries)
${gridgauge_libraries_text}
.
This package holds the shared libraries.")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# What packages built against the libraries come to depend on: this version or a later one. Only
# a package with shared libraries gets the shlibs file, so it is asked of all.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The loader's cache is updated by libc's trigger. CPack writes postinst and postrm scripts that
# run ldconfig as well, for any library under /usr/lib; with the trigger they are redundant.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)

# --- libgridgauge-dev: headers, the links to build with, the CMake package, pkg-config files ---
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libgridgauge-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "markup engine and report grid for Qt (development files)
${gridgauge_libraries_text}
.
This package holds the headers, the CMake package (find_package(Gridgauge)),
the pkg-config files, and gridgauge-markup-check, which says why a caption is
not markup and which of its attributes the engine ignores.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libgridgauge1 (= ${gridgauge_version}), qt6-base-dev")
# gridgauge-markup-check runs on the libraries and Qt's core.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS ON)

include(CPack)
