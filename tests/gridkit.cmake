# The report grid. Its behaviour as the program's window meets it (geometry, input, repaints,
# conventions, right to left, accessibility) is tried through the program's grid control, which
# is GridKit's view over the program's records; its Qt item view interface over any model is
# tried on Qt's own models.
gridgauge_test(test_records_model SOURCES test_records_model.cpp LIBS gridgauge_app)
gridgauge_test(test_gridkit_model SOURCES test_gridkit_model.cpp gridkit_fixture.h
    LIBS gridgauge_app)
gridgauge_test(test_gridkit_view SOURCES test_gridkit_view.cpp gridkit_fixture.h
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_test(test_gridkit_input SOURCES test_gridkit_input.cpp gridkit_fixture.h
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_test(test_gridkit_repaint SOURCES test_gridkit_repaint.cpp gridkit_fixture.h
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_test(test_gridkit_itemview SOURCES test_gridkit_itemview.cpp LIBS gridgauge_gridkit_internals)
# The drawings cells keep, on their own.
gridgauge_test(test_gridkit_parts SOURCES test_gridkit_parts.cpp LIBS gridgauge_gridkit_internals)
# Delegates for Qt's own item views, also at a device pixel ratio of 2.
foreach(t test_markup_delegate test_progress_delegate)
    gridgauge_test(${t} SOURCES ${t}.cpp test_markup_samples.cpp delegate_fixture.h LIBS gridgauge_gridkit_internals)
    gridgauge_test_hidpi(${t})
endforeach()
# What a Qt user expects of a view: focus, header dividers, tooltips.
gridgauge_test(test_gridkit_conventions SOURCES test_gridkit_conventions.cpp gridkit_fixture.h
    LIBS gridgauge_app gridgauge_gridkit_internals)
gridgauge_test_hidpi(test_gridkit_conventions)
