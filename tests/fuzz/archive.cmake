# fuzz_archive: the archive reader and member reads through File. Its seeds are
# written by archive_fuzz_seeds at build time.
add_executable(fuzz_archive ${CMAKE_CURRENT_LIST_DIR}/archive_fuzz.cpp)
target_link_libraries(fuzz_archive PRIVATE solvane_toolkit)
target_link_options(fuzz_archive PRIVATE -fsanitize=fuzzer)

# Kept out of bin/, where every fuzz_* program is taken for a harness.
add_executable(archive_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/archive_fuzz_seeds.cpp)
set_target_properties(archive_fuzz_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/fuzz-tools)
add_dependencies(fuzz_archive archive_fuzz_seeds)
add_custom_command(TARGET fuzz_archive POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz-seeds/archive
  COMMAND archive_fuzz_seeds ${CMAKE_BINARY_DIR}/fuzz-seeds/archive
  COMMENT "Writing the archive fuzz seeds")
add_dependencies(fuzzers fuzz_archive)
