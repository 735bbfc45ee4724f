# Feedcfg.dll: the Tiltfeed page of the setting console with the
# application store.
tiltkit_library(Feedcfg DEF Feedcfg.def
  DESC "Страница Tiltfeed для консоли настройки"
  SOURCES feedcfg.cpp feededit.cpp feedlist.cpp feedstore.cpp feedname.cpp feedcfg.rc
  LIBS tiltfeed_shortcut tiltfeed_store tiltkit_common comctl32 comdlg32 shell32 shlwapi ole32 uuid gdi32 user32 advapi32)
