# geometry_bench: object loading and the polygon pipeline on the CPU alone.
add_executable(geometry_bench ${CMAKE_CURRENT_LIST_DIR}/geometry_bench.cpp)
target_link_libraries(geometry_bench PRIVATE solvane_render solvane_geometry solvane_toolkit)
