# vantrel_add_test(NAME
#   SOURCES file.cpp ...
#   [LIBRARIES target ...]
#   [TOOLKIT]              the tests run on a real editor control: the window
#                          toolkit's test main (tests/support/TestEditor.h)
#   [PROGRAMS serz ...]    programs the tests start: built first, and each
#                          path given to the code as <PROGRAM>_PATH
#   [TIMEOUT seconds])
#
# One test program. On Linux CTest lists each test case; cross-built for
# Windows, the whole program runs as one test, since starting Wine per case
# is slow.
function(vantrel_add_test name)
  cmake_parse_arguments(T "TOOLKIT" "TIMEOUT" "SOURCES;LIBRARIES;PROGRAMS" ${ARGN})
  if(T_TOOLKIT AND NOT TARGET vantrel_test_toolkit)
    message(STATUS "${name}: no window toolkit in this build, not built")
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_TOOLKIT)
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} vantrel_test_toolkit)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE VANTREL_SHARED_DIR="${VANTREL_SHARED_DIR}")
  foreach(program IN LISTS T_PROGRAMS)
    add_dependencies(${name} ${program})
    string(TOUPPER "${program}" upper)
    target_compile_definitions(${name} PRIVATE ${upper}_PATH="$<TARGET_FILE:${program}>")
  endforeach()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  if(CMAKE_CROSSCOMPILING AND T_TOOLKIT)
    # Windows starts a program named without a folder from the starting
    # program's own folder first: tests that put a converter of their own
    # into a program folder must not sit beside the real serz.exe.
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/toolkit-tests)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # One program holds all of a target's tests here, under Wine: at least
    # two minutes, so that a hung run is retried soon.
    add_test(NAME ${name} COMMAND ${name})
    set(_program_timeout ${T_TIMEOUT})
    if(_program_timeout LESS 120)
      set(_program_timeout 120)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${_program_timeout})
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
