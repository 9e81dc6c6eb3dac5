# How a component becomes a library that other programs install and build on. Its sources are
# compiled once, as objects, the way a shared object needs them: position independent, every
# symbol hidden unless the component's export macro marks it public. Two libraries are made of the
# same objects: the shared one that the program links and that gets installed, and a static one for
# the component's tests, benchmarks and fuzz targets, which reach the hidden internals.
include(GenerateExportHeader)

# Compiles target (an OBJECT library) as a part of a shared library whose export macro turns on
# with define.
function(gridgauge_library_objects target define)
    set_target_properties(${target} PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_compile_definitions(${target} PRIVATE ${define})
    # A library's own calls to its exported functions go straight to them, as with
    # -Bsymbolic-functions at link time (below); GCC otherwise assumes they may be interposed.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -fno-semantic-interposition)
    endif()
endfunction()

# The installed shared library target, named Gridgauge::<export_name> for its users, as
# lib<output_name>.so.<major> on disk.
function(gridgauge_shared_library target output_name export_name)
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${output_name}
        EXPORT_NAME ${export_name}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        # Its objects were moc'ed already; its headers are listed only to be installed.
        AUTOMOC OFF)
    # An undefined symbol is a mistake found at link time, not when a program loads the library.
    # Not under the sanitizers: their runtime comes with the program, not with each library.
    if(NOT GRIDGAUGE_SANITIZE)
        target_link_options(${target} PRIVATE LINKER:--no-undefined)
    endif()
    # Calls inside the library bind to its own functions when it is loaded, without a symbol
    # lookup each, as Qt's own libraries are linked; a program using it is position independent
    # (Qt asks the same of it), so function addresses still compare equal across the boundary.
    target_link_options(${target} PRIVATE LINKER:-Bsymbolic-functions)
    # Every exported symbol carries the version node GRIDGAUGE_<major>.0, as Qt's carry Qt_6: a
    # program records the node it was linked against, and only a library of that major version
    # can satisfy it.
    set(map ${PROJECT_BINARY_DIR}/gridgauge.map)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/gridgauge.map.in ${map} @ONLY)
    target_link_options(${target} PRIVATE LINKER:--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
    add_library(Gridgauge::${export_name} ALIAS ${target})
endfunction()

# The export macros of the shared library target, generated as header (relative to the build
# tree's include folder, where the installed headers find it): <base>_EXPORT marks the public API,
# <base>_NO_EXPORT keeps a symbol hidden, <base>_DEPRECATED and <base>_DEPRECATED_EXPORT mark what
# is to go at the next major version (<base>_NO_DEPRECATED leaves it out). The library's objects
# are built with <base>_LIBRARY; the static library of the same objects, and whoever links it,
# defines <base>_STATIC, and the macros then mark nothing.
function(gridgauge_export_header target static_target base header)
    set_target_properties(${target} PROPERTIES DEFINE_SYMBOL ${base}_LIBRARY)
    generate_export_header(${target} BASE_NAME ${base}
        EXPORT_FILE_NAME ${PROJECT_BINARY_DIR}/include/${header}
        STATIC_DEFINE ${base}_STATIC)
    target_compile_definitions(${static_target} PUBLIC ${base}_STATIC)
endfunction()
