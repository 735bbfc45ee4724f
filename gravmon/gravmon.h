/*
 * Exports of the accelerometer access library. Callers load Gravmon.dll by
 * the path in HKLM "SOFTWARE\Zelvar\Tiltkit\Gravmon" "PATH" and bind these by
 * name; the typedefs are the shapes they bind.
 */
#ifndef GRAVMON_GRAVMON_H
#define GRAVMON_GRAVMON_H

#include <windows.h>

typedef LONG (WINAPI *PFN_GETACCELERATION)(float *pfX, float *pfY, HWND hwnd);
typedef LONG (WINAPI *PFN_GETANGLE)(float *pfX, float *pfY, HWND hwnd);
typedef LONG (WINAPI *PFN_GETIMMEDIATE)(WORD *pwX, WORD *pwY);
typedef LONG (WINAPI *PFN_GETZEROBASE)(WORD *pwLevelX, WORD *pwLevelY, WORD *pwSideX, WORD *pwForwardY);
typedef LONG (WINAPI *PFN_SETZEROBASE)(LONG lLevelX, LONG lLevelY, LONG lSideX, LONG lForwardY);
typedef LONG (WINAPI *PFN_MONOPOLIZE)(HWND hwnd);
typedef LONG (WINAPI *PFN_UNMONOPOLIZE)(HWND hwnd);

#endif
