# The program's own figures, each beside the usual Qt way of doing the same job: the refresh and
# a drag move on the real window, the grid at a hundred thousand records, and start-up.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(bench_app bench_app.cpp event_to_pixels.h peer_table.cpp peer_table.h ratio_report.h)
target_include_directories(bench_app PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_app PRIVATE gridgauge_app benchmark::benchmark Qt6::Test)

add_executable(bench_scale bench_scale.cpp event_to_pixels.h peer_table.cpp peer_table.h ratio_report.h)
target_include_directories(bench_scale PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_scale PRIVATE gridgauge_app benchmark::benchmark Qt6::Test)

# Start-up is timed on child processes: the real program's start-up that stops at its first
# refresh, and a minimal Qt window that sets its caption on its first tick. Neither is named
# bench_*, so the runner does not take them for benchmarks.
add_executable(startup_gridgauge startup_gridgauge.cpp)
target_link_libraries(startup_gridgauge PRIVATE gridgauge_app)
add_executable(startup_peer startup_peer.cpp)
target_link_libraries(startup_peer PRIVATE Qt6::Widgets)

add_executable(bench_startup bench_startup.cpp ratio_report.h)
target_include_directories(bench_startup PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_startup PRIVATE Qt6::Core benchmark::benchmark)
add_dependencies(bench_startup startup_gridgauge startup_peer)
target_compile_definitions(bench_startup PRIVATE
    STARTUP_GRIDGAUGE="$<TARGET_FILE:startup_gridgauge>"
    STARTUP_PEER="$<TARGET_FILE:startup_peer>")

# No moc: an autogen folder named bench_*_autogen would pass for a benchmark.
set_target_properties(bench_app bench_scale bench_startup startup_gridgauge startup_peer
    PROPERTIES AUTOMOC OFF)
