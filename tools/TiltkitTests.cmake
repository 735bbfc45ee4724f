# The test tree: GoogleTest cross-built from Debian's sources, every test
# program run under Wine through tools/winerun.sh, plus the native unit tests,
# the fuzz runs and the Windows XP check registered into the same ctest.
set(TILTKIT_WIN_BIN "" CACHE PATH "bin folder of the win tree")
set(TILTKIT_NATIVE_BIN "" CACHE PATH "bin folder of the native tree")
# The delivered i686 binaries that the XP and export checks read; the Wine
# tests run the programs of TILTKIT_WIN_BIN, which is an x86-64 build of the
# same sources where only the 64-bit Wine runs (TILTKIT_WINE_ARCH win64).
set(TILTKIT_XP_BIN "${TILTKIT_WIN_BIN}" CACHE PATH "bin folder of the i686 deliverables")
set(TILTKIT_WINE_ARCH "win32" CACHE STRING "win32 or win64")
set(TILTKIT_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TILTKIT_ROOT}/tools/winerun.sh --arch ${TILTKIT_WINE_ARCH}
    --state ${TILTKIT_WINE_STATE} --bin ${TILTKIT_WIN_BIN})

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

enable_testing()
include(GoogleTest)

# tiltkit_wine_test(name SOURCES ... [LIBS ...] [TIMEOUT s] [SERIAL])
# One ctest entry per TEST()/TEST_F() found in the sources.
function(tiltkit_wine_test name)
  cmake_parse_arguments(A "SERIAL" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${TILTKIT_ROOT}/tests)
  target_link_libraries(${name} PRIVATE testbench gtest gtest_main ${A_LIBS})
  target_link_options(${name} PRIVATE -mconsole)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 60)
  endif()
  gtest_add_tests(TARGET ${name} SOURCES ${A_SOURCES} TEST_LIST tests_found)
  # A test that cannot apply to the build under test says so with GTEST_SKIP.
  set_tests_properties(${tests_found} PROPERTIES TIMEOUT ${A_TIMEOUT}
                       SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\] [1-9]")
  if(A_SERIAL)
    set_tests_properties(${tests_found} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# Native unit tests and fuzz runs, listed by the native tree.
if(EXISTS ${TILTKIT_NATIVE_BIN}/../native-tests.txt)
  file(STRINGS ${TILTKIT_NATIVE_BIN}/../native-tests.txt native_entries)
  foreach(entry ${native_entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 kind)
    list(GET parts 1 tname)
    list(GET parts 2 tpath)
    if(kind STREQUAL "unit")
      add_test(NAME native.${tname} COMMAND ${tpath})
    else()
      file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/${tname})
      add_test(NAME fuzz.${tname} COMMAND ${tpath} -max_total_time=4 -print_final_stats=0
               ${CMAKE_BINARY_DIR}/fuzz-corpus/${tname})
      set_tests_properties(fuzz.${tname} PROPERTIES TIMEOUT 60)
    endif()
  endforeach()
endif()

# The Windows XP compatibility check of every deliverable.
add_test(NAME xpcheck COMMAND python3 ${TILTKIT_ROOT}/tools/xpcheck.py ${TILTKIT_XP_BIN})

# tiltkit_test_program(name SOURCES ... [LIBS ...]): a console program of the
# test tree on the test bench that ctest does not run (benchmarks, the tour's
# programs).
function(tiltkit_test_program name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${TILTKIT_ROOT}/tests)
  target_link_libraries(${name} PRIVATE testbench ${A_LIBS})
  target_link_options(${name} PRIVATE -mconsole)
endfunction()

# tiltkit_benchmark(name SOURCES ... [LIBS ...]): a benchmark program run by
# tools/bench.sh under Wine (not by ctest: figures, not pass or fail).
function(tiltkit_benchmark name)
  tiltkit_test_program(${name} ${ARGN})
  set_property(GLOBAL APPEND PROPERTY TILTKIT_BENCHMARKS ${name})
endfunction()

# Every deliverable library exports exactly the names of its .def file.
add_test(NAME exportcheck COMMAND python3 ${TILTKIT_ROOT}/tools/exportcheck.py ${TILTKIT_ROOT} ${TILTKIT_XP_BIN})
