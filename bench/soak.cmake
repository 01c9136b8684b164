# soak: many frames of the watch-only show and of the interactive options screen
# with scripted mouse input, headless and unpaced; prints the memory manager's
# total and the resident memory at the start and at the end.
# soak [frames] [archive]; the archive defaults to the built slv.dat.
add_executable(soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp ${CMAKE_CURRENT_LIST_DIR}/show_content.cpp)
target_link_libraries(soak PRIVATE solvane_effect)
target_compile_definitions(soak PRIVATE SOLVANE_DEFAULT_ARCHIVE="${CMAKE_BINARY_DIR}/bin/slv.dat")
