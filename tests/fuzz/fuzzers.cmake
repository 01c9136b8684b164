# libFuzzer harnesses, each bin/fuzz_NAME with its seeds in fuzz-seeds/NAME
# (scripts/fuzz runs every bin/fuzz_*). Seeds come from tests/fuzz/seeds/NAME,
# or are written at build time by a program kept out of bin/ (fuzz-tools/).

# fuzz_NAME from SOURCE, linked with the libraries that follow.
function(solvane_fuzzer name source)
  add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${source})
  target_link_libraries(fuzz_${name} PRIVATE ${ARGN})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers fuzz_${name})
endfunction()

# NAME's seeds copied from tests/fuzz/seeds/NAME.
function(solvane_fuzz_seed_folder name)
  add_custom_command(TARGET fuzz_${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz-seeds/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/${name}
            ${CMAKE_BINARY_DIR}/fuzz-seeds/${name}
    VERBATIM)
endfunction()

# NAME's seeds written by the program built from SOURCE (linked with the
# libraries that follow) into fuzz-seeds/NAME before the harness is built.
function(solvane_fuzz_seed_writer name source)
  set(writer ${name}_fuzz_seeds)
  add_executable(${writer} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${source})
  target_link_libraries(${writer} PRIVATE ${ARGN})
  set_target_properties(${writer} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-tools)
  set(folder ${CMAKE_BINARY_DIR}/fuzz-seeds/${name})
  add_custom_command(OUTPUT ${folder}/.written
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${writer} ${folder}
    COMMAND ${CMAKE_COMMAND} -E touch ${folder}/.written
    DEPENDS ${writer}
    COMMENT "Writing the ${name} fuzzer's seeds"
    VERBATIM)
  add_custom_target(fuzz_${name}_seeds DEPENDS ${folder}/.written)
  add_dependencies(fuzz_${name} fuzz_${name}_seeds)
endfunction()

add_custom_target(fuzzers)
# The archive reader and member reads through File.
solvane_fuzzer(archive archive_fuzz.cpp solvane_toolkit)
solvane_fuzz_seed_writer(archive archive_fuzz_seeds.cpp solvane_toolkit)
# The LightWave object loader and the polygon pipeline behind it.
solvane_fuzzer(object object_fuzz.cpp solvane_render)
solvane_fuzz_seed_writer(object object_seeds.cpp solvane_toolkit)
# The scene parser and the motion reader.
solvane_fuzzer(scene scene_fuzz.cpp solvane_scene)
solvane_fuzz_seed_folder(scene)
# The Glide recording reader and the replay of what it reads on the board.
solvane_fuzzer(glide glide_fuzz.cpp solvane_glide)
solvane_fuzz_seed_writer(glide glide_seeds.cpp solvane_glide)
# The parser of the Linux registry file (registry.ini, edited by users).
if(NOT WIN32)
  solvane_fuzzer(registry registry_fuzz.cpp solvane_win32)
  solvane_fuzz_seed_folder(registry)
endif()
