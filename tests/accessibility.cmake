# What assistive technology meets. Qt's offscreen platform has no accessibility, so these run on a
# display of their own with a private D-Bus session and the AT-SPI bus (a11y_session.sh).
function(gridgauge_a11y_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME ${name}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/a11y_session.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp:print_suppressions=0"
        TIMEOUT 120)
endfunction()

gridgauge_a11y_test(test_gridkit_accessibility
    SOURCES test_gridkit_accessibility.cpp accessibility_recorder.h gridkit_fixture.h
    LIBS gridgauge_gridkit)
