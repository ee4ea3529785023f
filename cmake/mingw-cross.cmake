# The MinGW-w64 cross toolchain for the processor that the including toolchain file names in
# lexoriaMingwArch (i686 or x86_64): Windows programs built on Linux, run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${lexoriaMingwArch})
# The win32 thread model: its runtime uses the system's own critical sections and thread-local
# slots. The posix model links libwinpthread, which imports functions that Windows XP lacks
# (GetTickCount64) and adds about 30 KB to every program; nothing here uses std::thread.
set(CMAKE_C_COMPILER ${lexoriaMingwArch}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${lexoriaMingwArch}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${lexoriaMingwArch}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${lexoriaMingwArch}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests are Windows programs; ctest runs them through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
