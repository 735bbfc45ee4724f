# Feedrun.exe: the runtime started by every Tiltfeed shortcut.
tiltkit_program(Feedrun GUI DESC "Среда выполнения Tiltfeed"
  SOURCES feedrun.cpp feeditem.cpp feedtick.cpp tiltengine.cpp feedcmd.cpp feedrun.rc
  LIBS tiltkit_extras tiltkit_common ole32 user32 advapi32)
