# fuzz_glide: the Glide recording reader and the replay of what it reads on the
# software board. Its seeds are recorded at build time by glide_fuzz_seeds (named
# so that scripts/fuzz, which runs every bin/fuzz_*, does not take it for a harness).
if(TARGET solvane_glide)
  add_executable(fuzz_glide ${CMAKE_CURRENT_LIST_DIR}/glide_fuzz.cpp)
  target_link_libraries(fuzz_glide PRIVATE solvane_glide)
  target_link_options(fuzz_glide PRIVATE -fsanitize=fuzzer)

  add_executable(glide_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/glide_seeds.cpp)
  target_link_libraries(glide_fuzz_seeds PRIVATE solvane_glide)
  set_target_properties(glide_fuzz_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                        ${CMAKE_BINARY_DIR}/fuzz-tools)
  set(glide_seed_folder ${CMAKE_BINARY_DIR}/fuzz-seeds/glide)
  add_custom_command(
    OUTPUT ${glide_seed_folder}/additive.glt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${glide_seed_folder}
    COMMAND glide_fuzz_seeds ${glide_seed_folder}
    DEPENDS glide_fuzz_seeds
    COMMENT "Writing the Glide recording fuzzer's seeds")
  add_custom_target(fuzz_glide_seeds DEPENDS ${glide_seed_folder}/additive.glt)
  add_dependencies(fuzz_glide fuzz_glide_seeds)
  add_dependencies(fuzzers fuzz_glide)
endif()
