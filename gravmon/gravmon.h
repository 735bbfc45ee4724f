/*
 * The accelerometer access library as its clients see it: the result codes,
 * the manager window and its messages, and the shapes of the seven exports.
 * Callers load Gravmon.dll by the path in HKLM "SOFTWARE\Zelvar\Tiltkit\Gravmon"
 * "PATH" and bind the exports by name (common/gravbind.h does both).
 */
#ifndef GRAVMON_GRAVMON_H
#define GRAVMON_GRAVMON_H

#include <windows.h>

/* Result codes of the exports: signed 32-bit, 0 success. */
#define GRAVMON_OK             0
#define GRAVMON_E_ACCESS      (-1)
#define GRAVMON_E_ARGUMENT    (-2)
#define GRAVMON_E_WINDOW      (-3)
#define GRAVMON_E_UNAVAILABLE (-4)
#define GRAVMON_E_MONOPOLY    (-5)  /* another window holds the monopoly */
#define GRAVMON_E_INACTIVE    (-6)
#define GRAVMON_E_ZEROBASE    (-7)  /* the zero base is not valid */

/* The manager's window and the messages it sends or answers. */
#define GRAVMON_WINDOWCLASS   "GravmonWindowClass"
#define GRAVMON_WINDOWNAME    "GravmonWindowName"

#define GRAVMON_MSG_NOTIFYEVENT   "GravmonNotifyEvent"
#define GRAVMON_MSG_CONFIGCHANGED "GravmonConfigChanged"
#define GRAVMON_MSG_UPDATERAWDATA "GravmonUpdateRawData"

/* wParam 1 takes the readings for the window in lParam, 0 gives them back;
 * the manager answers 1 when it did. */
#define WM_GRAVMON_OVERRIDEMONOPOLIZE (WM_APP + 0x200)

/* Export names, bound with GetProcAddress. */
#define GRAVMON_EXPORT_GETACCELERATION "GetAcceleration"
#define GRAVMON_EXPORT_GETANGLE        "GetAngle"
#define GRAVMON_EXPORT_GETIMMEDIATE    "GetImmediate"
#define GRAVMON_EXPORT_GETZEROBASE     "GetZeroBase"
#define GRAVMON_EXPORT_SETZEROBASE     "SetZeroBase"
#define GRAVMON_EXPORT_MONOPOLIZE      "Monopolize"
#define GRAVMON_EXPORT_UNMONOPOLIZE    "Unmonopolize"

typedef LONG (WINAPI *PFN_GETACCELERATION)(float *pfX, float *pfY, HWND hwnd);
typedef LONG (WINAPI *PFN_GETANGLE)(float *pfX, float *pfY, HWND hwnd);
typedef LONG (WINAPI *PFN_GETIMMEDIATE)(WORD *pwX, WORD *pwY);
typedef LONG (WINAPI *PFN_GETZEROBASE)(WORD *pwLevelX, WORD *pwLevelY, WORD *pwSideX, WORD *pwForwardY);
typedef LONG (WINAPI *PFN_SETZEROBASE)(LONG lLevelX, LONG lLevelY, LONG lSideX, LONG lForwardY);
typedef LONG (WINAPI *PFN_MONOPOLIZE)(HWND hwnd);
typedef LONG (WINAPI *PFN_UNMONOPOLIZE)(HWND hwnd);

#endif
