# The resident benchmark: the soak verdict, the process list and the GDI
# handle table it reads under Wine.
tiltkit_native_test(native_resident SOURCES
  ${TILTKIT_ROOT}/tests/native/resident_test.cpp
  ${TILTKIT_ROOT}/bench/resident/residentcalc.cpp)
tiltkit_fuzz_target(fuzz_resident_processlist SOURCES
  ${TILTKIT_ROOT}/tests/native/resident_fuzz.cpp
  ${TILTKIT_ROOT}/bench/resident/residentcalc.cpp)
