# The settings pages' file-name character check, under a double-byte code page.
tiltkit_native_test(native_namecheck SOURCES
  ${TILTKIT_ROOT}/tests/native/namecheck_test.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp)
tiltkit_fuzz_target(fuzz_namecheck SOURCES
  ${TILTKIT_ROOT}/tests/native/namecheck_fuzz.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp
  ${TILTKIT_ROOT}/jolt/joltcfgpure.cpp)
