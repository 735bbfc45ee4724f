# The Jolt page: the action list scan, the control rules and the input check.
tiltkit_native_test(native_joltcfg SOURCES
  ${TILTKIT_ROOT}/tests/native/joltcfg_test.cpp
  ${TILTKIT_ROOT}/jolt/joltcfgpure.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp)
