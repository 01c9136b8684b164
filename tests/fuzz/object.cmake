# fuzz_object: the LightWave object loader and the polygon pipeline behind it.
# Its seeds are written at build time by object_fuzz_seeds (named so that
# scripts/fuzz, which runs every bin/fuzz_*, does not take it for a harness).
add_executable(fuzz_object ${CMAKE_CURRENT_LIST_DIR}/object_fuzz.cpp)
target_link_libraries(fuzz_object PRIVATE solvane_render solvane_geometry solvane_toolkit)
target_link_options(fuzz_object PRIVATE -fsanitize=fuzzer)

add_executable(object_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/object_seeds.cpp)
target_include_directories(object_fuzz_seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests/geometry)
set(object_seed_folder ${CMAKE_BINARY_DIR}/fuzz-seeds/object)
add_custom_command(
  OUTPUT ${object_seed_folder}/cube.lwo
  COMMAND ${CMAKE_COMMAND} -E make_directory ${object_seed_folder}
  COMMAND object_fuzz_seeds ${object_seed_folder}
  DEPENDS object_fuzz_seeds
  COMMENT "Writing the object fuzzer's seeds")
add_custom_target(fuzz_object_seeds DEPENDS ${object_seed_folder}/cube.lwo)
add_dependencies(fuzz_object fuzz_object_seeds)
add_dependencies(fuzzers fuzz_object)
