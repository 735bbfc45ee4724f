/* The screen's orientation as the display reports it, for the programs that
 * follow a turned screen. */
#ifndef TILTKIT_DISPLAY_H
#define TILTKIT_DISPLAY_H

#include <windows.h>

/* EnumDisplaySettingsA, or a stand-in for it. */
typedef BOOL (WINAPI *PFN_ENUMDISPLAYSETTINGSA)(LPCSTR, DWORD, DEVMODEA *);

/* The current orientation of the primary display (DMDO_*), read through
 * pfnEnum; DMDO_DEFAULT when it cannot be read. */
DWORD ReadDisplayOrientation(PFN_ENUMDISPLAYSETTINGSA pfnEnum);

#endif
