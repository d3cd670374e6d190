# veltrin_add_test(NAME SOURCES src... [LIBS lib...] [NOT_EMULATED_CASES gtest-pattern reason]):
# one GoogleTest executable, registered as one CTest test. Windows builds run it through
# CMAKE_CROSSCOMPILING_EMULATOR (the Wine wrapper), and a Wine start costs seconds, so test cases
# are never registered one by one. Where 32-bit programs run through emulation every suite runs
# there too; NOT_EMULATED_CASES leaves out there only the cases that match the pattern (GoogleTest
# filter syntax), and the wrapper prints the reason.

if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest as source for cross builds; build it with the cross compiler.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(VELTRIN_GTEST_MAIN gtest_main)
  set(VELTRIN_GMOCK gmock)
  # Every Windows test program checks its heap (guard bytes, poisoned and quarantined freed
  # blocks) through a replacement of the global operator new and delete; the product never does.
  add_library(veltrin_checking_allocator OBJECT
              ${PROJECT_SOURCE_DIR}/tests/support/checking_allocator.cpp)
  set(VELTRIN_TEST_ALLOCATOR veltrin_checking_allocator)
else()
  find_package(GTest REQUIRED)
  set(VELTRIN_GTEST_MAIN GTest::gtest_main)
  set(VELTRIN_GMOCK GTest::gmock)
endif()

function(veltrin_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;NOT_EMULATED_CASES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${VELTRIN_TEST_ALLOCATOR} ${ARG_LIBS} ${VELTRIN_GMOCK}
                        ${VELTRIN_GTEST_MAIN})
  if(CMAKE_CROSSCOMPILING)
    # The standard library checks its preconditions (indexes, non-empty containers) in the tests.
    target_compile_definitions(${name} PRIVATE _GLIBCXX_ASSERTIONS)
  endif()
  # Tests find their data next to the sources, whatever the build folder.
  target_compile_definitions(${name} PRIVATE VELTRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  # A hung suite is stopped rather than holding CI until its limit.
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(ARG_NOT_EMULATED_CASES)
    list(POP_FRONT ARG_NOT_EMULATED_CASES pattern)
    string(JOIN " " reason ${ARG_NOT_EMULATED_CASES})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
      "VELTRIN_NOT_EMULATED_CASES=${pattern};VELTRIN_NOT_EMULATED_WHY=${reason}")
  endif()
endfunction()
