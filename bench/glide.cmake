# Benchmarks of the software Glide board: span fill rate, the show's worst frame,
# replay of recorded workloads, and the program that makes those recordings.
add_executable(glide_fill glide_fill.cpp)
target_link_libraries(glide_fill PRIVATE solvane_glide)
add_executable(glide_replay glide_replay.cpp)
target_link_libraries(glide_replay PRIVATE solvane_glide)
add_executable(glide_workloads glide_workloads.cpp)
target_link_libraries(glide_workloads PRIVATE solvane_glide)
