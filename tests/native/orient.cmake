# The screen's orientation: the tilt turned into the screen's frame before the
# engine, and the automatic rotation's decision over sampled angles.
tiltkit_native_test(native_orient SOURCES
  ${TILTKIT_ROOT}/tests/native/orient_test.cpp
  ${TILTKIT_ROOT}/tests/native/autorotate_test.cpp
  ${TILTKIT_ROOT}/tiltfeed/orient.cpp
  ${TILTKIT_ROOT}/tiltfeed/tiltengine.cpp
  ${TILTKIT_ROOT}/jolt/autorotate.cpp)
