# The screen's orientation: the tilt turned into the screen's frame before the
# engine.
tiltkit_native_test(native_orient SOURCES
  ${TILTKIT_ROOT}/tests/native/orient_test.cpp
  ${TILTKIT_ROOT}/tiltfeed/orient.cpp
  ${TILTKIT_ROOT}/tiltfeed/tiltengine.cpp)
