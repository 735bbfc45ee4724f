# Setup support: the Programs path split, bounded joins, the launcher-folder
# rule, and the installer include made from the defaults table.
tiltkit_native_test(native_setup SOURCES
  ${TILTKIT_ROOT}/tests/native/setup_test.cpp
  ${TILTKIT_ROOT}/setup/provisiopure.cpp
  ${TILTKIT_ROOT}/setup/nsisgen.cpp)
tiltkit_fuzz_target(fuzz_setup SOURCES
  ${TILTKIT_ROOT}/tests/native/setup_fuzz.cpp
  ${TILTKIT_ROOT}/setup/provisiopure.cpp
  ${TILTKIT_ROOT}/setup/nsisgen.cpp)
