# The markup engine under libFuzzer, linked statically. The engine's objects carry the coverage
# instrumentation (its shared library too, in this preset), so the fuzzer sees its branches and not
# only this driver's.
add_executable(fuzz_markup fuzz_markup.cpp)
target_link_libraries(fuzz_markup PRIVATE gridgauge_markup_internals)
target_compile_options(fuzz_markup PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_markup PRIVATE -fsanitize=fuzzer)
target_compile_options(gridgauge_markup_objects PRIVATE -fsanitize=fuzzer-no-link)
# No moc: an autogen folder named fuzz_markup_autogen would pass for a fuzz target.
set_target_properties(fuzz_markup PROPERTIES AUTOMOC OFF)
