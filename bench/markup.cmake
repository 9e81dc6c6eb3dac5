# The markup engine against QTextDocument and QStyle drawing the same progress cell.
add_executable(bench_markup bench_markup.cpp ${CMAKE_SOURCE_DIR}/tests/test_markup_samples.cpp)
target_include_directories(bench_markup PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(bench_markup PRIVATE gridgauge_markup Qt6::Widgets benchmark::benchmark)
# No moc: an autogen folder named bench_markup_autogen would pass for a benchmark.
set_target_properties(bench_markup PROPERTIES AUTOMOC OFF)
# The icon of the link-and-icon cell, for both sides, from the program's own resources.
qt_add_resources(bench_markup bench_images PREFIX /bench
    BASE ${CMAKE_SOURCE_DIR}/tests/markup_images
    FILES ${CMAKE_SOURCE_DIR}/tests/markup_images/badge.xpm)
