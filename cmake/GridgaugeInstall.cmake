# What gets installed, in three parts that become three Debian packages (GridgaugePackaging.cmake):
#   program      the program with its desktop entry, icon and metainfo       -> gridgauge
#   runtime      the shared libraries, libgridgauge-*.so.1                     -> libgridgauge1
#   development  public headers, the .so links, the CMake package, .pc files and the caption
#                check gridgauge-markup-check                                 -> libgridgauge-dev
include(CMakePackageConfigHelpers)

set(GRIDGAUGE_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Gridgauge)
set(GRIDGAUGE_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The program and its libraries find one another from wherever the prefix is: the libraries in the
# prefix's library folder, GridKit's engine beside it. Debian allows a search path relative to
# $ORIGIN, and within the system's own folders it changes nothing.
file(RELATIVE_PATH gridgauge_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
set_target_properties(gridgauge PROPERTIES INSTALL_RPATH "$ORIGIN/${gridgauge_bin_to_lib}")
set_target_properties(gridgauge_gridkit PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(gridgauge-markup-check PROPERTIES INSTALL_RPATH "$ORIGIN/${gridgauge_bin_to_lib}")

# --- program ---
# The application id that software centres know the program by (see the metainfo file).
set(GRIDGAUGE_APP_ID org.example.gridgauge)
install(TARGETS gridgauge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES data/gridgauge.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    COMPONENT program)
install(FILES data/gridgauge.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT program)
install(FILES data/${GRIDGAUGE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    COMPONENT program)

# Documentation goes under each package's name: the licence as Debian names it, "copyright", and
# the changelog, compressed as Debian wants it (most, without a time stamp, so that it builds the
# same every time). The program has its manual page.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(gridgauge_packaging_out ${PROJECT_BINARY_DIR}/packaging)
configure_file(packaging/debian/changelog.in ${gridgauge_packaging_out}/changelog @ONLY)
configure_file(data/gridgauge.1 ${gridgauge_packaging_out}/gridgauge.1 @ONLY)
configure_file(data/gridgauge-markup-check.1 ${gridgauge_packaging_out}/gridgauge-markup-check.1
    @ONLY)
set(gridgauge_compressed)
foreach(name IN ITEMS changelog gridgauge.1 gridgauge-markup-check.1)
    add_custom_command(OUTPUT ${gridgauge_packaging_out}/${name}.gz
        COMMAND ${GZIP_EXECUTABLE} -9nf -k ${gridgauge_packaging_out}/${name}
        DEPENDS ${gridgauge_packaging_out}/${name} VERBATIM)
    list(APPEND gridgauge_compressed ${gridgauge_packaging_out}/${name}.gz)
endforeach()
add_custom_target(gridgauge_compressed_docs ALL DEPENDS ${gridgauge_compressed})

set(package_of_program gridgauge)
set(package_of_runtime libgridgauge1)
set(package_of_development libgridgauge-dev)
foreach(part IN ITEMS program runtime development)
    set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${package_of_${part}})
    install(FILES LICENSE DESTINATION ${docdir} RENAME copyright COMPONENT ${part})
    install(FILES ${gridgauge_packaging_out}/changelog.gz DESTINATION ${docdir} COMPONENT ${part})
endforeach()
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gridgauge COMPONENT program)
install(FILES ${gridgauge_packaging_out}/gridgauge.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    COMPONENT program)
# The caption check is a developer's tool: it comes with the headers.
install(TARGETS gridgauge-markup-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT development)
install(FILES ${gridgauge_packaging_out}/gridgauge-markup-check.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT development)
install(FILES packaging/debian/libgridgauge1.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME libgridgauge1 COMPONENT runtime)

# --- runtime and development: the libraries, their headers and the CMake package ---
set(gridgauge_library_destinations
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(TARGETS gridgauge_markup EXPORT GridgaugeMarkupTargets ${gridgauge_library_destinations})
install(TARGETS gridgauge_gridkit EXPORT GridgaugeGridKitTargets ${gridgauge_library_destinations})
foreach(component IN ITEMS Markup GridKit)
    install(EXPORT Gridgauge${component}Targets NAMESPACE Gridgauge::
        DESTINATION ${GRIDGAUGE_CMAKEDIR} COMPONENT development)
endforeach()

# The API reference comes with the headers, as /usr/share/doc/libgridgauge-dev/html. Built with
# the libraries from the same headers and pages as make docs; Debian's own jQuery serves it, as
# Debian asks of packaged documentation.
set(gridgauge_api_docs ${PROJECT_BINARY_DIR}/api-reference)
file(GLOB_RECURSE gridgauge_api_docs_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/components/markup/include/*.h
    ${PROJECT_SOURCE_DIR}/components/gridkit/include/*.h ${PROJECT_SOURCE_DIR}/docs/*.md)
add_custom_command(OUTPUT ${gridgauge_api_docs}/html/index.html
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/docs ${gridgauge_api_docs}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${gridgauge_api_docs}/html/jquery.js
    COMMAND ${CMAKE_COMMAND} -E create_symlink ../../../javascript/jquery/jquery.js
        ${gridgauge_api_docs}/html/jquery.js
    DEPENDS ${gridgauge_api_docs_sources} ${PROJECT_SOURCE_DIR}/docs/Doxyfile
    COMMENT "The API reference" VERBATIM)
add_custom_target(gridgauge_api_docs ALL DEPENDS ${gridgauge_api_docs}/html/index.html)
install(DIRECTORY ${gridgauge_api_docs}/html/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package_of_development}/html COMPONENT development)

configure_package_config_file(cmake/GridgaugeConfig.cmake.in
    ${PROJECT_BINARY_DIR}/cmake/GridgaugeConfig.cmake
    INSTALL_DESTINATION ${GRIDGAUGE_CMAKEDIR})
# Same major, same interface: 1.x programs build against any 1.y that is at least as new.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/GridgaugeConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cmake/GridgaugeConfig.cmake
    ${PROJECT_BINARY_DIR}/cmake/GridgaugeConfigVersion.cmake
    DESTINATION ${GRIDGAUGE_CMAKEDIR} COMPONENT development)

# pkg-config files find the prefix from where they lie, as the CMake package does: the same files
# serve the package's /usr and any prefix of one's own.
file(RELATIVE_PATH GRIDGAUGE_PC_TO_PREFIX /${GRIDGAUGE_PKGCONFIGDIR} /)
string(REGEX REPLACE "/$" "" GRIDGAUGE_PC_TO_PREFIX "${GRIDGAUGE_PC_TO_PREFIX}")
foreach(name IN ITEMS gridgauge-markup gridgauge-gridkit)
    configure_file(cmake/${name}.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${GRIDGAUGE_PKGCONFIGDIR}
        COMPONENT development)
endforeach()
