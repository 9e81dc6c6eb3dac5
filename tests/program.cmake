gridgauge_test(test_progress_markup SOURCES test_progress_markup.cpp test_markup_samples.cpp LIBS gridgauge_app)
gridgauge_test(test_startup SOURCES test_startup.cpp app_fixture.h LIBS gridgauge_app)
gridgauge_test(test_refresh SOURCES test_refresh.cpp app_fixture.h LIBS gridgauge_app gridgauge_host_internals)
gridgauge_test(test_drag SOURCES test_drag.cpp app_fixture.h LIBS gridgauge_app gridgauge_host_internals)
gridgauge_test(test_soak SOURCES test_soak.cpp app_fixture.h LIBS gridgauge_app)
gridgauge_test(test_program_repaint SOURCES test_program_repaint.cpp app_fixture.h gridkit_fixture.h LIBS gridgauge_app)
gridgauge_test(test_window_input SOURCES test_window_input.cpp app_fixture.h LIBS gridgauge_app gridgauge_host_internals)
# Again on a screen smaller than where the design puts the window.
add_test(NAME test_window_input_small_screen COMMAND test_window_input)
set_tests_properties(test_window_input_small_screen PROPERTIES ENVIRONMENT
    "${GRIDGAUGE_TEST_ENVIRONMENT};QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/small_screen.json")
# The window laid out right to left, as -reverse or a right-to-left desktop lays out every Qt program.
gridgauge_test(test_right_to_left SOURCES test_right_to_left.cpp app_fixture.h LIBS gridgauge_app)
gridgauge_test(test_desktop_conventions SOURCES test_desktop_conventions.cpp app_fixture.h LIBS gridgauge_app)
