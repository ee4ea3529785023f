# GoogleTest from the sources Debian ships, built with whichever compiler this build uses,
# and a helper that makes one test executable and registers it with ctest.
set(LEXORIA_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${LEXORIA_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(WIN32)
  # The Windows trees use MinGW's win32 thread model (see docs/DESIGN.md), whose GCC 12 runtime
  # has no std::mutex or std::condition_variable. GoogleTest's locks are its own on the Windows
  # API; the one piece written on those two classes comes from cmake/gtest-notification.h.
  target_compile_options(gtest PUBLIC
    "SHELL:-include ${PROJECT_SOURCE_DIR}/cmake/gtest-notification.h")
  target_sources(gtest PRIVATE ${PROJECT_SOURCE_DIR}/cmake/gtest-notification.cpp)
endif()

# The Windows tests share one Wine prefix, one display and the program's registry key under
# HKEY_CURRENT_USER, and start the program a user may run only once at a time: ctest must never run
# two of them at once, not even with -j. Every test of the Windows tree takes this lock;
# lexoria_add_test does so itself, a test added with add_test calls this.
function(lexoria_windows_session)
  if(WIN32)
    set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK lexoria_windows_session)
  endif()
endfunction()

# lexoria_add_test(NAME SOURCES a.cpp b.cpp LIBS lib... [TIMEOUT s] [NO_MAIN])
function(lexoria_add_test name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_NO_MAIN)
    target_link_libraries(${name} PRIVATE gtest ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE gtest gtest_main ${T_LIBS})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  lexoria_windows_session(${name})
endfunction()

# lexoria_add_standin(NAME SOURCE): a DLL that a test puts in place of a library the program
# loads, named NAME.dll with its exports undecorated, as the system's own copy has them.
function(lexoria_add_standin name source)
  add_library(${name} SHARED ${source})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()
