# Tiltfeed: the tilt-to-input arithmetic, the item's comforts and the
# runtime's text handling.
tiltkit_native_test(native_tiltfeed SOURCES
  ${TILTKIT_ROOT}/tests/native/tiltfeed_test.cpp
  ${TILTKIT_ROOT}/tests/native/tiltfeed_comfort_test.cpp
  ${TILTKIT_ROOT}/tiltfeed/tiltengine.cpp
  ${TILTKIT_ROOT}/tiltfeed/comfort.cpp
  ${TILTKIT_ROOT}/tiltfeed/feedcmd.cpp)
tiltkit_fuzz_target(fuzz_tiltfeed_engine SOURCES
  ${TILTKIT_ROOT}/tests/native/tiltfeed_engine_fuzz.cpp
  ${TILTKIT_ROOT}/tiltfeed/tiltengine.cpp)
tiltkit_fuzz_target(fuzz_tiltfeed_cmdline SOURCES
  ${TILTKIT_ROOT}/tests/native/tiltfeed_cmdline_fuzz.cpp
  ${TILTKIT_ROOT}/tiltfeed/feedcmd.cpp)
