# bench_effect: the watch-only show, headless and unpaced, at the start-up values
# and at 500 copies, then the interactive screen at rest; prints frames per
# second, polygons and pixels per frame.
# bench_effect [frames] [archive]; the archive defaults to the built slv.dat.
add_executable(bench_effect ${CMAKE_CURRENT_LIST_DIR}/effect_bench.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/show_content.cpp)
target_link_libraries(bench_effect PRIVATE solvane_effect)
target_compile_definitions(bench_effect PRIVATE
  SOLVANE_DEFAULT_ARCHIVE="${CMAKE_BINARY_DIR}/bin/slv.dat")
