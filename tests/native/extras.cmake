# The opt-in guards and comforts: dead zone and re-centring, the quiet time,
# the movement threshold, and the page's number fields.
tiltkit_native_test(native_extras SOURCES
  ${TILTKIT_ROOT}/tests/native/extras_test.cpp
  ${TILTKIT_ROOT}/extras/extrapure.cpp
  ${TILTKIT_ROOT}/tiltfeed/tiltengine.cpp
  ${TILTKIT_ROOT}/motionlock/alarmcalc.cpp)
tiltkit_fuzz_target(fuzz_extras_number SOURCES
  ${TILTKIT_ROOT}/tests/native/extras_fuzz.cpp
  ${TILTKIT_ROOT}/extras/extrapure.cpp)
