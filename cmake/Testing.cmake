# GoogleTest: the installed package natively; its sources (Debian ships them
# in /usr/src/googletest) when cross-building for Windows.
if(CMAKE_CROSSCOMPILING)
  set(QUORVEL_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources")
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own code is not held to our warning flags.
  foreach(t gtest gtest_main)
    set_target_properties(${t} PROPERTIES COMPILE_OPTIONS "-w")
  endforeach()
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# Every test's environment: Wine quiet and in a prefix of this build's own,
# and on POSIX a configuration folder of this build's own, so that no
# program a test starts reads or writes the user's registry (tests that need
# settings make their own: tests/support/registry_setting.h).
set(QUORVEL_TEST_ENVIRONMENT "WINEDEBUG=-all")
if(CMAKE_CROSSCOMPILING_EMULATOR)
  # Wine makes file names in the locale's character set: without a UTF-8
  # locale (a minimal system's login has none) no name outside ASCII can be
  # made, and the tests of such names would fail for the machine's sake.
  list(APPEND QUORVEL_TEST_ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix"
       "LC_ALL=C.UTF-8")
endif()
if(NOT WIN32)
  list(APPEND QUORVEL_TEST_ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/config-home")
endif()

# quorvel_test(<name> SOURCES ... LIBS ...): one test program, run by CTest
# natively or through the cross-compiling emulator (Wine).
function(quorvel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quorvel_test_support GTest::gtest_main GTest::gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${QUORVEL_TEST_ENVIRONMENT}" TIMEOUT 600)
endfunction()
