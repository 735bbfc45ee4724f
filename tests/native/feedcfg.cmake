# Tiltfeed page and store: names, shortcut paths, copy names, blanks, the
# target's file name and the character check of the name and path fields.
tiltkit_native_test(native_feedcfg SOURCES
  ${TILTKIT_ROOT}/tests/native/feedcfg_test.cpp
  ${TILTKIT_ROOT}/tiltfeed/feedname.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp)
tiltkit_fuzz_target(fuzz_feedcfg SOURCES
  ${TILTKIT_ROOT}/tests/native/feedcfg_fuzz.cpp
  ${TILTKIT_ROOT}/tiltfeed/feedname.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp)
