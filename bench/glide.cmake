# Benchmarks of the software Glide board: span fill rate, the show's worst frame,
# replay of recorded workloads, and the program that makes those recordings.
add_executable(glide_fill glide_fill.cpp)
target_link_libraries(glide_fill PRIVATE solvane_glide)
add_executable(glide_replay glide_replay.cpp)
target_link_libraries(glide_replay PRIVATE solvane_glide)
# glide_workloads draws the show's own frames too, so it links the effect and
# reads the built slv.dat by default.
add_executable(glide_workloads glide_workloads.cpp show_content.cpp)
target_link_libraries(glide_workloads PRIVATE solvane_effect)
target_compile_definitions(glide_workloads PRIVATE
  SOLVANE_DEFAULT_ARCHIVE="${CMAKE_BINARY_DIR}/bin/slv.dat")
