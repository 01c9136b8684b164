# fuzz_scene: the scene parser and the motion reader under libFuzzer. Its seeds
# (tests/fuzz/seeds/scene) are copied to fuzz-seeds/scene at build time.
add_executable(fuzz_scene ${CMAKE_CURRENT_LIST_DIR}/scene_fuzz.cpp)
target_link_libraries(fuzz_scene PRIVATE solvane_scene)
target_link_options(fuzz_scene PRIVATE -fsanitize=fuzzer)
add_dependencies(fuzzers fuzz_scene)
add_custom_command(TARGET fuzz_scene POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz-seeds/scene
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_LIST_DIR}/seeds/scene
          ${CMAKE_BINARY_DIR}/fuzz-seeds/scene
  VERBATIM)
