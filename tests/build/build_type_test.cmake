# Configures SOURCE into SCRATCH (the tests and benchmarks left out, as they
# change nothing here) and checks the build type the cache holds: Release
# when none is given, the one given otherwise.
# Run as: cmake -DSOURCE=<project> -DSCRATCH=<folder> -DGENERATOR=<name> -P build_type_test.cmake
cmake_minimum_required(VERSION 3.20)

function(configured_type given expected)
  file(REMOVE_RECURSE "${SCRATCH}")
  set(type_argument)
  if(NOT given STREQUAL "")
    set(type_argument "-DCMAKE_BUILD_TYPE=${given}")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${SOURCE}" -B "${SCRATCH}" -G "${GENERATOR}" ${type_argument}
            -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring with type '${given}' failed:\n${output}")
  endif()
  file(STRINGS "${SCRATCH}/CMakeCache.txt" line REGEX "^CMAKE_BUILD_TYPE:")
  if(NOT line MATCHES ":[A-Z]+=${expected}$")
    message(FATAL_ERROR "type '${given}' gave '${line}', not ${expected}")
  endif()
  message(STATUS "type '${given}': ${expected}")
endfunction()

configured_type("" Release)
configured_type(Debug Debug)
configured_type(RelWithDebInfo RelWithDebInfo)
file(REMOVE_RECURSE "${SCRATCH}")
