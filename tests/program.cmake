gridgauge_test(test_progress_markup SOURCES test_progress_markup.cpp LIBS gridgauge_app)
gridgauge_test(test_startup SOURCES test_startup.cpp app_fixture.h LIBS gridgauge_app)
gridgauge_test(test_refresh SOURCES test_refresh.cpp app_fixture.h LIBS gridgauge_app)
gridgauge_test(test_drag SOURCES test_drag.cpp app_fixture.h LIBS gridgauge_app)
