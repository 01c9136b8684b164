# Cross-compiles the Windows screen saver (solvane.scr) with Debian's MinGW-w64:
# 64-bit; mingw-w64-i686.cmake includes this file for the 32-bit one. (The
# architecture is set in a toolchain file, not on the command line, because
# CMake's compiler checks read the toolchain file again without the cache.)
if(NOT SOLVANE_WINDOWS_ARCH)
  set(SOLVANE_WINDOWS_ARCH x86_64)
endif()
set(triple ${SOLVANE_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SOLVANE_WINDOWS_ARCH})
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The .scr is copied alone into the Windows folder: link the C++ and GCC run-time
# (and winpthreads, which std::thread uses) statically, so it needs only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The release .scr carries no symbols or debug data.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
