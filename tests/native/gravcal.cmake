# Calibration measurement: means, zero-base words, range and stillness tests.
tiltkit_native_test(native_gravcal SOURCES
  ${TILTKIT_ROOT}/tests/native/gravcal_test.cpp
  ${TILTKIT_ROOT}/calibration/measurement.cpp)
