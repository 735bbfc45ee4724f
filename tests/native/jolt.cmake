# Jolt: decoding of the stored values, the refresh decision, tilt directions,
# and the installation's default table.
tiltkit_native_test(native_jolt SOURCES
  ${TILTKIT_ROOT}/tests/native/jolt_test.cpp
  ${TILTKIT_ROOT}/jolt/joltpure.cpp)
tiltkit_fuzz_target(fuzz_jolt SOURCES
  ${TILTKIT_ROOT}/tests/native/jolt_fuzz.cpp
  ${TILTKIT_ROOT}/jolt/joltpure.cpp)
