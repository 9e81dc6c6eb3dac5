add_test(NAME test_install COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(test_install PROPERTIES DEPENDS test_process)
gridgauge_test(test_robustness SOURCES test_robustness.cpp app_fixture.h LIBS gridgauge_app)
