# The markup engine against QTextDocument and QStyle drawing the same progress cell.
add_executable(bench_markup bench_markup.cpp)
target_link_libraries(bench_markup PRIVATE gridgauge_markup Qt6::Widgets benchmark::benchmark)
