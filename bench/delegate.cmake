# GridKit's delegates in Qt's own table view, each beside the usual way of drawing the same cell.
add_executable(bench_delegate bench_delegate.cpp event_to_pixels.h ratio_report.h)
target_link_libraries(bench_delegate PRIVATE gridgauge_gridkit gridgauge_app benchmark::benchmark Qt6::Test)
set_target_properties(bench_delegate PROPERTIES AUTOMOC OFF) # no bench_*_autogen folder
