# The native tree: pure logic compiled for the build machine with address and
# undefined-behaviour sanitizers, unit-tested with GoogleTest, and fuzzed
# with libFuzzer. Every test is listed in native-tests.txt for the test tree.
set(TILTKIT_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g -O1 -Wall -Wextra -Wno-unused-parameter)
set(TILTKIT_NATIVE_LIST ${CMAKE_BINARY_DIR}/native-tests.txt)
file(WRITE ${TILTKIT_NATIVE_LIST} "")

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE ${TILTKIT_SANITIZE})
target_compile_options(gtest_main PRIVATE ${TILTKIT_SANITIZE})

# tiltkit_native_test(name SOURCES ...): sources include the pure modules under test.
function(tiltkit_native_test name)
  cmake_parse_arguments(A "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${TILTKIT_ROOT}/tests)
  target_compile_options(${name} PRIVATE ${TILTKIT_SANITIZE})
  target_link_options(${name} PRIVATE ${TILTKIT_SANITIZE})
  target_link_libraries(${name} PRIVATE gtest gtest_main)
  file(APPEND ${TILTKIT_NATIVE_LIST} "unit|${name}|${CMAKE_BINARY_DIR}/bin/${name}\n")
endfunction()

# tiltkit_fuzz_target(name SOURCES ...): a libFuzzer target, run briefly by ctest.
function(tiltkit_fuzz_target name)
  cmake_parse_arguments(A "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${TILTKIT_ROOT}/tests)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  file(APPEND ${TILTKIT_NATIVE_LIST} "fuzz|${name}|${CMAKE_BINARY_DIR}/bin/${name}\n")
endfunction()
