/*
 * The display query of Feedrun, called through one table so that a test can
 * show the runtime a turned screen: Wine's display cannot be turned. The
 * table holds the real function.
 */
#ifndef TILTFEED_FEEDSYS_H
#define TILTFEED_FEEDSYS_H

#include <windows.h>

typedef struct FEEDSYSTEM {
    BOOL (WINAPI *pfnEnumDisplaySettingsA)(LPCSTR, DWORD, DEVMODEA *);
} FEEDSYSTEM;

extern FEEDSYSTEM g_FeedSystem;

#endif
