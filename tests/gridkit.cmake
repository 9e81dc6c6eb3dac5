# The report grid component.
gridgauge_test(test_gridkit_model SOURCES test_gridkit_model.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit)
