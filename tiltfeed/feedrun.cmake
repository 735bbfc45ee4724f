# Feedrun.exe: the runtime started by every Tiltfeed shortcut.
tiltkit_program(Feedrun GUI DESC "Среда выполнения Tiltfeed"
  SOURCES feedrun.cpp feedtick.cpp tiltengine.cpp orient.cpp feedsys.cpp feedrun.rc
  LIBS tiltfeed_store tiltkit_common ole32 user32 advapi32)
