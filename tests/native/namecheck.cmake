# The settings pages' toolkit without Win32: the file-name character check
# under a double-byte code page, the open-file filter and the number fields.
tiltkit_native_test(native_namecheck SOURCES
  ${TILTKIT_ROOT}/tests/native/namecheck_test.cpp
  ${TILTKIT_ROOT}/tests/native/pagetext_test.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp
  ${TILTKIT_ROOT}/common/pagetext.cpp)
tiltkit_fuzz_target(fuzz_namecheck SOURCES
  ${TILTKIT_ROOT}/tests/native/namecheck_fuzz.cpp
  ${TILTKIT_ROOT}/common/namecheck.cpp
  ${TILTKIT_ROOT}/common/pagetext.cpp
  ${TILTKIT_ROOT}/jolt/joltcfgpure.cpp)
tiltkit_fuzz_target(fuzz_page_number SOURCES
  ${TILTKIT_ROOT}/tests/native/pagetext_fuzz.cpp
  ${TILTKIT_ROOT}/common/pagetext.cpp)
