# Launcher-menu plug-in: the menu item record and the path of Lockwatch.exe
# beside the host program.
tiltkit_native_test(native_quadlock SOURCES quadlock_test.cpp ${TILTKIT_ROOT}/motionlock/quadmenu.cpp)
tiltkit_fuzz_target(fuzz_quadlock_path SOURCES quadlock_fuzz.cpp ${TILTKIT_ROOT}/motionlock/quadmenu.cpp)
