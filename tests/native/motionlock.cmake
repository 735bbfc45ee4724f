# Motion security: the alarm outputs' arithmetic, register block and flag
# bits, the sound path, the reading comparison and the movement threshold.
tiltkit_native_test(native_motionlock SOURCES motionlock_test.cpp ${TILTKIT_ROOT}/motionlock/alarmcalc.cpp)
tiltkit_fuzz_target(fuzz_motionlock_soundpath SOURCES motionlock_fuzz.cpp ${TILTKIT_ROOT}/motionlock/alarmcalc.cpp)
