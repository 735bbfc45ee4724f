# The address of a help topic inside its compiled file, refused when it does not fit.
tiltkit_native_test(native_helpaddr SOURCES
  ${TILTKIT_ROOT}/tests/native/helpaddr_test.cpp
  ${TILTKIT_ROOT}/common/helpaddr.cpp)
