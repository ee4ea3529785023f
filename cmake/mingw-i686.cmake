# Cross toolchain: 32-bit Windows programs built on Linux with MinGW-w64, run under Wine.
set(lexoriaMingwArch i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
