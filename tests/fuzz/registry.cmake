# fuzz_registry: the parser of the Linux registry file (registry.ini, edited by
# users). Its seeds (tests/fuzz/seeds/registry) are copied to fuzz-seeds/registry
# at build time.
if(TARGET solvane_win32 AND NOT WIN32)
  add_executable(fuzz_registry ${CMAKE_CURRENT_LIST_DIR}/registry_fuzz.cpp)
  target_link_libraries(fuzz_registry PRIVATE solvane_win32)
  target_link_options(fuzz_registry PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers fuzz_registry)
  add_custom_command(TARGET fuzz_registry POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz-seeds/registry
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_LIST_DIR}/seeds/registry
            ${CMAKE_BINARY_DIR}/fuzz-seeds/registry
    VERBATIM)
endif()
