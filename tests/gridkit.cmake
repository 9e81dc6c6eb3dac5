# The report grid component. Tests of the public API alone link the shared library as installed:
# what they call must be exported, and the errors it throws are caught here as host::RuntimeError.
gridgauge_test(test_gridkit_model SOURCES test_gridkit_model.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit)
gridgauge_test(test_gridkit_view SOURCES test_gridkit_view.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit_internals)
gridgauge_test(test_gridkit_input SOURCES test_gridkit_input.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit_internals)
# The object model alone, linked without any widget library.
gridgauge_test(test_gridkit_object_model SOURCES test_gridkit_object_model.cpp
    LIBS gridgauge_gridkit_model gridgauge_markup_internals)
gridgauge_test(test_gridkit_repaint SOURCES test_gridkit_repaint.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit_internals)
# The view's parts, each on its own.
gridgauge_test(test_gridkit_parts SOURCES test_gridkit_parts.cpp LIBS gridgauge_gridkit_internals)
# Delegates for Qt's own item views, also at a device pixel ratio of 2.
foreach(t test_markup_delegate test_progress_delegate)
    gridgauge_test(${t} SOURCES ${t}.cpp test_markup_samples.cpp delegate_fixture.h LIBS gridgauge_gridkit_internals)
    gridgauge_test_hidpi(${t})
endforeach()
# What a Qt user expects of a view: focus, header dividers, tooltips.
gridgauge_test(test_gridkit_conventions SOURCES test_gridkit_conventions.cpp gridkit_fixture.h
    LIBS gridgauge_gridkit_internals)
gridgauge_test_hidpi(test_gridkit_conventions)
