# Setting console: the key-name test, key numbers, entry order and the
# command line that opens the sheet at a page.
tiltkit_native_test(native_console SOURCES
  ${TILTKIT_ROOT}/tests/native/console_test.cpp
  ${TILTKIT_ROOT}/console/desklogic.cpp)
tiltkit_fuzz_target(fuzz_console SOURCES
  ${TILTKIT_ROOT}/tests/native/console_fuzz.cpp
  ${TILTKIT_ROOT}/console/desklogic.cpp)
