# The manager stand-in: its command and scenario language and the sensor model.
tiltkit_native_test(native_gravmgr SOURCES
  ${TILTKIT_ROOT}/tests/native/gravmgr_test.cpp
  ${TILTKIT_ROOT}/standins/gravmgr/gravmgr_model.cpp)
tiltkit_fuzz_target(fuzz_gravmgr SOURCES
  ${TILTKIT_ROOT}/tests/native/gravmgr_fuzz.cpp
  ${TILTKIT_ROOT}/standins/gravmgr/gravmgr_model.cpp)
