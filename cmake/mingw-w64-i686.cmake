# The 32-bit Windows screen saver: the 64-bit toolchain file for i686.
set(SOLVANE_WINDOWS_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
