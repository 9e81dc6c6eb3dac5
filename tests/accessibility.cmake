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
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_a11y_test(test_gridkit_reader
    SOURCES test_gridkit_reader.cpp accessibility_recorder.h gridkit_fixture.h
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_a11y_test(test_accessibility
    SOURCES test_accessibility.cpp accessibility_recorder.h app_fixture.h
    LIBS gridgauge_app)

# The real program, walked over AT-SPI by python3-pyatspi as a screen reader walks it. Debian's
# own Python, which is where python3-pyatspi installs.
add_test(NAME test_atspi
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/a11y_session.sh
        /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/atspi_walk.py $<TARGET_FILE:gridgauge>)
set_tests_properties(test_atspi PROPERTIES TIMEOUT 120)

# What Orca says about the real program while a user walks it with the keyboard: Orca with its
# own speech server, inside the same session as above.
add_test(NAME test_orca
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/a11y_session.sh ${CMAKE_CURRENT_SOURCE_DIR}/orca_session.sh
        /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/orca_walk.py $<TARGET_FILE:gridgauge>)
set_tests_properties(test_orca PROPERTIES TIMEOUT 180)
