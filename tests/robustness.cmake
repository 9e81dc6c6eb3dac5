gridgauge_test(test_robustness SOURCES test_robustness.cpp app_fixture.h LIBS gridgauge_app)
