# Cross toolchain for the tests on a machine whose kernel runs no 32-bit code, where 32-bit Wine
# cannot start: the same sources as 64-bit Windows programs, run under wine64. The release stays
# the 32-bit build of mingw-i686.cmake.
set(lexoriaMingwArch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
