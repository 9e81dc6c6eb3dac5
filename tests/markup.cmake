# The markup engine on its own: parsing and caching, then layout and pixels.
gridgauge_test(test_markup_parser
    SOURCES test_markup_parser.cpp test_markup_samples.cpp
    LIBS gridgauge_markup_internals)
gridgauge_test(test_markup_render
    SOURCES test_markup_render.cpp test_markup_samples.cpp
    LIBS gridgauge_markup_internals)
gridgauge_test(test_markup_layout
    SOURCES test_markup_layout.cpp
    LIBS gridgauge_markup_internals)
gridgauge_test(test_markup_flow_direction SOURCES test_markup_flow_direction.cpp LIBS gridgauge_markup)
# The caption check, as a developer runs it.
add_test(NAME test_markup_check
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_markup_check.sh $<TARGET_FILE:gridgauge-markup-check>)
# Image elements, with the test's own resources and an icon theme made on the fly.
gridgauge_test(test_markup_images SOURCES test_markup_images.cpp LIBS gridgauge_markup Qt6::Gui)
qt_add_resources(test_markup_images markup_images PREFIX /markup
    BASE markup_images FILES markup_images/quad.xpm)
gridgauge_test(test_markup_links SOURCES test_markup_links.cpp LIBS gridgauge_markup Qt6::Gui)
