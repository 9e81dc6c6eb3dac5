# The report grid component.
gridgauge_test(test_gridkit_model SOURCES test_gridkit_model.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit)
gridgauge_test(test_gridkit_view SOURCES test_gridkit_view.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit)
gridgauge_test(test_gridkit_input SOURCES test_gridkit_input.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit)
